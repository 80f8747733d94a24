// Any bytes as the embedded music, looped through the mixer the way the game
// plays its music: once as they are, once with the page checksums mended.
#include <algorithm>
#include <vector>

#include "fuzz/checksums.h"
#include "fuzz/sound_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PlayFuzzedSound("fuzz/music.ogg", data, size, SOUND_LOOP);
    std::vector<unsigned char> mended(data, data + size);
    MendOggChecksums(mended);
    if (!std::equal(mended.begin(), mended.end(), data)) {
        PlayFuzzedSound("fuzz/music.ogg", mended.data(), mended.size(), SOUND_LOOP);
    }
    return 0;
}

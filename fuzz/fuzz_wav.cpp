// Any bytes as an embedded sound effect, played once through the mixer.
#include "fuzz/sound_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PlayFuzzedSound("fuzz/effect.wav", data, size, 0);
    return 0;
}

// Writes the game's sound effects into sfx/ and its music into music/ under the folder given
// on the command line. The output is the same, byte for byte, on every run.
#include <cstdio>
#include <filesystem>
#include <string>

#include "music.h"
#include "ogg_encoder.h"
#include "sound_effects.h"
#include "wav_writer.h"

namespace {

// Fixed so that the Ogg file does not change from one run to the next.
constexpr int kMusicSerial = 0x51F0C0DE;
constexpr float kMusicQuality = 0.3f;

bool Report(bool ok, const std::string& path) {
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s REPO_ROOT\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(root / "sfx", error);
    std::filesystem::create_directories(root / "music", error);

    bool ok = true;
    auto wav = [&](const char* name, const sfx::Signal& s, int rate, int bits) {
        const std::string path = (root / "sfx" / name).string();
        ok = Report(sfx::WriteWav(path, s, rate, bits), path) && ok;
    };
    wav("Fire.wav", sfx::MakeFire(), sfx::kFireRate, 16);
    wav("AlienExplosion.wav", sfx::MakeAlienExplosion(), sfx::kAlienExplosionRate, 16);
    wav("ShipExplosion.wav", sfx::MakeShipExplosion(), sfx::kShipExplosionRate, 8);
    wav("Life.wav", sfx::MakeLife(), sfx::kLifeRate, 8);

    const std::string musicPath = (root / "music" / "thefly.ogg").string();
    const sfx::Stereo music = sfx::ComposeMusic();
    ok = Report(sfx::WriteOggVorbis(musicPath, music, sfx::kMusicRate, kMusicQuality, kMusicSerial,
                                    "The Fly"),
                musicPath) &&
         ok;
    return ok ? 0 : 1;
}

// A long soak of the whole program on the headless backend: a random player
// moves, fires, pauses, ends games with Escape, types names, quits and starts
// the program again, on the virtual clock. Object counts must stay bounded,
// the memory in use flat, every quit must save a whole table, and the
// sanitizers of the test build must find nothing.
//
// QUORVEX_SOAK_SECONDS sets the game time played (90 s unless set).
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "playfield/alien.h"
#include "playfield/ship.h"
#include "presentation/starfield.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/startup.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"
#include "tests/scratch_folder.h"

#if defined(__SANITIZE_ADDRESS__)
// From AddressSanitizer's runtime; g++ ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

size_t BytesInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// The most memory this process ever had resident, in kB.
long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

uint64_t SoakMillis() {
    const char* seconds = std::getenv("QUORVEX_SOAK_SECONDS");
    return (seconds != nullptr ? std::strtoull(seconds, nullptr, 10) : 90) * 1000;
}

// Plays at random, frame by frame. Every press is let go again after a
// random hold, as a person's would be.
class RandomPlayer {
public:
    explicit RandomPlayer(uint32_t seed) : random_(seed) {}

    uint32_t quitAt = 0;  // from this clock reading on, heads for the exit
    int games = 0;
    int pauses = 0;
    int namesTyped = 0;

    void OnFrame(HeadlessBackend& b) {
        const uint32_t now = b.Millis();
        const bool leaving = now >= quitAt;
        switch (gameState) {
            case STATE_TITLE:
                if (leaving) {
                    Tap(b, KEY_ESCAPE);
                } else if (Chance(60)) {
                    Tap(b, KEY_SPACE);
                    ++games;
                } else if (Chance(500)) {
                    Tap(b, KEY_M);
                }
                break;
            case STATE_PLAYING:
                if (paused != 0) {
                    if (Chance(80)) {
                        const int keys[] = {KEY_P, KEY_SPACE, KEY_ESCAPE};
                        Tap(b, keys[Between(0, 2)]);
                    }
                } else if (leaving || Chance(40000)) {
                    Tap(b, KEY_ESCAPE);
                } else {
                    Play(b);
                }
                break;
            case STATE_GAMEOVER:
                if (Chance(150)) {
                    Tap(b, KEY_SPACE);
                }
                break;
            case STATE_ENTERNAME:
                if (leaving || Chance(40)) {
                    b.Type(13);
                    ++namesTyped;
                } else if (Chance(4)) {
                    const std::string typed = "abzABZ0189. -&!?~";
                    const int c = Chance(8) ? 8 : typed[Between(0, typed.size() - 1)];
                    b.Type(c);
                }
                break;
        }
    }

private:
    std::mt19937 random_;

    bool Chance(int oneIn) { return Between(1, oneIn) == 1; }
    int Between(int low, size_t high) {
        return std::uniform_int_distribution<int>(low, static_cast<int>(high))(random_);
    }
    void Tap(HeadlessBackend& b, int key) {
        b.TapAt(b.Millis(), key, static_cast<uint32_t>(Between(5, 250)));
    }

    void Play(HeadlessBackend& b) {
        const uint32_t now = b.Millis();
        for (int key : {KEY_LEFT, KEY_RIGHT, KEY_Z, KEY_X, KEY_SPACE}) {
            if (Chance(25)) {
                b.TapAt(now, key, static_cast<uint32_t>(Between(5, 900)));
            }
        }
        if (Chance(3000)) {
            b.TapAt(now, KEY_P, static_cast<uint32_t>(Between(5, 700)));
            ++pauses;
        } else if (Chance(4000)) {
            b.TapAt(now, KEY_LALT, static_cast<uint32_t>(Between(5, 300)));
            ++pauses;
        }
    }
};

// Every line ends with CR LF, twenty of them, and the scores go down.
void ExpectWholeTable(const std::string& file) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < file.size()) {
        size_t end = file.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "a line without CR LF at byte " << at;
        lines.push_back(file.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 20u);
    for (size_t row = 1; row < 10; ++row) {
        EXPECT_LE(ToInt(lines[2 * row]), ToInt(lines[2 * row - 2])) << "row " << row;
    }
}

class Soak : public ScratchFolderTest {
protected:
    void TearDown() override {
        ScratchFolderTest::TearDown();
        ResetGameGlobals();
    }
};

TEST_F(Soak, RandomPlayStaysBoundedAndFlatAndEveryQuitSavesAWholeTable) {
    const uint64_t target = SoakMillis();
    std::mt19937 sessions(99);
    RandomPlayer player(12345);
    uint64_t played = 0;
    int sessionCount = 0;
    size_t peakBullets = 0, peakBombs = 0, peakExplosions = 0, peakSounds = 0;
    // The most memory in use in each stretch of ten seconds of play.
    std::vector<size_t> memory;
    while (played < target) {
        if (sessionCount % 3 == 0) {
            // A table of low scores now and then, so that games enter it
            // and names get typed.
            std::ofstream low("scores", std::ios::binary);
            for (int row = 0; row < 10; ++row) {
                low << 10 - row << "\r\nLOW\r\n";
            }
        }
        PrepareForWholeProgram();
        HeadlessBackend backend;
        InstallBackend(&backend);
        backend.recordDrawing = false;
        // Mostly the introduction is skipped, now and then it runs through.
        if (sessions() % 8 != 0) {
            backend.TapAt(100 + sessions() % 3000, KEY_SPACE);
        }
        const uint64_t length = std::min<uint64_t>(60000 + sessions() % 420000, target - played);
        player.quitAt = static_cast<uint32_t>(length);
        backend.onFlip = [&](HeadlessBackend& b) {
            if (musicEffect == nullptr) {
                return;  // still loading
            }
            player.OnFrame(b);
            ASSERT_LE(alienList == nullptr ? 0 : alienList->Count(), 48u);
            ASSERT_EQ(starList->Count(), 150u);
            peakBullets = std::max(peakBullets, BulletCount());
            peakBombs = std::max(peakBombs, BombCount());
            peakExplosions = std::max(peakExplosions, ExplosionCount());
            peakSounds = std::max(peakSounds, SoundCount());
            const size_t stretch = static_cast<size_t>((played + b.Millis()) / 10000);
            if (memory.size() <= stretch) {
                memory.resize(stretch + 1, 0);
            }
            memory[stretch] = std::max(memory[stretch], BytesInUse());
        };
        int status = -1;
        try {
            RunQuorvex();
        } catch (const ProgramExit& exit) {
            status = exit.status;
        }
        ASSERT_EQ(status, 0) << "session " << sessionCount;
        ExpectWholeTable(ReadWholeFile("scores"));
        played += backend.Millis();
        ++sessionCount;
    }
    PrepareForWholeProgram();

    // Bullets follow the fire rate, bombs and explosions the wave; none
    // piles up.
    EXPECT_LE(peakBullets, 8u);
    EXPECT_LE(peakBombs, 60u);
    EXPECT_LE(peakExplosions, 60u);
    EXPECT_LE(peakSounds, 40u);
    EXPECT_GT(player.games, 0);

    // Flat: the second half of the play never holds much more than the first.
    memory.erase(std::remove(memory.begin(), memory.end(), 0u), memory.end());
    ASSERT_GE(memory.size(), 4u);
    const size_t half = memory.size() / 2;
    const size_t early = *std::max_element(memory.begin(), memory.begin() + half);
    const size_t late = *std::max_element(memory.begin() + half, memory.end());
    EXPECT_LE(late, early + 1024 * 1024) << "memory in use grew from " << early << " to " << late;

    std::printf(
        "soak: %.1f min of game time in %d sessions, %d games, %d pauses, %d names; peak "
        "bullets %zu, bombs %zu, explosions %zu, sounds %zu; memory in use %.1f MB early, "
        "%.1f MB late; peak resident %.1f MB\n",
        played / 60000.0, sessionCount, player.games, player.pauses, player.namesTyped, peakBullets,
        peakBombs, peakExplosions, peakSounds, early / 1048576.0, late / 1048576.0,
        PeakResidentKb() / 1024.0);
}

}  // namespace

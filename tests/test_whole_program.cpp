// The whole program on the headless backend: start-up in its order, the
// fatal errors, and complete games played by a scripted player.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include "playfield/alien.h"
#include "playfield/ship.h"
#include "shell/embedded_files.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"
#include "tests/scratch_folder.h"

namespace {

class WholeProgram : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        NewBackend();
    }
    void TearDown() override {
        ScratchFolderTest::TearDown();
        RegisterEmbeddedFiles();  // undo any damage a test registered
        ResetGameGlobals();
    }
    void NewBackend() {
        PrepareForWholeProgram();
        backend = std::make_unique<HeadlessBackend>();
        InstallBackend(backend.get());
    }
    // Runs the program to its end; the exit status, or -1 after a fatal error.
    int Run() {
        try {
            RunQuorvex();
        } catch (const ProgramExit& exit) {
            return exit.status;
        } catch (const FatalError& error) {
            fatalMessage = error.what();
            return -1;
        }
    }
    static std::string ScoreFile() { return ReadWholeFile("scores"); }

    std::unique_ptr<HeadlessBackend> backend;
    std::string fatalMessage;
};

TEST_F(WholeProgram, StartsInOrderShowsTheTitleWithMusicAndQuitsSaving) {
    backend->PressAt(1000, KEY_SPACE);  // skips the introduction
    backend->ReleaseAt(1040, KEY_SPACE);
    backend->TapAt(4000, KEY_ESCAPE);
    bool musicOnFirstTitle = false;
    int titleFrames = 0;
    backend->onFlip = [&](HeadlessBackend& b) {
        bool title = !CallsOf(b.calls, imgTitle).empty();
        if (title && titleFrames++ == 0) {
            musicOnFirstTitle = musicEffect != nullptr && ChannelPlaying(musicEffect->channel);
        }
        b.calls.clear();
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(backend->title, "Quorvex");
    EXPECT_EQ(backend->opened.width, 1024);
    EXPECT_EQ(backend->opened.height, 768);
    EXPECT_EQ(backend->opened.depth, 32);
    EXPECT_EQ(backend->opened.rate, 75);
    EXPECT_TRUE(backend->mouseHidden);
    EXPECT_TRUE(musicOnFirstTitle);
    EXPECT_GT(titleFrames, 100);
    EXPECT_EQ(gameState, STATE_TITLE);  // Space during loading did not start a game
    EXPECT_EQ(sndMusic, nullptr);       // released at the end
    std::string expected;
    for (int i = 0; i < 10; ++i) {
        expected += std::to_string(100000 - 10000 * i) + "\r\nTELMORAX\r\n";
    }
    EXPECT_EQ(ScoreFile(), expected);
}

TEST_F(WholeProgram, OpensTheDisplayBeforeLoadingAndShowsTheLoadingScreenFirst) {
    backend->TapAt(500, KEY_ESCAPE);  // ends the introduction
    backend->TapAt(2000, KEY_ESCAPE);
    EXPECT_EQ(Run(), 0);
    std::vector<DrawCall::Kind> kinds;
    for (const DrawCall& call : backend->calls) {
        kinds.push_back(call.kind);
    }
    ASSERT_GE(kinds.size(), 7u);
    EXPECT_EQ(kinds[0], DrawCall::SET_TITLE);
    EXPECT_EQ(kinds[1], DrawCall::OPEN_DISPLAY);
    EXPECT_EQ(kinds[2], DrawCall::HIDE_MOUSE);
    EXPECT_EQ(kinds[3], DrawCall::CLEAR);
    EXPECT_EQ(backend->calls[4].name, "incbin::gfx/logo_lge.png");
    EXPECT_EQ(backend->calls[5].kind, DrawCall::TEXT);
    EXPECT_EQ(backend->calls[6].name, "v1.31");
    EXPECT_EQ(backend->calls[6].left, 1024 - 5 * 8);
    EXPECT_EQ(backend->calls[7].kind, DrawCall::FLIP);
    EXPECT_EQ(backend->calls[7].sync, -1);
}

TEST_F(WholeProgram, DisplayWithout16BitsIsRefused) {
    backend->modes = {{1024, 768, 8, 60}, {640, 480, 32, 60}};
    EXPECT_EQ(Run(), -1);
    EXPECT_EQ(fatalMessage,
              "This game requires a graphics card that supports at least 16 bit graphics!");
    EXPECT_FALSE(backend->displayOpen);
}

TEST_F(WholeProgram, OpensAt24BitsWhenThatIsTheDeepestOffered) {
    backend->modes = {{1024, 768, 16, 60}, {1024, 768, 24, 85}, {1024, 768, 24, 70}};
    backend->TapAt(500, KEY_ESCAPE);
    backend->TapAt(2000, KEY_ESCAPE);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(backend->opened.depth, 24);
    EXPECT_EQ(backend->opened.rate, 70);
}

TEST_F(WholeProgram, AMissingPictureStopsStartUpOnlyAfterEveryPictureWasTried) {
    static const unsigned char damaged[] = {0x89, 'P', 'N', 'G', 0, 0};
    // The first loading screen is shown before the other pictures load.
    backend->onFlip = [](HeadlessBackend&) { IncbinRegister("gfx/bomb.png", damaged, 6); };
    EXPECT_EQ(Run(), -1);
    EXPECT_EQ(fatalMessage, "One or more graphics files missing!");
    EXPECT_EQ(imgBomb, nullptr);
    EXPECT_NE(imgSpace, nullptr);  // the last one was still loaded
    EXPECT_NE(imgLoadTitle, nullptr);
}

TEST_F(WholeProgram, AMissingSoundStopsStartUp) {
    static const unsigned char damaged[] = {'R', 'I', 'F', 'F', 0, 0};
    backend->onFlip = [](HeadlessBackend&) { IncbinRegister("sfx/Life.wav", damaged, 6); };
    backend->TapAt(500, KEY_ESCAPE);
    EXPECT_EQ(Run(), -1);
    EXPECT_EQ(fatalMessage, "Failed to load sound files!");
}

TEST_F(WholeProgram, MusicThatIsNotWholeOggVorbisStopsStartUp) {
    // The music is checked whole at load even though it is decoded only as
    // it plays: garbage, a cut-off copy and a copy with one damaged byte.
    RegisterEmbeddedFiles();
    EmbeddedBytes real = IncbinOpen("incbin::music/thefly.ogg");
    ASSERT_NE(real.data, nullptr);
    static std::vector<unsigned char> music;
    music.assign(real.data, real.data + real.length);
    static const unsigned char garbage[] = {'O', 'g', 'g', 'S', 1, 2, 3, 4, 5, 6, 7, 8};
    struct Case {
        const unsigned char* bytes;
        size_t length;
        size_t damageAt;  // 0: none
    };
    for (Case c : {Case{garbage, sizeof garbage, 0}, Case{music.data(), music.size() / 2, 0},
                   Case{music.data(), music.size(), music.size() / 3}}) {
        music.assign(real.data, real.data + real.length);
        if (c.damageAt != 0) {
            music[c.damageAt] ^= 0x5A;
        }
        NewBackend();
        fatalMessage.clear();
        static Case current;
        current = c;
        backend->onFlip = [](HeadlessBackend&) {
            IncbinRegister("music/thefly.ogg", current.bytes, current.length);
        };
        backend->TapAt(500, KEY_ESCAPE);
        EXPECT_EQ(Run(), -1) << c.length;
        EXPECT_EQ(fatalMessage, "Failed to load sound files!") << c.length;
    }
}

TEST_F(WholeProgram, AWindowCloseRequestQuitsLikeEscapeAndSaves) {
    backend->TapAt(500, KEY_ESCAPE);
    int frames = 0;
    backend->onFlip = [&](HeadlessBackend& b) {
        if (++frames == 300) {
            b.RequestClose();
        }
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(ScoreFile().empty());
}

TEST_F(WholeProgram, StartUpsAtDifferentClockReadingsBuildDifferentFirstWaves) {
    struct AlienLook {
        int32_t frame, animTimer, animDir;
        bool operator==(const AlienLook& o) const {
            return frame == o.frame && animTimer == o.animTimer && animDir == o.animDir;
        }
    };
    auto firstWave = [&](uint32_t clock) {
        NewBackend();
        backend->recordDrawing = false;
        backend->clockLimitMicros = 60ull * 1000 * 1000;
        backend->SetClock(clock);
        backend->TapAt(clock + 500, KEY_SPACE);   // skips the introduction
        backend->TapAt(clock + 3000, KEY_SPACE);  // starts a game
        std::vector<AlienLook> looks;
        backend->onFlip = [&](HeadlessBackend& b) {
            if (gameState == STATE_PLAYING && looks.empty()) {
                alienList->ForEach([&](TAlien* alien) {
                    looks.push_back(AlienLook{alien->frame, alien->animTimer, alien->animDir});
                });
                b.RequestClose();
            }
        };
        EXPECT_EQ(Run(), 0);
        std::remove("scores");
        return looks;
    };
    // A freshly booted machine, and one whose clock is about to wrap.
    std::vector<AlienLook> early = firstWave(20000);
    std::vector<AlienLook> late = firstWave(0xFFFFF000u);
    ASSERT_EQ(early.size(), 48u);
    ASSERT_EQ(late.size(), 48u);
    EXPECT_FALSE(early == late);
}

// A window close or a signal ends the program within moments in every
// phase, saving the table like a quit from the title screen does.
TEST_F(WholeProgram, ACloseRequestInAnyPhaseQuitsAtOnceAndSaves) {
    using Keys = std::function<void(HeadlessBackend&)>;
    struct Phase {
        const char* name;
        Keys keys;
        uint32_t closeAt;  // 0: during the first cross-fade of the introduction
        int32_t endState;
        int32_t endPaused;
        std::string topRow;  // the first row of the saved table
    };
    Keys none = [](HeadlessBackend&) {};
    Keys toTitle = [](HeadlessBackend& b) { b.TapAt(500, KEY_ESCAPE); };
    Keys intoPlay = [toTitle](HeadlessBackend& b) {
        toTitle(b);
        b.TapAt(2000, KEY_SPACE);
    };
    Keys intoGameOver = [intoPlay](HeadlessBackend& b) {
        intoPlay(b);
        b.TapAt(3000, KEY_ESCAPE);  // a score of 0: enters the table below
    };
    const std::string oldRow = "-1\r\nOLD\r\n";
    const std::vector<Phase> phases = {
        {"introduction's hold", none, 1000, STATE_TITLE, 0, oldRow},
        {"introduction's fade", none, 0, STATE_TITLE, 0, oldRow},
        {"wait for Space's release",
         [toTitle](HeadlessBackend& b) {
             toTitle(b);
             b.PressAt(2000, KEY_SPACE);  // held until the end
         },
         3000, STATE_PLAYING, 0, oldRow},
        {"wait for P's release",
         [intoPlay](HeadlessBackend& b) {
             intoPlay(b);
             b.PressAt(3000, KEY_P);  // held until the end
         },
         4000, STATE_PLAYING, 1, oldRow},
        {"play", intoPlay, 4000, STATE_PLAYING, 0, oldRow},
        {"game over", intoGameOver, 4500, STATE_GAMEOVER, 0, oldRow},
        {"name entry",
         [intoGameOver](HeadlessBackend& b) {
             intoGameOver(b);
             b.TypeAt(8000, 'a');
             b.TypeAt(8100, 'b');
         },
         9000, STATE_ENTERNAME, 0, "0\r\nAB\r\n"},
    };
    for (const Phase& phase : phases) {
        NewBackend();
        backend->recordDrawing = false;
        backend->clockLimitMicros = 60ull * 1000 * 1000;  // a missed close fails fast
        std::ofstream table("scores", std::ios::binary);
        for (int i = 0; i < 10; ++i) {
            table << oldRow;
        }
        table.close();
        phase.keys(*backend);
        uint32_t closeAt = phase.closeAt;
        if (closeAt != 0) {
            backend->RequestCloseAt(closeAt);
        } else {
            backend->onFlip = [&closeAt](HeadlessBackend& b) {
                if (b.flips == 50) {  // the first flip showed the loading screen
                    closeAt = b.Millis();
                    b.RequestClose();
                }
            };
        }
        EXPECT_EQ(Run(), 0) << phase.name;
        EXPECT_GT(closeAt, 0u) << phase.name;
        EXPECT_LT(backend->Millis() - closeAt, 50u) << phase.name;
        EXPECT_EQ(gameState, phase.endState) << phase.name;
        EXPECT_EQ(paused, phase.endPaused) << phase.name;
        EXPECT_EQ(ScoreFile().rfind(phase.topRow + oldRow, 0), 0u) << phase.name;
        std::remove("scores");
    }
}

TEST_F(WholeProgram, KeysPressedDuringTheLoadingScreenDoNotReachTheFirstTitleScreen) {
    backend->clockLimitMicros = 60ull * 1000 * 1000;  // the quit below must work
    backend->TapAt(1000, KEY_M);
    // Escape ends the introduction; Space, pressed with it, is not asked
    // about then, and its press is left over.
    backend->TapAt(1500, KEY_ESCAPE);
    backend->TapAt(1500, KEY_SPACE);
    backend->TapAt(5000, KEY_ESCAPE);
    int frames = 0;
    int framesChanged = 0;
    backend->onFlip = [&](HeadlessBackend& b) {
        ++frames;
        if (gameState != STATE_TITLE || musicOn != 1) {
            ++framesChanged;
        }
        b.calls.clear();
    };
    EXPECT_EQ(Run(), 0);
    EXPECT_GT(frames, 200);
    EXPECT_EQ(framesChanged, 0);  // no game started, the music never toggled
}

// Whether a thread of this process sleeps in a blocking call.
bool ThreadSleeps(pid_t thread) {
    std::ifstream stat("/proc/self/task/" + std::to_string(thread) + "/stat");
    std::string line;
    std::getline(stat, line);
    size_t name = line.rfind(')');  // the state follows the name in brackets
    return name != std::string::npos && line.compare(name, 4, ") S ") == 0;
}

TEST_F(WholeProgram, QuittingWritesTheTableBeforeTheMusicStopsAndDrawsNoFurtherFrame) {
    // The new table goes to "scores.saving" first. Made a named pipe, it
    // holds the save until this test opens it for reading, so what the game
    // has done by then can be seen.
    ASSERT_EQ(mkfifo("scores.saving", 0600), 0);
    backend->TapAt(500, KEY_ESCAPE);  // ends the introduction
    const uint32_t quitAt = 3000;
    backend->TapAt(quitAt, KEY_ESCAPE);
    int framesAfterQuit = 0;
    backend->onFlip = [&](HeadlessBackend& b) {
        framesAfterQuit += b.Millis() >= quitAt ? 1 : 0;
        b.calls.clear();
    };
    const pid_t game = static_cast<pid_t>(syscall(SYS_gettid));
    std::atomic<bool> ended{false};
    bool held = false;
    bool musicPlayedDuringTheSave = false;
    std::string saved;
    std::thread reader([&] {
        // The game never sleeps on the headless backend until the save
        // waits for a reader.
        int sleeping = 0;
        while (!ended && sleeping < 10) {
            sleeping = ThreadSleeps(game) ? sleeping + 1 : 0;
            usleep(2000);
        }
        if (ended) {
            return;
        }
        held = true;
        musicPlayedDuringTheSave =
            sndMusic != nullptr && musicEffect != nullptr && ChannelPlaying(musicEffect->channel);
        int pipe = open("scores.saving", O_RDONLY);
        char buffer[256];
        ssize_t got;
        while ((got = read(pipe, buffer, sizeof(buffer))) > 0) {
            saved.append(buffer, static_cast<size_t>(got));
        }
        close(pipe);
    });
    int status = Run();
    ended = true;
    reader.join();
    std::remove("scores.saving");
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(held);
    EXPECT_TRUE(musicPlayedDuringTheSave);
    std::string expected;
    for (int i = 0; i < 10; ++i) {
        expected += std::to_string(100000 - 10000 * i) + "\r\nTELMORAX\r\n";
    }
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(sndMusic, nullptr);  // stopped and released afterwards
    EXPECT_EQ(framesAfterQuit, 0);
}

// A scripted player: starts a game, chases the aliens with the fire key
// tapped every frame, types a name for the high score, then quits.
struct ScriptedPlayer {
    int games = 0;
    bool nameTyped = false;
    int frame = 0;
    int32_t finalScore = -1;
    int32_t finalWave = 0;

    void OnFrame(HeadlessBackend& b) {
        ++frame;
        uint32_t now = b.Millis();
        switch (gameState) {
            case STATE_TITLE:
                if (games == 0 && frame % 20 == 0) {
                    b.TapAt(now, KEY_SPACE, 30);
                } else if (games > 0 && frame % 20 == 0) {
                    b.TapAt(now, KEY_ESCAPE);
                }
                break;
            case STATE_PLAYING:
                games = 1;
                Chase(b);
                break;
            case STATE_GAMEOVER:
                finalScore = player->score;
                finalWave = wave;
                b.Release(KEY_SPACE);
                b.Release(KEY_LEFT);
                b.Release(KEY_RIGHT);
                break;
            case STATE_ENTERNAME:
                if (!nameTyped) {
                    nameTyped = true;
                    for (int c : std::vector<int>{'b', 'o', 't', 13}) {
                        b.Type(c);
                    }
                }
                break;
        }
    }

    void Chase(HeadlessBackend& b) {
        int32_t target = player->x;
        int32_t lowest = -1;
        alienList->ForEach([&](TAlien* alien) {
            if (alien->x > 32 && alien->x < 992 && alien->y >= lowest) {
                lowest = alien->y;
                target = alien->x;
            }
        });
        if (target < player->x - 2) {
            b.Press(KEY_LEFT);
            b.Release(KEY_RIGHT);
        } else if (target > player->x + 2) {
            b.Press(KEY_RIGHT);
            b.Release(KEY_LEFT);
        } else {
            b.Release(KEY_LEFT);
            b.Release(KEY_RIGHT);
        }
        if (frame % 2 == 0) {
            b.Press(KEY_SPACE);
        } else {
            b.Release(KEY_SPACE);
        }
    }
};

TEST_F(WholeProgram, AScriptedGameIsPlayedThroughAndReplaysTheSame) {
    struct Outcome {
        int status;
        int32_t score;
        int32_t wave;
        std::string file;
    };
    auto play = [&]() {
        NewBackend();
        backend->recordDrawing = false;
        backend->TapAt(500, KEY_SPACE);  // skip the introduction
        std::ofstream table("scores", std::ios::binary);
        for (int i = 0; i < 10; ++i) {
            table << 1000 - 100 * i << "\r\nOLD\r\n";
        }
        table.close();
        ScriptedPlayer scripted;
        backend->onFlip = [&](HeadlessBackend& b) { scripted.OnFrame(b); };
        int status = Run();
        Outcome outcome{status, scripted.finalScore, scripted.finalWave, ScoreFile()};
        std::remove("scores");
        return outcome;
    };
    Outcome first = play();
    ASSERT_EQ(first.status, 0);
    EXPECT_GE(first.wave, 3);
    EXPECT_GT(first.score, 1000);
    // The new best score was typed in capitals into the top row, and the
    // old rows moved down one.
    std::string top = std::to_string(first.score) + "\r\nBOT\r\n1000\r\nOLD\r\n900\r\n";
    EXPECT_EQ(first.file.rfind(top, 0), 0u) << first.file;

    Outcome second = play();
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.score, first.score);
    EXPECT_EQ(second.wave, first.wave);
    EXPECT_EQ(second.file, first.file);
}

}  // namespace

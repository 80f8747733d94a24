// The whole program on the headless backend: start-up in its order, the
// fatal errors, and complete games played by a scripted player.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
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

namespace {

class WholeProgram : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvex-run-XXXXXX";
        folder = mkdtemp(pattern);
        ASSERT_EQ(getcwd(previous, sizeof(previous)), previous);
        ASSERT_EQ(chdir(folder.c_str()), 0);
        NewBackend();
    }
    void TearDown() override {
        std::remove("scores");
        ASSERT_EQ(chdir(previous), 0);
        rmdir(folder.c_str());
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
    static std::string ScoreFile() {
        std::ifstream in("scores", std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    std::unique_ptr<HeadlessBackend> backend;
    std::string fatalMessage;
    std::string folder;
    char previous[4096];
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

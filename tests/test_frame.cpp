// One frame of the game, read back from the draw record: what is drawn, in
// which order, where and in which colour, for every screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "presentation/font.h"
#include "presentation/frame.h"
#include "presentation/starfield.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/resources.h"
#include "tests/game_fixture.h"

namespace {

struct Colour {
    int r, g, b;
};
constexpr Colour WHITE{255, 255, 255};
constexpr Colour YELLOW{255, 255, 0};
constexpr Colour CYAN{0, 255, 255};
constexpr Colour MAGENTA{255, 0, 255};

bool HasColour(const DrawCall& call, Colour colour) {
    return call.state.r == colour.r && call.state.g == colour.g && call.state.b == colour.b;
}

// A text as the font drew it: glyphs in one row, each where the previous
// one's advance ended, in one colour.
struct TextRun {
    std::string text;
    float left = 0;
    float top = 0;
    DrawState state;
    size_t firstCall = 0;
};

std::vector<TextRun> TextRuns(const std::vector<DrawCall>& calls) {
    std::vector<TextRun> runs;
    float nextLeft = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
        const DrawCall& call = calls[i];
        if (call.kind != DrawCall::SPRITE || call.image != imgFont) {
            nextLeft = -1e9f;
            continue;
        }
        const bool continues =
            !runs.empty() && runs.back().firstCall + runs.back().text.size() == i &&
            call.left == nextLeft && call.top == runs.back().top &&
            call.state.r == runs.back().state.r && call.state.g == runs.back().state.g &&
            call.state.b == runs.back().state.b;
        if (!continues) {
            TextRun run;
            run.left = call.left;
            run.top = call.top;
            run.state = call.state;
            run.firstCall = i;
            runs.push_back(run);
        }
        runs.back().text += CHARSET[call.frame];
        nextLeft = call.left + static_cast<float>(fontWidths[static_cast<size_t>(call.frame)]);
    }
    return runs;
}

const TextRun* FindRun(const std::vector<TextRun>& runs, const std::string& text) {
    for (const TextRun& run : runs) {
        if (run.text == text) {
            return &run;
        }
    }
    return nullptr;
}

size_t IndexOf(const std::vector<DrawCall>& calls, const Image* image) {
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].kind == DrawCall::SPRITE && calls[i].image == image) {
            return i;
        }
    }
    return calls.size();
}

// The images of the sprite calls with runs of the same image folded into one.
std::vector<const Image*> ImageOrder(const std::vector<DrawCall>& calls) {
    std::vector<const Image*> order;
    for (const DrawCall& call : calls) {
        if (call.kind == DrawCall::SPRITE && (order.empty() || order.back() != call.image)) {
            order.push_back(call.image);
        }
    }
    return order;
}

class FrameTest : public GameFixture {
protected:
    std::vector<DrawCall> DrawOneFrame() {
        backend->calls.clear();
        DrawFrame();
        return backend->LastFrame();
    }

    // The drawing state the frame left behind, seen through one more draw.
    DrawState StateAfterFrame() {
        DrawImage(imgBullet, 0, 0, 0);
        return backend->calls.back().state;
    }

    void ExpectCentredRun(const std::vector<TextRun>& runs, const std::string& text, int32_t x,
                          float top, Colour colour) {
        const TextRun* run = FindRun(runs, text);
        ASSERT_NE(run, nullptr) << text;
        EXPECT_FLOAT_EQ(run->left, static_cast<float>(x - FontTextWidth(text) / 2)) << text;
        EXPECT_FLOAT_EQ(run->top, top) << text;
        EXPECT_EQ(run->state.r, colour.r) << text;
        EXPECT_EQ(run->state.g, colour.g) << text;
        EXPECT_EQ(run->state.b, colour.b) << text;
    }

    void ExpectRunAt(const std::vector<TextRun>& runs, const std::string& text, float left,
                     float top, Colour colour) {
        const TextRun* run = FindRun(runs, text);
        ASSERT_NE(run, nullptr) << text;
        EXPECT_FLOAT_EQ(run->left, left) << text;
        EXPECT_FLOAT_EQ(run->top, top) << text;
        EXPECT_EQ(run->state.r, colour.r) << text;
        EXPECT_EQ(run->state.g, colour.g) << text;
        EXPECT_EQ(run->state.b, colour.b) << text;
    }
};

const int32_t ALL_STATES[] = {STATE_TITLE, STATE_PLAYING, STATE_GAMEOVER, STATE_ENTERNAME};

TEST_F(FrameTest, BackgroundFirstAndSolidThenAlphaForEverythingElse) {
    for (int32_t state : ALL_STATES) {
        ResetGameGlobals();
        if (state == STATE_PLAYING || state == STATE_GAMEOVER) {
            StartPlaying();
        }
        gameState = state;
        entryRank = 0;
        TStar::CreateField();
        const std::vector<DrawCall> calls = DrawOneFrame();
        ASSERT_GE(calls.size(), 2u) << state;
        const DrawCall& background = calls.front();
        EXPECT_EQ(background.kind, DrawCall::SPRITE) << state;
        EXPECT_EQ(background.image, imgSpace) << state;
        EXPECT_EQ(background.frame, 0) << state;
        EXPECT_FLOAT_EQ(background.left, 0.0f) << state;
        EXPECT_FLOAT_EQ(background.top, 0.0f) << state;
        EXPECT_EQ(background.state.blend, BLEND_SOLID) << state;
        for (size_t i = 1; i + 1 < calls.size(); ++i) {
            EXPECT_EQ(calls[i].kind, DrawCall::SPRITE) << state << " call " << i;
            EXPECT_EQ(calls[i].state.blend, BLEND_ALPHA) << state << " call " << i;
            EXPECT_NE(calls[i].image, imgSpace) << state << " call " << i;
        }
    }
}

TEST_F(FrameTest, EveryFrameEndsWhiteOpaqueAlphaBlendedAndShown) {
    for (int32_t state : ALL_STATES) {
        for (int32_t pause : {0, 1}) {
            ResetGameGlobals();
            if (state == STATE_PLAYING || state == STATE_GAMEOVER) {
                StartPlaying();
                player->invulnerable = 150;  // the ship draws half transparent
                TExplosion::Create(300, 300, 1);
            }
            gameState = state;
            paused = state == STATE_PLAYING ? pause : 0;
            entryRank = 0;
            TStar::CreateField();
            backend->flips = 0;
            const std::vector<DrawCall> calls = DrawOneFrame();
            ASSERT_FALSE(calls.empty());
            EXPECT_EQ(backend->flips, 1) << state;
            EXPECT_EQ(calls.back().kind, DrawCall::FLIP) << state;
            EXPECT_EQ(calls.back().sync, -1) << state;
            EXPECT_EQ(calls.size(), backend->calls.size()) << "one flip per frame, at the end";
            const DrawState after = StateAfterFrame();
            EXPECT_EQ(after.blend, BLEND_ALPHA) << state;
            EXPECT_EQ(after.r, 255) << state;
            EXPECT_EQ(after.g, 255) << state;
            EXPECT_EQ(after.b, 255) << state;
            EXPECT_FLOAT_EQ(after.alpha, 1.0f) << state;
        }
    }
}

TEST_F(FrameTest, StarsComeRightAfterTheBackground) {
    TStar::CreateField();
    for (int32_t state : ALL_STATES) {
        if (state == STATE_PLAYING) {
            StartPlaying();
        }
        gameState = state;
        entryRank = 0;
        const std::vector<DrawCall> calls = DrawOneFrame();
        ASSERT_GT(calls.size(), 152u);
        EXPECT_EQ(calls[0].image, imgSpace);
        for (size_t i = 1; i <= 150; ++i) {
            EXPECT_EQ(calls[i].image, imgStars) << state << " call " << i;
        }
        EXPECT_NE(calls[151].image, imgStars) << state;
        EXPECT_EQ(CallsOf(calls, imgStars).size(), 150u) << state;
    }
}

TEST_F(FrameTest, UnknownStateShowsOnlyBackgroundAndStars) {
    TStar::CreateField();
    gameState = 7;
    const std::vector<DrawCall> calls = DrawOneFrame();
    ASSERT_EQ(calls.size(), 152u);
    EXPECT_EQ(calls[0].image, imgSpace);
    EXPECT_EQ(CallsOf(calls, imgStars).size(), 150u);
    EXPECT_EQ(calls.back().kind, DrawCall::FLIP);
}

TEST_F(FrameTest, TitleScreenLayout) {
    gameState = STATE_TITLE;
    const std::vector<DrawCall> calls = DrawOneFrame();

    const std::vector<DrawCall> banner = CallsOf(calls, imgTitle);
    ASSERT_EQ(banner.size(), 1u);
    // 486x49, centred on (512, 64).
    EXPECT_FLOAT_EQ(banner[0].left, 269.0f);
    EXPECT_FLOAT_EQ(banner[0].top, 39.5f);
    EXPECT_TRUE(HasColour(banner[0], WHITE));
    EXPECT_FLOAT_EQ(banner[0].state.alpha, 1.0f);

    const std::vector<DrawCall> logo = CallsOf(calls, imgLogoSmall);
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_FLOAT_EQ(logo[0].left, 880.0f);
    EXPECT_FLOAT_EQ(logo[0].top, 667.0f);
    EXPECT_FLOAT_EQ(logo[0].left + static_cast<float>(ImageWidth(imgLogoSmall)), 1008.0f);
    EXPECT_FLOAT_EQ(logo[0].top + static_cast<float>(ImageHeight(imgLogoSmall)), 752.0f);
    EXPECT_TRUE(HasColour(logo[0], WHITE));

    const std::vector<TextRun> runs = TextRuns(calls);
    ExpectRunAt(runs, CREDIT_PROGRAMMING, 16.0f, 688.0f, CYAN);
    ExpectRunAt(runs, CREDIT_MUSIC, 16.0f, 728.0f, CYAN);
    ExpectCentredRun(runs, "USE Z & X OR CURSOR KEYS TO MOVE", 512, 524.0f, MAGENTA);
    ExpectCentredRun(runs, "PRESS SPACE TO FIRE AND START GAME", 512, 554.0f, MAGENTA);
    ExpectCentredRun(runs, "PRESS M TO TOGGLE MUSIC", 512, 584.0f, MAGENTA);
    EXPECT_EQ(FindRun(runs, "PLEASE ENTER YOUR NAME IN THE TABLE"), nullptr);

    // The table: ten yellow rows, the top one's number at 327.
    const TextRun* first = FindRun(runs, "1");
    ASSERT_NE(first, nullptr);
    EXPECT_FLOAT_EQ(first->left, 327.0f);
    EXPECT_FLOAT_EQ(first->top, 160.0f);
    size_t yellow = 0;
    for (const TextRun& run : runs) {
        if (run.state.r == 255 && run.state.g == 255 && run.state.b == 0) {
            ++yellow;
            EXPECT_GE(run.top, 160.0f);
            EXPECT_LE(run.top, 448.0f);
        }
    }
    EXPECT_EQ(yellow, 30u);  // number, score and name of ten rows

    // No status line on the title screen.
    EXPECT_TRUE(CallsOf(calls, imgDigits).empty());
    EXPECT_TRUE(CallsOf(calls, imgLife).empty());
    EXPECT_EQ(FindRun(runs, "SCORE"), nullptr);
}

TEST_F(FrameTest, TitleScreenDrawsInOrder) {
    gameState = STATE_TITLE;
    const std::vector<DrawCall> calls = DrawOneFrame();
    const std::vector<TextRun> runs = TextRuns(calls);
    const TextRun* credit = FindRun(runs, CREDIT_PROGRAMMING);
    const TextRun* music = FindRun(runs, CREDIT_MUSIC);
    const TextRun* table = FindRun(runs, "1");
    const TextRun* instructions = FindRun(runs, "USE Z & X OR CURSOR KEYS TO MOVE");
    ASSERT_TRUE(credit && music && table && instructions);
    const size_t banner = IndexOf(calls, imgTitle);
    const size_t logo = IndexOf(calls, imgLogoSmall);
    EXPECT_LT(banner, logo);
    EXPECT_LT(logo, credit->firstCall);
    EXPECT_LT(credit->firstCall, music->firstCall);
    EXPECT_LT(music->firstCall, table->firstCall);
    EXPECT_LT(table->firstCall, instructions->firstCall);
}

TEST_F(FrameTest, CreditLinesUseTheFontAndFitLeftOfTheLogo) {
    for (const char* line : {CREDIT_PROGRAMMING, CREDIT_MUSIC}) {
        const std::string text = line;
        EXPECT_FALSE(text.empty());
        for (char c : text) {
            EXPECT_NE(std::string(CHARSET).find(c), std::string::npos) << text << ": " << c;
        }
        // Starting at 16, with some room to spare before the logo at 880.
        EXPECT_LT(16 + FontTextWidth(text), 880 - 16) << text;
    }
}

TEST_F(FrameTest, NameEntryScreenShowsWhiteCongratulations) {
    gameState = STATE_ENTERNAME;
    entryRank = 2;
    hiNames[2] = "NEWB";
    const std::vector<DrawCall> calls = DrawOneFrame();
    const std::vector<TextRun> runs = TextRuns(calls);
    ExpectCentredRun(runs, "WELL DONE - YOU HAVE A HIGH SCORE", 512, 524.0f, WHITE);
    ExpectCentredRun(runs, "PLEASE ENTER YOUR NAME IN THE TABLE", 512, 554.0f, WHITE);
    EXPECT_EQ(FindRun(runs, "USE Z & X OR CURSOR KEYS TO MOVE"), nullptr);
    EXPECT_EQ(FindRun(runs, "PRESS M TO TOGGLE MUSIC"), nullptr);
    for (const TextRun& run : runs) {
        EXPECT_NE(run.top, 584.0f) << run.text;
        EXPECT_FALSE(run.state.r == 255 && run.state.g == 0 && run.state.b == 255) << run.text;
    }
    // The name being typed is its row's text, yellow like the rest.
    ExpectRunAt(runs, "NEWB", 478.0f, 224.0f, YELLOW);
    // Same screen otherwise.
    EXPECT_EQ(CallsOf(calls, imgTitle).size(), 1u);
    EXPECT_EQ(CallsOf(calls, imgLogoSmall).size(), 1u);
    ExpectRunAt(runs, CREDIT_MUSIC, 16.0f, 728.0f, CYAN);
}

TEST_F(FrameTest, PlayScreenDrawsBackToFront) {
    TStar::CreateField();
    StartPlaying();
    TBomb::Create(500, 300);
    TExplosion::Create(400, 400, 1);
    TBullet::Create(600, 500);
    const std::vector<DrawCall> calls = DrawOneFrame();
    const std::vector<const Image*> expected = {
        imgSpace,  imgStars, imgBomb, imgAlien, imgExplosion, imgBullet, imgShip,
        imgFont,  // SCORE, HI-SCORE
        imgDigits, imgLife,
        imgFont,  // WAVE 1
    };
    EXPECT_EQ(ImageOrder(calls), expected);
    EXPECT_EQ(CallsOf(calls, imgAlien).size(), 48u);
    EXPECT_EQ(CallsOf(calls, imgShip).size(), 1u);
    // No title-screen elements.
    EXPECT_TRUE(CallsOf(calls, imgTitle).empty());
    EXPECT_TRUE(CallsOf(calls, imgLogoSmall).empty());
}

TEST_F(FrameTest, ShipShownOnlyWithLivesAndNoRespawnWait) {
    struct Case {
        int32_t lives;
        int32_t respawnDelay;
        bool drawn;
    };
    const Case cases[] = {
        {3, 0, true},  {1, 0, true},  {5, 0, true},   {3, 75, false},
        {2, 1, false}, {0, 0, false}, {0, 30, false},
    };
    for (const Case& c : cases) {
        ResetGameGlobals();
        StartPlaying();
        player->lives = c.lives;
        player->respawnDelay = c.respawnDelay;
        const std::vector<DrawCall> calls = DrawOneFrame();
        EXPECT_EQ(CallsOf(calls, imgShip).size(), c.drawn ? 1u : 0u)
            << "lives " << c.lives << " respawnDelay " << c.respawnDelay;
    }
}

TEST_F(FrameTest, StatusLineLabelsNumbersAndWave) {
    StartPlaying();
    player->score = 1234;
    hiScores[0] = 98765;
    wave = 7;
    const std::vector<DrawCall> calls = DrawOneFrame();
    const std::vector<TextRun> runs = TextRuns(calls);
    ExpectCentredRun(runs, "SCORE", 128, 0.0f, WHITE);
    ExpectCentredRun(runs, "HI-SCORE", 896, 0.0f, WHITE);
    ExpectRunAt(runs, "WAVE 7", 0.0f, 752.0f, WHITE);

    const std::vector<DrawCall> digits = CallsOf(calls, imgDigits);
    ASSERT_EQ(digits.size(), 16u);
    const int scoreCells[] = {0, 0, 0, 0, 1, 2, 3, 4};
    const int bestCells[] = {0, 0, 0, 9, 8, 7, 6, 5};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(digits[i].frame, scoreCells[i]) << i;
        EXPECT_FLOAT_EQ(digits[i].left, 32.0f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(digits[i].top, 16.0f);
        EXPECT_EQ(digits[8 + i].frame, bestCells[i]) << i;
        EXPECT_FLOAT_EQ(digits[8 + i].left, 768.0f + 32.0f * static_cast<float>(i));
        EXPECT_FLOAT_EQ(digits[8 + i].top, 16.0f);
        EXPECT_TRUE(HasColour(digits[i], WHITE));
        EXPECT_TRUE(HasColour(digits[8 + i], WHITE));
    }
    // No table on the play screen.
    for (const TextRun& run : runs) {
        EXPECT_FALSE(run.state.r == 255 && run.state.g == 255 && run.state.b == 0) << run.text;
    }
}

TEST_F(FrameTest, BestScoreIsTheTablesTopRowNotTheRunningScore) {
    StartPlaying();
    player->score = 250000;
    hiScores[0] = 100000;
    const std::vector<DrawCall> digits = CallsOf(DrawOneFrame(), imgDigits);
    ASSERT_EQ(digits.size(), 16u);
    const int scoreCells[] = {0, 0, 2, 5, 0, 0, 0, 0};
    const int bestCells[] = {0, 0, 1, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(digits[i].frame, scoreCells[i]) << i;
        EXPECT_EQ(digits[8 + i].frame, bestCells[i]) << i;
    }
}

TEST_F(FrameTest, SpareLifeIconsAlongTheBottomFromTheRight) {
    struct Case {
        int32_t lives;
        std::vector<float> lefts;
    };
    const Case cases[] = {
        {0, {}}, {1, {}}, {2, {992}}, {3, {992, 960}}, {5, {992, 960, 928, 896}},
    };
    for (const Case& c : cases) {
        ResetGameGlobals();
        StartPlaying();
        player->lives = c.lives;
        const std::vector<DrawCall> icons = CallsOf(DrawOneFrame(), imgLife);
        ASSERT_EQ(icons.size(), c.lefts.size()) << "lives " << c.lives;
        for (size_t i = 0; i < icons.size(); ++i) {
            EXPECT_FLOAT_EQ(icons[i].left, c.lefts[i]) << "lives " << c.lives;
            EXPECT_FLOAT_EQ(icons[i].top, 752.0f);
            EXPECT_EQ(icons[i].frame, 0);
            EXPECT_TRUE(HasColour(icons[i], WHITE));
        }
    }
}

TEST_F(FrameTest, WaveNumberAtTheBottomLeft) {
    for (int32_t w : {1, 25, 100, 12345}) {
        ResetGameGlobals();
        StartPlaying();
        wave = w;
        const std::vector<TextRun> runs = TextRuns(DrawOneFrame());
        ExpectRunAt(runs, "WAVE " + std::to_string(w), 0.0f, 752.0f, WHITE);
    }
}

TEST_F(FrameTest, GameOverInYellowOverTheCentre) {
    StartPlaying();
    gameState = STATE_GAMEOVER;
    gameOverCountdown = 700;
    player->lives = 0;
    paused = 1;  // only the playing screen shows the pause
    const std::vector<DrawCall> calls = DrawOneFrame();
    const std::vector<TextRun> runs = TextRuns(calls);
    // 130 wide, so it starts at 447; 8 above the centre line.
    ExpectRunAt(runs, "GAME OVER", 447.0f, 376.0f, YELLOW);
    EXPECT_EQ(FindRun(runs, "PAUSED"), nullptr);
    EXPECT_TRUE(CallsOf(calls, imgShip).empty());
    EXPECT_TRUE(CallsOf(calls, imgLife).empty());
    // The play field and status line go on showing.
    EXPECT_EQ(CallsOf(calls, imgAlien).size(), 48u);
    ExpectCentredRun(runs, "SCORE", 128, 0.0f, WHITE);
    ExpectRunAt(runs, "WAVE 1", 0.0f, 752.0f, WHITE);
    // The overlay is the last thing drawn.
    EXPECT_EQ(runs.back().text, "GAME OVER");
}

TEST_F(FrameTest, PausedInWhiteOverTheCentre) {
    StartPlaying();
    paused = 1;
    const std::vector<DrawCall> calls = DrawOneFrame();
    const std::vector<TextRun> runs = TextRuns(calls);
    // 88 wide, so it starts at 468.
    ExpectRunAt(runs, "PAUSED", 468.0f, 376.0f, WHITE);
    EXPECT_EQ(runs.back().text, "PAUSED");
    EXPECT_EQ(FindRun(runs, "GAME OVER"), nullptr);
    EXPECT_EQ(CallsOf(calls, imgShip).size(), 1u);
    EXPECT_EQ(CallsOf(calls, imgLife).size(), 2u);
}

TEST_F(FrameTest, NoOverlayWhilePlaying) {
    StartPlaying();
    const std::vector<TextRun> runs = TextRuns(DrawOneFrame());
    EXPECT_EQ(FindRun(runs, "PAUSED"), nullptr);
    EXPECT_EQ(FindRun(runs, "GAME OVER"), nullptr);
    for (const TextRun& run : runs) {
        EXPECT_NE(run.top, 376.0f) << run.text;
    }
}

}  // namespace

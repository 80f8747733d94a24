// The starfield: 150 stars in three layers, falling and coming back at the
// top, drawn behind everything and held still by the pause.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "presentation/starfield.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/main_loop.h"
#include "shell/resources.h"
#include "tests/game_fixture.h"

namespace {

struct StarState {
    int32_t x;
    float y;
    int32_t speed;
};

std::vector<StarState> Snapshot() {
    std::vector<StarState> stars;
    starList->ForEach([&stars](TStar* star) { stars.push_back({star->x, star->y, star->speed}); });
    return stars;
}

// Where a star that was at y falls to in one tick, before any wrap.
float Fallen(float y, int32_t speed) {
    return static_cast<float>(static_cast<double>(y) + speed / 10.0);
}

class StarTest : public GameFixture {
protected:
    // A list holding only the given stars, so every Rand call is theirs.
    TStar* AddStar(int32_t x, float y, int32_t speed) {
        if (starList == nullptr) {
            starList = new ObjectList<TStar>();
        }
        auto star = std::make_unique<TStar>();
        star->x = x;
        star->y = y;
        star->speed = speed;
        return starList->Append(std::move(star));
    }

    // Checks that every star moved by exactly one tick since 'before'.
    void ExpectOneTickLater(const std::vector<StarState>& before, const char* what) {
        const std::vector<StarState> after = Snapshot();
        ASSERT_EQ(after.size(), before.size()) << what;
        for (size_t i = 0; i < before.size(); ++i) {
            const float fallen = Fallen(before[i].y, before[i].speed);
            EXPECT_EQ(after[i].speed, before[i].speed) << what << " star " << i;
            if (fallen > 768.0f) {
                EXPECT_EQ(after[i].y, -8.0f) << what << " star " << i;
            } else {
                EXPECT_EQ(after[i].y, fallen) << what << " star " << i;
                EXPECT_EQ(after[i].x, before[i].x) << what << " star " << i;
            }
        }
    }
};

TEST_F(StarTest, FieldHasFiftyStarsOfEachSpeedInOrder) {
    ASSERT_EQ(starList, nullptr);
    TStar::CreateField();
    ASSERT_NE(starList, nullptr);
    const std::vector<StarState> stars = Snapshot();
    ASSERT_EQ(stars.size(), 150u);
    for (size_t i = 0; i < stars.size(); ++i) {
        EXPECT_EQ(stars[i].speed, static_cast<int32_t>(i / 50) + 1) << "star " << i;
        EXPECT_GE(stars[i].x, 0);
        EXPECT_LE(stars[i].x, 1024);
        EXPECT_GE(stars[i].y, 0.0f);
        EXPECT_LE(stars[i].y, 768.0f);
        EXPECT_EQ(stars[i].y, static_cast<float>(static_cast<int32_t>(stars[i].y)))
            << "starts on a whole pixel";
    }
}

TEST_F(StarTest, FieldTakesColumnThenRowFromTheGenerator) {
    SeedRnd(4242);
    TStar::CreateField();
    const std::vector<StarState> stars = Snapshot();
    SeedRnd(4242);
    for (size_t i = 0; i < stars.size(); ++i) {
        const int32_t x = Rand(0, 1024);
        const int32_t y = Rand(0, 768);
        EXPECT_EQ(stars[i].x, x) << "star " << i;
        EXPECT_EQ(stars[i].y, static_cast<float>(y)) << "star " << i;
    }
}

TEST_F(StarTest, FieldSpreadsOverTheWholeScreen) {
    TStar::CreateField();
    const std::vector<StarState> stars = Snapshot();
    int left = 0, right = 0, top = 0, bottom = 0;
    for (const StarState& star : stars) {
        (star.x < 512 ? left : right)++;
        (star.y < 384.0f ? top : bottom)++;
    }
    // 150 uniform draws: each half holds a fair share.
    EXPECT_GT(left, 40);
    EXPECT_GT(right, 40);
    EXPECT_GT(top, 40);
    EXPECT_GT(bottom, 40);
}

TEST_F(StarTest, EachSpeedFallsItsTenthsOfAPixel) {
    struct Case {
        float start;
        int32_t speed;
    };
    const Case cases[] = {
        {0.0f, 1}, {0.0f, 2}, {0.0f, 3}, {100.0f, 1}, {-8.0f, 3}, {767.5f, 2}, {400.25f, 3},
    };
    for (const Case& c : cases) {
        ResetGameGlobals();
        TStar* star = AddStar(321, c.start, c.speed);
        TStar::UpdateAll();
        EXPECT_EQ(star->y, Fallen(c.start, c.speed)) << c.start << " speed " << c.speed;
        EXPECT_NEAR(star->y, c.start + 0.1f * static_cast<float>(c.speed), 1e-4f);
        EXPECT_EQ(star->x, 321);
        EXPECT_EQ(star->speed, c.speed);
    }
}

TEST_F(StarTest, ManyTicksAccumulateThroughDouble) {
    TStar* star = AddStar(10, 0.0f, 1);
    float expected = 0.0f;
    for (int tick = 0; tick < 2500; ++tick) {
        TStar::UpdateAll();
        expected = static_cast<float>(static_cast<double>(expected) + 0.1);
        ASSERT_EQ(star->y, expected) << "tick " << tick;
    }
    // Ten seconds at 25 pixels a second.
    EXPECT_NEAR(star->y, 250.0f, 0.05f);
}

TEST_F(StarTest, AStarExactlyOnTheBottomLineStays) {
    const float start = 767.9f;
    ASSERT_EQ(Fallen(start, 1), 768.0f);
    TStar* star = AddStar(500, start, 1);
    TStar::UpdateAll();
    EXPECT_EQ(star->y, 768.0f);
    EXPECT_EQ(star->x, 500);

    // The next tick takes it past the line: back above the top, new column.
    SeedRnd(99);
    TStar::UpdateAll();
    SeedRnd(99);
    const int32_t column = Rand(0, 1024);
    EXPECT_EQ(star->y, -8.0f);
    EXPECT_EQ(star->x, column);
    EXPECT_EQ(star->speed, 1);
}

TEST_F(StarTest, StarsPastTheBottomComeBackAboveTheTop) {
    struct Case {
        float start;
        int32_t speed;
        bool wraps;
    };
    const Case cases[] = {
        {768.0f, 1, true},  {768.0f, 3, true},  {767.95f, 1, true}, {767.8f, 2, false},
        {767.7f, 3, false}, {767.75f, 3, true}, {0.0f, 3, false},
    };
    for (const Case& c : cases) {
        ResetGameGlobals();
        TStar* star = AddStar(700, c.start, c.speed);
        ASSERT_EQ(Fallen(c.start, c.speed) > 768.0f, c.wraps) << c.start << " speed " << c.speed;
        TStar::UpdateAll();
        if (c.wraps) {
            EXPECT_EQ(star->y, -8.0f) << c.start;
        } else {
            EXPECT_EQ(star->y, Fallen(c.start, c.speed)) << c.start;
            EXPECT_EQ(star->x, 700) << c.start;
        }
        EXPECT_EQ(star->speed, c.speed);
    }
}

TEST_F(StarTest, NewColumnsCoverBothEdges) {
    // Many wraps: the new column is drawn from 0 to 1024, both included.
    TStar* star = AddStar(0, 768.0f, 3);
    bool sawZero = false, sawFull = false;
    for (int i = 0; i < 20000 && !(sawZero && sawFull); ++i) {
        star->y = 768.0f;
        TStar::UpdateAll();
        ASSERT_GE(star->x, 0);
        ASSERT_LE(star->x, 1024);
        sawZero = sawZero || star->x == 0;
        sawFull = sawFull || star->x == 1024;
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawFull);
}

TEST_F(StarTest, LayersNeverChangeAndStarsStayOnTheScreenBand) {
    TStar::CreateField();
    for (int tick = 0; tick < 12000; ++tick) {
        TStar::UpdateAll();
        if (tick % 500 != 0) {
            continue;
        }
        const std::vector<StarState> stars = Snapshot();
        ASSERT_EQ(stars.size(), 150u);
        for (size_t i = 0; i < stars.size(); ++i) {
            ASSERT_EQ(stars[i].speed, static_cast<int32_t>(i / 50) + 1) << "tick " << tick;
            ASSERT_GE(stars[i].y, -8.0f);
            ASSERT_LE(stars[i].y, 768.0f);
            ASSERT_GE(stars[i].x, 0);
            ASSERT_LE(stars[i].x, 1024);
        }
    }
}

TEST_F(StarTest, DrawsEachStarsLayerFrameAtItsPosition) {
    AddStar(0, 100.25f, 1);
    AddStar(1024, -8.0f, 2);
    AddStar(512, 767.5f, 3);
    SetColor(40, 50, 60);
    SetAlpha(0.5f);
    TStar::DrawAll();
    SetAlpha(1.0f);
    SetColor(255, 255, 255);

    const std::vector<DrawCall>& calls = backend->calls;
    ASSERT_EQ(calls.size(), 3u);
    const int frames[] = {0, 1, 2};
    const float centresX[] = {0.0f, 1024.0f, 512.0f};
    const float centresY[] = {100.25f, -8.0f, 767.5f};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(calls[i].image, imgStars);
        EXPECT_EQ(calls[i].frame, frames[i]);
        // 8x8 cells with the handle at the centre; y keeps its fraction.
        EXPECT_FLOAT_EQ(calls[i].left, centresX[i] - 4.0f);
        EXPECT_FLOAT_EQ(calls[i].top, centresY[i] - 4.0f);
        // The colour and alpha in force are used as they are.
        EXPECT_EQ(calls[i].state.r, 40);
        EXPECT_EQ(calls[i].state.g, 50);
        EXPECT_EQ(calls[i].state.b, 60);
        EXPECT_FLOAT_EQ(calls[i].state.alpha, 0.5f);
    }
}

TEST_F(StarTest, NothingHappensBeforeTheFieldExists) {
    ASSERT_EQ(starList, nullptr);
    TStar::UpdateAll();
    TStar::DrawAll();
    EXPECT_EQ(starList, nullptr);
    EXPECT_TRUE(backend->calls.empty());
}

TEST_F(StarTest, StarsStandStillWhilePaused) {
    StartPlaying();
    TStar::CreateField();
    paused = 1;
    const std::vector<StarState> before = Snapshot();
    bool quit = false;
    for (int tick = 0; tick < 50; ++tick) {
        RunTick(quit);
    }
    ASSERT_EQ(paused, 1);
    const std::vector<StarState> after = Snapshot();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].x, before[i].x) << "star " << i;
        EXPECT_EQ(after[i].y, before[i].y) << "star " << i;
    }
}

TEST_F(StarTest, StarsFallOneStepPerTickOnEveryOtherScreen) {
    struct Case {
        int32_t state;
        const char* name;
    };
    const Case cases[] = {
        {STATE_PLAYING, "playing"},
        {STATE_TITLE, "title"},
        {STATE_GAMEOVER, "game over"},
        {STATE_ENTERNAME, "name entry"},
    };
    for (const Case& c : cases) {
        ResetGameGlobals();
        StartPlaying();
        gameState = c.state;
        gameOverCountdown = c.state == STATE_GAMEOVER ? 700 : 0;
        entryRank = 0;
        TStar::CreateField();
        bool quit = false;
        for (int tick = 0; tick < 3; ++tick) {
            const std::vector<StarState> before = Snapshot();
            RunTick(quit);
            ASSERT_EQ(gameState, c.state) << c.name;
            ExpectOneTickLater(before, c.name);
        }
        EXPECT_FALSE(quit);
    }
}

}  // namespace

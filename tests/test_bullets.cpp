// Player bullets: creation, the climb, leaving the top, clearing and drawing.
#include <gtest/gtest.h>

#include <vector>

#include "platform/keyboard.h"
#include "platform/platform.h"
#include "playfield/alien.h"
#include "playfield/bullet.h"
#include "playfield/ship.h"
#include "shell/game_state.h"
#include "shell/main_loop.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"

namespace {

std::vector<int> Heights() {
    std::vector<int> heights;
    bulletList->ForEach([&](const TBullet* bullet) { heights.push_back(bullet->y); });
    return heights;
}

}  // namespace

using BulletTest = GameFixture;

TEST_F(BulletTest, BeforeTheFirstShotThereIsNoListAndNothingHappens) {
    TBullet::UpdateAll();
    TBullet::DrawAll();
    TBullet::ClearAll();
    EXPECT_EQ(bulletList, nullptr);
    EXPECT_TRUE(backend->calls.empty());
}

TEST_F(BulletTest, CreateAppendsAndPlaysTheFireSound) {
    TBullet::Create(100, 704);
    ASSERT_NE(bulletList, nullptr);
    ObjectList<TBullet>* list = bulletList;
    EXPECT_EQ(SoundCount(), 1u);
    TBullet::Create(200, 600);
    EXPECT_EQ(bulletList, list);  // made once, then kept
    EXPECT_EQ(SoundCount(), 2u);
    ASSERT_EQ(bulletList->Count(), 2u);
    EXPECT_EQ(bulletList->At(0)->x, 100);
    EXPECT_EQ(bulletList->At(0)->y, 704);
    EXPECT_EQ(bulletList->At(1)->x, 200);
    EXPECT_EQ(bulletList->At(1)->y, 600);
}

TEST_F(BulletTest, ABulletFiredInATickEndsItAt701) {
    StartPlaying();
    keyboard::Press(KEY_SPACE, false);
    player->x = 400;
    bool quit = false;
    RunTick(quit);
    ASSERT_NE(bulletList, nullptr);
    ASSERT_EQ(bulletList->Count(), 1u);
    EXPECT_EQ(bulletList->At(0)->x, 400);
    EXPECT_EQ(bulletList->At(0)->y, 701);
    RunTick(quit);
    EXPECT_EQ(bulletList->At(0)->y, 698);
}

TEST_F(BulletTest, EachTickABulletRisesThreePixels) {
    TBullet::Create(300, 704);
    for (int tick = 1; tick <= 50; ++tick) {
        TBullet::UpdateAll();
        ASSERT_EQ(bulletList->At(0)->y, 704 - 3 * tick);
        ASSERT_EQ(bulletList->At(0)->x, 300);
    }
}

TEST_F(BulletTest, AFreeBulletIsRemovedOnItsTwoHundredAndThirtySixthUpdate) {
    TBullet::Create(300, 704);
    int updates = 0;
    while (!bulletList->Empty() && updates < 1000) {
        TBullet::UpdateAll();
        ++updates;
    }
    EXPECT_EQ(updates, 236);
}

struct TopCase {
    int y;
    bool stays;
};

TEST_F(BulletTest, ABulletLeavesOnceItIsAboveMinusThree) {
    // After one update: 0 -> -3 stays, 1 -> -2 stays, -1 -> -4 goes.
    const TopCase cases[] = {{3, true}, {1, true}, {0, true}, {-1, false}, {-3, false}};
    for (const TopCase& c : cases) {
        SCOPED_TRACE(c.y);
        TBullet::Create(500, c.y);
        TBullet::UpdateAll();
        EXPECT_EQ(bulletList->Count(), c.stays ? 1u : 0u);
        TBullet::ClearAll();
    }
}

TEST_F(BulletTest, RemovingBulletsAtTheTopLeavesTheOthersMovingInOrder) {
    const int start[] = {-1, 100, 0, -2, 50, 2};
    for (int y : start) {
        TBullet::Create(10, y);
    }
    TBullet::UpdateAll();
    EXPECT_EQ(Heights(), (std::vector<int>{97, -3, 47, -1}));
    TBullet::UpdateAll();
    EXPECT_EQ(Heights(), (std::vector<int>{94, 44}));
}

TEST_F(BulletTest, ClearAllEmptiesTheListAndKeepsIt) {
    for (int i = 0; i < 4; ++i) {
        TBullet::Create(100 + 10 * i, 704);
    }
    ObjectList<TBullet>* list = bulletList;
    TBullet::ClearAll();
    EXPECT_EQ(bulletList, list);
    EXPECT_TRUE(bulletList->Empty());
    TBullet::Create(1, 2);
    EXPECT_EQ(bulletList->Count(), 1u);
}

TEST_F(BulletTest, DrawAllDrawsEveryBulletCentredInListOrder) {
    TBullet::Create(100, 704);
    TBullet::Create(300, 200);
    TBullet::Create(50, -3);
    backend->calls.clear();
    TBullet::DrawAll();
    ASSERT_EQ(backend->calls.size(), 3u);
    const float left[] = {96, 296, 46};
    const float top[] = {696, 192, -11};
    for (size_t i = 0; i < 3; ++i) {
        const DrawCall& call = backend->calls[i];
        EXPECT_EQ(call.kind, DrawCall::SPRITE);
        EXPECT_EQ(call.image, imgBullet);
        EXPECT_EQ(call.frame, 0);
        EXPECT_FLOAT_EQ(call.left, left[i]);
        EXPECT_FLOAT_EQ(call.top, top[i]);
        EXPECT_FLOAT_EQ(call.state.alpha, 1.0f);
    }
}

TEST_F(BulletTest, BulletsKeepFlyingThroughTheGameOverCountdown) {
    StartPlaying();
    TBullet::Create(700, 500);
    gameState = STATE_GAMEOVER;
    gameOverCountdown = GAMEOVER_TICKS;
    player->lives = 0;
    bool quit = false;
    RunTick(quit);
    ASSERT_EQ(bulletList->Count(), 1u);
    EXPECT_EQ(bulletList->At(0)->y, 497);
    for (int tick = 1; tick < GAMEOVER_TICKS && gameState == STATE_GAMEOVER; ++tick) {
        RunTick(quit);
    }
    EXPECT_NE(gameState, STATE_GAMEOVER);
    EXPECT_TRUE(bulletList->Empty());
}

// Explosions: nine fading frames of twelve ticks, drifting, then gone.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "playfield/explosion.h"
#include "shell/resources.h"
#include "tests/game_fixture.h"

using ExplosionTest = GameFixture;

TEST_F(ExplosionTest, BeforeTheFirstExplosionNothingHappensAndTheAlphaIsLeftAlone) {
    SetAlpha(0.3f);
    TExplosion::UpdateAll();
    TExplosion::DrawAll();
    TExplosion::ClearAll();
    EXPECT_EQ(explosionList, nullptr);
    EXPECT_TRUE(backend->calls.empty());
    DrawImage(imgBullet, 10, 10, 0);
    ASSERT_EQ(backend->calls.size(), 1u);
    EXPECT_FLOAT_EQ(backend->calls[0].state.alpha, 0.3f);
    SetAlpha(1.0f);
}

TEST_F(ExplosionTest, CreateStartsAtTheFirstFrame) {
    TExplosion::Create(100, 200, -1);
    ASSERT_NE(explosionList, nullptr);
    ObjectList<TExplosion>* list = explosionList;
    TExplosion::Create(300, 400, 0);
    EXPECT_EQ(explosionList, list);
    ASSERT_EQ(ExplosionCount(), 2u);
    const TExplosion* first = explosionList->At(0);
    EXPECT_EQ(first->x, 100);
    EXPECT_EQ(first->y, 200);
    EXPECT_EQ(first->dx, -1);
    EXPECT_EQ(first->frame, 0);
    EXPECT_EQ(first->frameTimer, 12);
    EXPECT_EQ(explosionList->At(1)->x, 300);
}

TEST_F(ExplosionTest, AnExplosionLives108UpdatesAndDriftsEveryTick) {
    for (int dx : {-1, 0, 1}) {
        SCOPED_TRACE(dx);
        TExplosion::ClearAll();
        TExplosion::Create(500, 300, dx);
        for (int update = 1; update <= 107; ++update) {
            TExplosion::UpdateAll();
            ASSERT_EQ(ExplosionCount(), 1u) << "update " << update;
            const TExplosion* e = explosionList->At(0);
            ASSERT_EQ(e->x, 500 + update * dx);
            ASSERT_EQ(e->y, 300);
            ASSERT_EQ(e->frame, update / 12);
            ASSERT_EQ(e->frameTimer, 12 - update % 12);
        }
        EXPECT_EQ(explosionList->At(0)->frame, 8);
        EXPECT_EQ(explosionList->At(0)->frameTimer, 1);
        TExplosion::UpdateAll();
        EXPECT_EQ(ExplosionCount(), 0u);
    }
}

TEST_F(ExplosionTest, ExplosionsOfDifferentAgesRunOutOneByOne) {
    TExplosion::Create(100, 100, 1);
    for (int i = 0; i < 50; ++i) {
        TExplosion::UpdateAll();
    }
    TExplosion::Create(200, 100, -1);
    for (int i = 0; i < 57; ++i) {
        TExplosion::UpdateAll();
    }
    ASSERT_EQ(ExplosionCount(), 2u);
    TExplosion::UpdateAll();  // the 108th of the first
    ASSERT_EQ(ExplosionCount(), 1u);
    EXPECT_EQ(explosionList->At(0)->x, 200 - 58);
    EXPECT_EQ(explosionList->At(0)->frame, 4);
}

TEST_F(ExplosionTest, EachFrameIsDrawnATenthFainterAndTheAlphaComesBack) {
    // One explosion of every age, each in its own frame.
    for (int frame = 0; frame < 9; ++frame) {
        TExplosion::Create(40 * frame + 40, 300, 0);
        explosionList->At(static_cast<size_t>(frame))->frame = frame;
    }
    TExplosion::DrawAll();
    DrawImage(imgBullet, 10, 10, 0);  // whatever is drawn next
    ASSERT_EQ(backend->calls.size(), 10u);
    for (int frame = 0; frame < 9; ++frame) {
        SCOPED_TRACE(frame);
        const DrawCall& call = backend->calls[static_cast<size_t>(frame)];
        EXPECT_EQ(call.image, imgExplosion);
        EXPECT_EQ(call.frame, frame);
        EXPECT_FLOAT_EQ(call.left, static_cast<float>(40 * frame + 40 - 16));
        EXPECT_FLOAT_EQ(call.top, 284.0f);
        EXPECT_NEAR(call.state.alpha, 1.0 - 0.1 * frame, 1e-6);
    }
    EXPECT_FLOAT_EQ(backend->calls[9].state.alpha, 1.0f);
}

TEST_F(ExplosionTest, AnAgeingExplosionShowsEachFrameForTwelveTicks) {
    TExplosion::Create(500, 300, 1);
    std::vector<int> framesDrawn;
    for (int update = 0; update < 108; ++update) {
        backend->calls.clear();
        TExplosion::DrawAll();
        ASSERT_EQ(backend->calls.size(), 1u);
        framesDrawn.push_back(backend->calls[0].frame);
        ASSERT_FLOAT_EQ(backend->calls[0].left, static_cast<float>(500 + update - 16));
        TExplosion::UpdateAll();
    }
    for (int update = 0; update < 108; ++update) {
        EXPECT_EQ(framesDrawn[static_cast<size_t>(update)], update / 12);
    }
    backend->calls.clear();
    TExplosion::DrawAll();
    EXPECT_TRUE(backend->calls.empty());  // frame 9 is never drawn
}

TEST_F(ExplosionTest, ClearAllEmptiesTheListAndKeepsIt) {
    TExplosion::Create(1, 2, 0);
    TExplosion::Create(3, 4, 1);
    ObjectList<TExplosion>* list = explosionList;
    TExplosion::ClearAll();
    EXPECT_EQ(explosionList, list);
    EXPECT_TRUE(explosionList->Empty());
}

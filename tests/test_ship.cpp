// The player's ship: keys, edges, the fire rhythm, being hit, coming back
// shielded, and how it is drawn.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "platform/keyboard.h"
#include "platform/platform.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "shell/game_state.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"

namespace {

void Hold(std::initializer_list<int> keys) {
    for (int key : keys) {
        keyboard::Press(key, false);
    }
}

void Let(std::initializer_list<int> keys) {
    for (int key : keys) {
        keyboard::Release(key);
    }
}

std::vector<DrawCall> ShipDraws(const std::vector<DrawCall>& calls) {
    std::vector<DrawCall> found;
    for (const DrawCall& call : calls) {
        if (call.kind == DrawCall::SPRITE && call.image == imgShip) {
            found.push_back(call);
        }
    }
    return found;
}

}  // namespace

class ShipTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        StartPlaying();
    }
};

TEST_F(ShipTest, ResetStartsAGameInTheMiddleOfItsRow) {
    player->x = 100;
    player->score = 4321;
    player->lives = 1;
    player->invulnerable = 50;
    player->respawnDelay = 20;
    fireCooldown = 33;
    player->Reset();
    EXPECT_EQ(player->x, 512);
    EXPECT_EQ(player->y, 720);
    EXPECT_EQ(player->score, 0);
    EXPECT_EQ(player->lives, 3);
    EXPECT_EQ(player->invulnerable, 0);
    EXPECT_EQ(player->respawnDelay, 0);
    EXPECT_EQ(fireCooldown, 33);  // the fire rhythm is not part of a new game
}

TEST_F(ShipTest, AFreshShipHoldsTheConstructedValues) {
    TShip fresh;
    EXPECT_EQ(fresh.x, 0);
    EXPECT_EQ(fresh.y, 0);
    EXPECT_EQ(fresh.score, 0);
    EXPECT_EQ(fresh.lives, 0);
    EXPECT_EQ(fresh.invulnerable, 0);
    EXPECT_EQ(fresh.respawnDelay, 0);
}

struct SteeringCase {
    const char* name;
    std::vector<int> keys;
    int step;
};

TEST_F(ShipTest, KeysSteerTheShip) {
    const SteeringCase cases[] = {
        {"nothing", {}, 0},
        {"Right", {KEY_RIGHT}, 2},
        {"X", {KEY_X}, 2},
        {"Left", {KEY_LEFT}, -2},
        {"Z", {KEY_Z}, -2},
        {"Right and X", {KEY_RIGHT, KEY_X}, 4},
        {"Left and Z", {KEY_LEFT, KEY_Z}, -4},
        {"Left and Right cancel", {KEY_LEFT, KEY_RIGHT}, 0},
        {"Z and X cancel", {KEY_Z, KEY_X}, 0},
        {"Right and Z cancel", {KEY_RIGHT, KEY_Z}, 0},
        {"all four", {KEY_LEFT, KEY_RIGHT, KEY_Z, KEY_X}, 0},
        {"Right, X and Left", {KEY_RIGHT, KEY_X, KEY_LEFT}, 2},
        {"Left, Z and X", {KEY_LEFT, KEY_Z, KEY_X}, -2},
    };
    for (const SteeringCase& c : cases) {
        SCOPED_TRACE(c.name);
        keyboard::Flush();
        for (int key : c.keys) {
            keyboard::Press(key, false);
        }
        player->x = 500;
        player->Update();
        EXPECT_EQ(player->x, 500 + c.step);
        player->Update();
        EXPECT_EQ(player->x, 500 + 2 * c.step);
        EXPECT_EQ(player->y, 720);
    }
}

struct EdgeCase {
    const char* name;
    int startX;
    std::vector<int> keys;
    int ticks;
    int endX;
};

TEST_F(ShipTest, TheShipStopsAtEitherEdge) {
    const EdgeCase cases[] = {
        {"left, one key", 40, {KEY_LEFT}, 10, 32},
        {"left, both keys from an odd step", 34, {KEY_LEFT, KEY_Z}, 1, 32},
        {"left, already there", 32, {KEY_Z}, 3, 32},
        {"right, one key", 980, {KEY_X}, 10, 992},
        {"right, both keys from an odd step", 990, {KEY_RIGHT, KEY_X}, 1, 992},
        {"right, long push", 512, {KEY_RIGHT, KEY_X}, 400, 992},
        {"left, long push", 512, {KEY_LEFT, KEY_Z}, 400, 32},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        keyboard::Flush();
        for (int key : c.keys) {
            keyboard::Press(key, false);
        }
        player->x = c.startX;
        for (int tick = 0; tick < c.ticks; ++tick) {
            player->Update();
            ASSERT_GE(player->x, 32);
            ASSERT_LE(player->x, 992);
        }
        EXPECT_EQ(player->x, c.endX);
    }
}

TEST_F(ShipTest, HeldSpaceFiresAtOnceThenEverySeventySixthTick) {
    Hold({KEY_SPACE});
    std::vector<int> firedOn;
    for (int tick = 1; tick <= 230; ++tick) {
        size_t before = BulletCount();
        player->Update();
        if (BulletCount() != before) {
            firedOn.push_back(tick);
        }
    }
    EXPECT_EQ(firedOn, (std::vector<int>{1, 77, 153, 229}));
    ASSERT_NE(bulletList, nullptr);
    bulletList->ForEach([](const TBullet* bullet) {
        EXPECT_EQ(bullet->x, 512);
        EXPECT_EQ(bullet->y, 704);
    });
}

TEST_F(ShipTest, LettingGoForOneTickReArmsTheFire) {
    Hold({KEY_SPACE});
    player->Update();  // fires
    for (int tick = 0; tick < 10; ++tick) {
        player->Update();
    }
    EXPECT_EQ(fireCooldown, 65);
    EXPECT_EQ(BulletCount(), 1u);

    Let({KEY_SPACE});
    player->Update();
    EXPECT_EQ(fireCooldown, 0);
    EXPECT_EQ(BulletCount(), 1u);

    Hold({KEY_SPACE});
    player->Update();
    EXPECT_EQ(BulletCount(), 2u);
    EXPECT_EQ(fireCooldown, 75);
}

TEST_F(ShipTest, TheBulletLeavesFromWhereTheShipHasJustMoved) {
    Hold({KEY_SPACE, KEY_RIGHT, KEY_X});
    player->x = 300;
    player->Update();
    ASSERT_EQ(BulletCount(), 1u);
    EXPECT_EQ(bulletList->At(0)->x, 304);
    EXPECT_EQ(bulletList->At(0)->y, 704);
}

TEST_F(ShipTest, WhileWaitingToComeBackNothingMovesAndTheCountersHold) {
    Hold({KEY_RIGHT, KEY_X, KEY_SPACE});
    player->x = 512;
    player->respawnDelay = 5;
    player->invulnerable = 375;
    fireCooldown = 40;
    for (int tick = 1; tick <= 5; ++tick) {
        player->Update();
        EXPECT_EQ(player->respawnDelay, 5 - tick);
        EXPECT_EQ(player->x, 512);
        EXPECT_EQ(player->invulnerable, 375);
        EXPECT_EQ(fireCooldown, 40);
    }
    EXPECT_EQ(BulletCount(), 0u);

    // Back in play: the countdown goes on from where it stood.
    player->Update();
    EXPECT_EQ(player->x, 516);
    EXPECT_EQ(fireCooldown, 39);
    EXPECT_EQ(player->invulnerable, 374);
    EXPECT_EQ(BulletCount(), 0u);
}

TEST_F(ShipTest, TheShieldCountsDownInPlayAndStopsAtZero) {
    player->invulnerable = 3;
    player->Update();
    EXPECT_EQ(player->invulnerable, 2);
    player->Update();
    player->Update();
    EXPECT_EQ(player->invulnerable, 0);
    player->Update();
    EXPECT_EQ(player->invulnerable, 0);
}

TEST_F(ShipTest, AHitWithLivesLeftExplodesAndComesBackShielded) {
    player->x = 300;
    size_t soundsBefore = SoundCount();
    player->Hit();
    EXPECT_EQ(player->lives, 2);
    EXPECT_EQ(player->x, 512);
    EXPECT_EQ(player->y, 720);
    EXPECT_EQ(player->respawnDelay, 75);
    EXPECT_EQ(player->invulnerable, 375);
    EXPECT_EQ(gameOverCountdown, 0);
    EXPECT_EQ(SoundCount(), soundsBefore + 1);

    ASSERT_EQ(ExplosionCount(), 3u);
    const int expectedX[] = {284, 300, 316};
    for (size_t i = 0; i < 3; ++i) {
        const TExplosion* explosion = explosionList->At(i);
        EXPECT_EQ(explosion->x, expectedX[i]);
        EXPECT_EQ(explosion->y, 720);
        EXPECT_EQ(explosion->dx, 0);
        EXPECT_EQ(explosion->frame, 0);
    }
}

TEST_F(ShipTest, TheShipReturnsAfterSeventyFiveTicks) {
    player->Hit();
    for (int tick = 0; tick < 74; ++tick) {
        player->Update();
    }
    EXPECT_EQ(player->respawnDelay, 1);
    player->Update();
    EXPECT_EQ(player->respawnDelay, 0);
    EXPECT_EQ(player->invulnerable, 375);
    player->Update();
    EXPECT_EQ(player->invulnerable, 374);
}

TEST_F(ShipTest, AHitOnTheLastLifeEndsTheGameWhereTheShipStood) {
    player->lives = 1;
    player->x = 300;
    player->invulnerable = 7;
    size_t soundsBefore = SoundCount();
    player->Hit();
    EXPECT_EQ(player->lives, 0);
    EXPECT_EQ(gameOverCountdown, 1);
    EXPECT_EQ(player->x, 300);
    EXPECT_EQ(player->respawnDelay, 0);
    EXPECT_EQ(player->invulnerable, 7);
    EXPECT_EQ(ExplosionCount(), 3u);
    EXPECT_EQ(SoundCount(), soundsBefore + 1);
}

TEST_F(ShipTest, HitIgnoresTheShield) {
    player->invulnerable = 200;
    player->Hit();
    EXPECT_EQ(player->lives, 2);
    EXPECT_EQ(player->invulnerable, 375);
}

struct AlphaCase {
    int invulnerable;
    float alpha;
};

TEST_F(ShipTest, DrawFadesTheShieldedShipInAndRestoresTheAlpha) {
    const AlphaCase cases[] = {
        {0, 1.0f},    {375, 0.5f}, {101, 0.5f}, {100, 0.5f},
        {99, 0.505f}, {50, 0.75f}, {20, 0.9f},  {1, 0.995f},
    };
    for (const AlphaCase& c : cases) {
        SCOPED_TRACE(c.invulnerable);
        backend->calls.clear();
        player->x = 400;
        player->invulnerable = c.invulnerable;
        player->Draw();
        DrawImage(imgBullet, 100, 100, 0);  // whatever is drawn next
        ASSERT_EQ(backend->calls.size(), 2u);
        const DrawCall& ship = backend->calls[0];
        EXPECT_EQ(ship.image, imgShip);
        EXPECT_EQ(ship.frame, 0);
        EXPECT_FLOAT_EQ(ship.left, 368.0f);
        EXPECT_FLOAT_EQ(ship.top, 704.0f);
        EXPECT_FLOAT_EQ(ship.state.alpha, c.alpha);
        EXPECT_FLOAT_EQ(backend->calls[1].state.alpha, 1.0f);
    }
}

TEST_F(ShipTest, AnUnshieldedShipLeavesTheAlphaAlone) {
    SetAlpha(0.3f);
    player->Draw();
    DrawImage(imgBullet, 100, 100, 0);
    std::vector<DrawCall> ships = ShipDraws(backend->calls);
    ASSERT_EQ(ships.size(), 1u);
    EXPECT_FLOAT_EQ(ships[0].state.alpha, 0.3f);
    EXPECT_FLOAT_EQ(backend->calls.back().state.alpha, 0.3f);
    SetAlpha(1.0f);
}

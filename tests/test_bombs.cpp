// Alien bombs: dropping, falling, leaving the bottom, and hitting the ship
// pixel-exactly only while it can be hit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/platform.h"
#include "playfield/alien.h"
#include "playfield/bomb.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "shell/game_state.h"
#include "shell/main_loop.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"
#include "tests/solid_pixels.h"

namespace {

struct Offset {
    int dx = 0;
    int dy = 0;
};

// The spot nearest the ship's centre where a bomb touches it.
Offset NearestHitOnShip(const Image* bomb) {
    for (int ring = 0; ring < 48; ++ring) {
        for (int dy = -ring; dy <= ring; ++dy) {
            for (int dx = -ring; dx <= ring; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) == ring &&
                    ImagesCollide(imgShip, 0, 0, 0, bomb, dx, dy, 0)) {
                    return {dx, dy};
                }
            }
        }
    }
    ADD_FAILURE() << "the bomb never touches the ship";
    return {};
}

// A 12x12 bomb picture of one colour and one alpha all over.
Image* FlatBomb(uint32_t alpha) {
    DecodedPicture picture;
    picture.width = 12;
    picture.height = 12;
    picture.hasAlpha = true;
    picture.pixels.assign(144, (alpha << 24) | 0x00FF8040u);
    Image* image = MakeImage("flat bomb", picture, 12, 12, 0, 1, IMAGE_DEFAULT_FLAGS);
    MidHandle(image);
    return image;
}

std::vector<int> Heights() {
    std::vector<int> heights;
    bombList->ForEach([&](const TBomb* bomb) { heights.push_back(bomb->y); });
    return heights;
}

}  // namespace

class BombTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        gameState = STATE_PLAYING;
        wave = 1;
        player->Reset();
    }

    // A bomb that touches the ship at the end of its next fall.
    void DropOntoShip() {
        Offset at = NearestHitOnShip(imgBomb);
        TBomb::Create(player->x + at.dx, player->y + at.dy - 2);
    }
};

TEST_F(BombTest, BeforeTheFirstBombThereIsNoListAndNothingHappens) {
    TBomb::UpdateAll();
    TBomb::DrawAll();
    TBomb::ClearAll();
    EXPECT_EQ(bombList, nullptr);
    EXPECT_TRUE(backend->calls.empty());
}

TEST_F(BombTest, CreateAppendsWithoutASound) {
    TBomb::Create(100, 200);
    ASSERT_NE(bombList, nullptr);
    ObjectList<TBomb>* list = bombList;
    TBomb::Create(300, 400);
    EXPECT_EQ(bombList, list);
    ASSERT_EQ(bombList->Count(), 2u);
    EXPECT_EQ(bombList->At(0)->x, 100);
    EXPECT_EQ(bombList->At(0)->y, 200);
    EXPECT_EQ(bombList->At(1)->x, 300);
    EXPECT_EQ(bombList->At(1)->y, 400);
    EXPECT_EQ(soundEffectList, nullptr);
}

TEST_F(BombTest, ADroppedBombEndsItsFirstTickTenPixelsBelowTheAlien) {
    // A seed whose first draw drops a bomb from a lone alien of wave 1.
    int32_t seed = 1;
    for (;; ++seed) {
        ASSERT_LT(seed, 100000);
        SeedRnd(seed);
        if (Rand(1, 200) < 2) {
            break;
        }
    }
    alienList = new ObjectList<TAlien>();
    TAlien* alien = alienList->Append(std::make_unique<TAlien>());
    alien->x = 400;
    alien->y = 300;
    alien->frame = 1;
    alien->animTimer = 20;
    alien->animDir = 1;
    aliensLeft = 1;
    alienDirection = 1;

    SeedRnd(seed);
    TAlien::UpdateAll();
    ASSERT_EQ(BombCount(), 1u);
    EXPECT_EQ(bombList->At(0)->x, 401);  // where the alien is after its step
    EXPECT_EQ(bombList->At(0)->y, 308);
    TBomb::UpdateAll();
    EXPECT_EQ(bombList->At(0)->x, 401);
    EXPECT_EQ(bombList->At(0)->y, 310);

    // The same through a whole playing tick of the main loop.
    TBomb::ClearAll();
    alien->x = 400;
    alien->animTimer = 20;
    SeedRnd(seed);
    bool quit = false;
    RunTick(quit);
    ASSERT_EQ(BombCount(), 1u);
    EXPECT_EQ(bombList->At(0)->y, 310);
}

TEST_F(BombTest, ABombFallsTwoPixelsATickStraightDown) {
    TBomb::Create(100, 0);
    for (int tick = 1; tick <= 100; ++tick) {
        TBomb::UpdateAll();
        ASSERT_EQ(bombList->At(0)->y, 2 * tick);
        ASSERT_EQ(bombList->At(0)->x, 100);
    }
}

struct BottomCase {
    int y;
    bool stays;
};

TEST_F(BombTest, ABombLeavesOnceItIsBelow770) {
    const BottomCase cases[] = {{766, true}, {768, true}, {769, false}, {770, false}};
    for (const BottomCase& c : cases) {
        SCOPED_TRACE(c.y);
        TBomb::Create(100, c.y);
        TBomb::UpdateAll();
        EXPECT_EQ(BombCount(), c.stays ? 1u : 0u);
        TBomb::ClearAll();
    }
}

TEST_F(BombTest, ABombAt770StaysAndGoesAt772) {
    TBomb::Create(100, 768);
    TBomb::UpdateAll();
    ASSERT_EQ(BombCount(), 1u);
    EXPECT_EQ(bombList->At(0)->y, 770);
    TBomb::UpdateAll();
    EXPECT_EQ(BombCount(), 0u);
}

TEST_F(BombTest, RemovingBombsAtTheBottomLeavesTheOthersFallingInOrder) {
    for (int y : {769, 100, 770, 768, 200}) {
        TBomb::Create(50, y);
    }
    TBomb::UpdateAll();
    EXPECT_EQ(Heights(), (std::vector<int>{102, 770, 202}));
}

TEST_F(BombTest, ABombOnAVulnerableShipCostsALife) {
    player->x = 300;
    DropOntoShip();
    TBomb::UpdateAll();
    EXPECT_EQ(player->lives, 2);
    EXPECT_EQ(player->x, 512);
    EXPECT_EQ(player->respawnDelay, 75);
    EXPECT_EQ(player->invulnerable, 375);
    EXPECT_EQ(BombCount(), 0u);
    EXPECT_EQ(ExplosionCount(), 3u);
}

TEST_F(BombTest, ABombOnTheLastLifeEndsTheGame) {
    player->lives = 1;
    DropOntoShip();
    TBomb::UpdateAll();
    EXPECT_EQ(player->lives, 0);
    EXPECT_EQ(gameOverCountdown, 1);
    EXPECT_EQ(BombCount(), 0u);
}

TEST_F(BombTest, TwoBombsTouchingInOneTickCostOneLife) {
    DropOntoShip();
    DropOntoShip();
    const int secondY = bombList->At(1)->y;
    TBomb::UpdateAll();
    EXPECT_EQ(player->lives, 2);
    ASSERT_EQ(BombCount(), 1u);
    // The first one hit; the second falls on, through the shield.
    EXPECT_EQ(bombList->At(0)->y, secondY + 2);
    EXPECT_EQ(ExplosionCount(), 3u);
}

struct SafeShipCase {
    const char* name;
    int lives;
    int invulnerable;
    int respawnDelay;
};

TEST_F(BombTest, BombsPassThroughAShipThatCannotBeHit) {
    const SafeShipCase cases[] = {
        {"shielded", 3, 375, 0},
        {"shield almost gone", 3, 1, 0},
        {"waiting to come back", 2, 375, 75},
        {"out of lives", 0, 0, 0},
    };
    for (const SafeShipCase& c : cases) {
        SCOPED_TRACE(c.name);
        TBomb::ClearAll();
        player->x = 512;
        player->lives = c.lives;
        player->invulnerable = c.invulnerable;
        player->respawnDelay = c.respawnDelay;
        DropOntoShip();
        const int y = bombList->At(0)->y;
        TBomb::UpdateAll();
        EXPECT_EQ(player->lives, c.lives);
        ASSERT_EQ(BombCount(), 1u);
        EXPECT_EQ(bombList->At(0)->y, y + 2);
        EXPECT_EQ(ExplosionCount(), 0u);
        EXPECT_EQ(gameOverCountdown, 0);
    }
}

TEST_F(BombTest, TheShipIsNotHitWhileItWaitsAfterAHit) {
    player->Hit();
    for (int tick = 0; tick < 75; ++tick) {
        ASSERT_NE(player->respawnDelay, 0);
        DropOntoShip();
        TBomb::UpdateAll();
        player->Update();
    }
    EXPECT_EQ(player->lives, 2);
    EXPECT_EQ(player->respawnDelay, 0);
}

TEST_F(BombTest, ABombHitsExactlyWhereSolidPixelsMeet) {
    const SolidPixels shipPixels(imgShip, 0);
    const SolidPixels bombPixels(imgBomb, 0);
    int hits = 0;
    int misses = 0;
    for (int dy = -24; dy <= 24; ++dy) {
        for (int dx = -40; dx <= 40; ++dx) {
            TBomb::ClearAll();
            TExplosion::ClearAll();
            player->Reset();
            TBomb::Create(512 + dx, 720 + dy - 2);
            const bool meet = SolidPixelsMeet(shipPixels, 512, 720, bombPixels, 512 + dx, 720 + dy);
            TBomb::UpdateAll();
            ASSERT_EQ(player->lives, meet ? 2 : 3) << dx << "," << dy;
            ASSERT_EQ(BombCount(), meet ? 0u : 1u);
            (meet ? hits : misses) += 1;
        }
    }
    EXPECT_GT(hits, 0);
    EXPECT_GT(misses, 0);
}

struct SoftBombCase {
    uint32_t alpha;
    bool hits;
};

TEST_F(BombTest, PixelsOfAlphaBelow128DoNotHit) {
    const SoftBombCase cases[] = {{0x01, false}, {0x7F, false}, {0x80, true}, {0xFF, true}};
    Image* realBomb = imgBomb;
    // A spot where a fully solid bomb touches the ship.
    Image* solid = FlatBomb(0xFF);
    const Offset at = NearestHitOnShip(solid);
    for (const SoftBombCase& c : cases) {
        SCOPED_TRACE(c.alpha);
        Image* flat = FlatBomb(c.alpha);
        imgBomb = flat;
        TBomb::ClearAll();
        player->Reset();
        TBomb::Create(player->x + at.dx, player->y + at.dy - 2);
        TBomb::UpdateAll();
        EXPECT_EQ(player->lives, c.hits ? 2 : 3);
        EXPECT_EQ(BombCount(), c.hits ? 0u : 1u);
        imgBomb = realBomb;
        delete flat;
    }
    delete solid;
}

TEST_F(BombTest, ClearAllEmptiesTheListAndKeepsIt) {
    TBomb::Create(1, 2);
    TBomb::Create(3, 4);
    ObjectList<TBomb>* list = bombList;
    TBomb::ClearAll();
    EXPECT_EQ(bombList, list);
    EXPECT_TRUE(bombList->Empty());
}

TEST_F(BombTest, DrawAllDrawsEveryBombCentredInListOrder) {
    TBomb::Create(100, 200);
    TBomb::Create(6, 770);
    TBomb::DrawAll();
    ASSERT_EQ(backend->calls.size(), 2u);
    const float left[] = {94, 0};
    const float top[] = {194, 764};
    for (size_t i = 0; i < 2; ++i) {
        const DrawCall& call = backend->calls[i];
        EXPECT_EQ(call.image, imgBomb);
        EXPECT_EQ(call.frame, 0);
        EXPECT_FLOAT_EQ(call.left, left[i]);
        EXPECT_FLOAT_EQ(call.top, top[i]);
    }
}

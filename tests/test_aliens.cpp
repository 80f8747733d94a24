// The alien wave: building a formation, marching, bouncing and stepping
// down, animation, bombs, being shot, new waves, extra lives and landing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "playfield/alien.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "shell/game_state.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"
#include "tests/solid_pixels.h"

namespace {

struct Offset {
    int dx = 0;
    int dy = 0;
};

// Every offset of frame fb of b from frame fa of a at which the two touch
// with solid pixels, as the game's collision test sees it, nearest first.
std::vector<Offset> Overlaps(const Image* a, int fa, const Image* b, int fb) {
    std::vector<Offset> found;
    for (int ring = 0; ring < 48; ++ring) {
        for (int dy = -ring; dy <= ring; ++dy) {
            for (int dx = -ring; dx <= ring; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) == ring &&
                    ImagesCollide(a, 0, 0, fa, b, dx, dy, fb)) {
                    found.push_back({dx, dy});
                }
            }
        }
    }
    return found;
}

TAlien* Place(int x, int y, int frame = 1, int animTimer = 20, int animDir = 1) {
    if (alienList == nullptr) {
        alienList = new ObjectList<TAlien>();
    }
    TAlien* alien = alienList->Append(std::make_unique<TAlien>());
    alien->x = x;
    alien->y = y;
    alien->frame = frame;
    alien->animTimer = animTimer;
    alien->animDir = animDir;
    aliensLeft = static_cast<int32_t>(alienList->Count());
    return alien;
}

// A bullet in flight, without the fire sound of a real shot.
void AddBullet(int x, int y) {
    if (bulletList == nullptr) {
        bulletList = new ObjectList<TBullet>();
    }
    TBullet* bullet = bulletList->Append(std::make_unique<TBullet>());
    bullet->x = x;
    bullet->y = y;
}

enum class Spot { NEAREST, FARTHEST };

// A bullet that the alien will touch once it has made this tick's step,
// as near its centre as can be or as far out.
TBullet* BulletOnto(const TAlien& alien, Spot spot = Spot::NEAREST) {
    const std::vector<Offset> overlaps = Overlaps(imgAlien, alien.frame, imgBullet, 0);
    EXPECT_FALSE(overlaps.empty()) << "a bullet never touches this alien";
    const Offset at = overlaps.empty()        ? Offset{}
                      : spot == Spot::NEAREST ? overlaps.front()
                                              : overlaps.back();
    AddBullet(alien.x + alienDirection + at.dx, alien.y + at.dy);
    return bulletList->At(bulletList->Count() - 1);
}

void MoveFormation(int dx, int dy) {
    alienList->ForEach([&](TAlien* alien) {
        alien->x += dx;
        alien->y += dy;
    });
}

std::vector<std::pair<int, int>> Positions() {
    std::vector<std::pair<int, int>> positions;
    alienList->ForEach([&](const TAlien* alien) { positions.emplace_back(alien->x, alien->y); });
    return positions;
}

}  // namespace

class AlienTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        gameState = STATE_PLAYING;
        wave = 1;
        player->Reset();
        alienDirection = 1;
    }
};

// ---------------------------------------------------------------- building

struct TopRowCase {
    int wave;
    int top;
};

TEST_F(AlienTest, AWaveStandsInSixRowsOfEightBeyondTheLeftEdge) {
    const TopRowCase cases[] = {{1, 72},   {2, 80},   {10, 144}, {23, 248},
                                {24, 256}, {25, 256}, {100, 256}};
    for (const TopRowCase& c : cases) {
        SCOPED_TRACE(c.wave);
        TAlien::ClearAll();
        wave = c.wave;
        alienDirection = -1;
        TAlien::CreateWave();
        ASSERT_EQ(alienList->Count(), 48u);
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 8; ++column) {
                const TAlien* alien = alienList->At(static_cast<size_t>(row * 8 + column));
                EXPECT_EQ(alien->x, -512 + 64 * column);
                EXPECT_EQ(alien->y, c.top + 64 * row);
            }
        }
        EXPECT_EQ(alienDirection, 1);
        EXPECT_EQ(aliensLeft, 48);
    }
}

TEST_F(AlienTest, CreateWaveMakesTheListOnceAndAppendsToIt) {
    EXPECT_EQ(alienList, nullptr);
    TAlien::CreateWave();
    ObjectList<TAlien>* list = alienList;
    ASSERT_NE(list, nullptr);
    TAlien::CreateWave();
    EXPECT_EQ(alienList, list);
    EXPECT_EQ(alienList->Count(), 96u);
    EXPECT_EQ(aliensLeft, 48);
}

TEST_F(AlienTest, EachAlienDrawsFrameThenTimerThenDirection) {
    for (int32_t seed : {1, 12345, 424242}) {
        SCOPED_TRACE(seed);
        TAlien::ClearAll();
        SeedRnd(seed);
        TAlien::CreateWave();
        const int32_t nextAfterWave = Rand(1, 1000000);

        SeedRnd(seed);
        for (size_t i = 0; i < 48; ++i) {
            const TAlien* alien = alienList->At(i);
            int32_t frame = Rand(0, 3);
            int32_t timer = Rand(1, 20);
            int32_t dir = Rand(1, 2) == 1 ? -1 : 1;
            if (frame == 3) {
                dir = -1;
            } else if (frame == 0) {
                dir = 1;
            }
            EXPECT_EQ(alien->frame, frame) << "alien " << i;
            EXPECT_EQ(alien->animTimer, timer) << "alien " << i;
            EXPECT_EQ(alien->animDir, dir) << "alien " << i;
        }
        // Exactly three draws per alien, nothing more.
        EXPECT_EQ(Rand(1, 1000000), nextAfterWave);
    }
}

// ---------------------------------------------------------------- marching

TEST_F(AlienTest, TheFirstBounceComesInTheWavesUpdateNumber1073) {
    TAlien::CreateWave();
    const std::vector<std::pair<int, int>> start = Positions();
    for (int update = 1; update <= 1072; ++update) {
        TAlien::UpdateAll();
        ASSERT_EQ(alienDirection, 1) << "update " << update;
    }
    std::vector<std::pair<int, int>> now = Positions();
    for (size_t i = 0; i < 48; ++i) {
        EXPECT_EQ(now[i].first, start[i].first + 1072);
        EXPECT_EQ(now[i].second, start[i].second);  // no step down yet
    }
    EXPECT_EQ(now[7].first, 1008);

    TAlien::UpdateAll();
    EXPECT_EQ(alienDirection, -1);
    now = Positions();
    for (size_t i = 0; i < 48; ++i) {
        EXPECT_EQ(now[i].first, start[i].first + 1073);
        EXPECT_EQ(now[i].second, start[i].second + 8);
    }
    EXPECT_EQ(now[7].first, 1009);
    EXPECT_EQ(gameOverCountdown, 0);
    EXPECT_EQ(player->lives, 3);

    // Now marching left.
    TAlien::UpdateAll();
    EXPECT_EQ(alienList->At(7)->x, 1008);
    EXPECT_EQ(alienList->At(7)->y, start[7].second + 8);
}

struct EdgeCase {
    const char* name;
    int direction;
    int x;
    bool bounces;
};

TEST_F(AlienTest, OnlyTheEdgeAheadTurnsTheFormation) {
    const EdgeCase cases[] = {
        {"right, still inside", 1, 1007, false},
        {"right, edge passes the screen's", 1, 1008, true},
        {"right, far beyond", 1, 1200, true},
        {"left, still inside", -1, 17, false},
        {"left, edge passes the screen's", -1, 16, true},
        {"right, beyond the left edge", 1, -500, false},
        {"left, beyond the right edge", -1, 2000, false},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TAlien::ClearAll();
        alienDirection = c.direction;
        Place(c.x, 200);
        TAlien::UpdateAll();
        const TAlien* alien = alienList->At(0);
        EXPECT_EQ(alien->x, c.x + c.direction);
        EXPECT_EQ(alien->y, c.bounces ? 208 : 200);
        EXPECT_EQ(alienDirection, c.bounces ? -c.direction : c.direction);
    }
}

TEST_F(AlienTest, WhileTheGameIsEndingTheFormationTurnsWithoutSteppingDown) {
    Place(1008, 200);
    Place(900, 300);
    gameOverCountdown = 600;
    TAlien::UpdateAll();
    EXPECT_EQ(alienDirection, -1);
    EXPECT_EQ(alienList->At(0)->y, 200);
    EXPECT_EQ(alienList->At(1)->y, 300);
    EXPECT_EQ(gameOverCountdown, 600);
}

// ---------------------------------------------------------------- animation

TEST_F(AlienTest, FramesRunBackAndForthOneStepEveryTwentyTicks) {
    const int pattern[] = {0, 1, 2, 3, 2, 1};
    Place(200, 200, 0, 1, 1);
    for (int tick = 1; tick <= 260; ++tick) {
        TAlien::UpdateAll();
        const TAlien* alien = alienList->At(0);
        int steps = 1 + (tick - 1) / 20;
        ASSERT_EQ(alien->frame, pattern[steps % 6]) << "tick " << tick;
        ASSERT_EQ(alien->animTimer, 20 - (tick - 1) % 20) << "tick " << tick;
    }
}

struct AnimationCase {
    int frame;
    int animDir;
    std::vector<int> next;
};

TEST_F(AlienTest, TheAnimationTurnsAtEitherEnd) {
    const AnimationCase cases[] = {
        {0, 1, {1, 2, 3, 2, 1, 0, 1}},
        {3, -1, {2, 1, 0, 1, 2, 3, 2}},
        {2, -1, {1, 0, 1, 2, 3, 2, 1}},
        {1, 1, {2, 3, 2, 1, 0, 1, 2}},
    };
    for (const AnimationCase& c : cases) {
        SCOPED_TRACE(c.frame * 10 + c.animDir);
        TAlien::ClearAll();
        Place(300, 200, c.frame, 20, c.animDir);
        std::vector<int> frames;
        for (int tick = 1; tick <= 20 * static_cast<int>(c.next.size()); ++tick) {
            TAlien::UpdateAll();
            if (tick % 20 == 0) {
                frames.push_back(alienList->At(0)->frame);
            }
        }
        EXPECT_EQ(frames, c.next);
        TAlien::ClearAll();
        alienDirection = 1;
    }
}

// ---------------------------------------------------------------- bombs

struct BombRateCase {
    const char* name;
    int wave;
    bool fullFormation;
    int ticks;
};

// Replays the generator: one draw from 1..200 * aliensLeft per alien per
// tick, in list order, dropping below wave / 30 + 2.
TEST_F(AlienTest, BombsFollowTheDrawsOfEveryAlienInOrder) {
    const BombRateCase cases[] = {
        {"wave 1, fresh formation off screen", 1, true, 700},
        {"wave 600, fresh formation off screen", 600, true, 40},
        {"wave 29, three aliens", 29, false, 400},
        {"wave 30, three aliens", 30, false, 400},
        {"wave 59, three aliens", 59, false, 300},
        {"wave 60, three aliens", 60, false, 300},
    };
    const int32_t seed = 2024;
    for (const BombRateCase& c : cases) {
        SCOPED_TRACE(c.name);
        TAlien::ClearAll();
        TBomb::ClearAll();
        wave = c.wave;
        alienDirection = 1;
        if (c.fullFormation) {
            TAlien::CreateWave();
        } else {
            Place(200, 100);
            Place(300, 160);
            Place(400, 100);
        }
        SeedRnd(seed);
        std::vector<std::vector<std::pair<int, int>>> before;
        std::vector<size_t> bombsAfter;
        for (int tick = 0; tick < c.ticks; ++tick) {
            before.push_back(Positions());
            TAlien::UpdateAll();
            bombsAfter.push_back(BombCount());
        }
        ASSERT_EQ(alienDirection, 1) << "the formation must not turn in this case";

        SeedRnd(seed);
        std::vector<std::pair<int, int>> expected;
        for (int tick = 0; tick < c.ticks; ++tick) {
            const int32_t left = static_cast<int32_t>(before[static_cast<size_t>(tick)].size());
            for (const auto& [x, y] : before[static_cast<size_t>(tick)]) {
                if (Rand(1, 200 * left) < c.wave / 30 + 2) {
                    expected.emplace_back(x + 1, y + 8);
                }
            }
            ASSERT_EQ(bombsAfter[static_cast<size_t>(tick)], expected.size()) << "tick " << tick;
        }
        ASSERT_FALSE(expected.empty()) << "pick a seed that drops something";
        std::vector<std::pair<int, int>> dropped;
        if (bombList != nullptr) {
            bombList->ForEach([&](const TBomb* bomb) { dropped.emplace_back(bomb->x, bomb->y); });
        }
        EXPECT_EQ(dropped, expected);
    }
}

// ---------------------------------------------------------------- being shot

struct ScoreCase {
    int wave;
    int lives;
    int points;
};

TEST_F(AlienTest, AShotAlienScoresWaveTimesLives) {
    const ScoreCase cases[] = {{1, 3, 3}, {10, 1, 10}, {4, 5, 20}, {7, 0, 0}};
    for (const ScoreCase& c : cases) {
        SCOPED_TRACE(c.wave * 100 + c.lives);
        TAlien::ClearAll();
        TBullet::ClearAll();
        TExplosion::ClearAll();
        alienDirection = 1;
        wave = c.wave;
        player->lives = c.lives;
        player->score = 100;
        TAlien* target = Place(300, 200);
        Place(600, 200);
        BulletOnto(*target);
        const size_t soundsBefore = SoundCount();

        TAlien::UpdateAll();
        EXPECT_EQ(player->score, 100 + c.points);
        EXPECT_EQ(aliensLeft, 1);
        ASSERT_EQ(alienList->Count(), 1u);
        EXPECT_EQ(alienList->At(0)->x, 601);
        EXPECT_TRUE(bulletList->Empty());
        EXPECT_EQ(SoundCount(), soundsBefore + 1);
        ASSERT_EQ(ExplosionCount(), 1u);
        EXPECT_EQ(explosionList->At(0)->x, 301);
        EXPECT_EQ(explosionList->At(0)->y, 200);
        EXPECT_EQ(explosionList->At(0)->dx, 1);
        EXPECT_EQ(wave, c.wave);
    }
}

TEST_F(AlienTest, ABulletHitsExactlyWhereSolidPixelsMeet) {
    // Every position around the alien, each of its frames: a hit just where
    // pixels of alpha 128 or more of both pictures cover the same spot.
    const SolidPixels bulletPixels(imgBullet, 0);
    int hits = 0;
    int misses = 0;
    for (int frame = 0; frame < 4; ++frame) {
        const SolidPixels alienPixels(imgAlien, frame);
        for (int dy = -26; dy <= 26; dy += 2) {
            for (int dx = -22; dx <= 22; ++dx) {
                TAlien::ClearAll();
                TBullet::ClearAll();
                alienDirection = 1;
                Place(400, 300, frame, 5);
                Place(100, 100);
                AddBullet(401 + dx, 300 + dy);
                const bool meet =
                    SolidPixelsMeet(alienPixels, 401, 300, bulletPixels, 401 + dx, 300 + dy);
                TAlien::UpdateAll();
                ASSERT_EQ(bulletList->Empty(), meet) << frame << ": " << dx << "," << dy;
                ASSERT_EQ(aliensLeft, meet ? 1 : 2);
                (meet ? hits : misses) += 1;
            }
        }
    }
    EXPECT_GT(hits, 0);
    EXPECT_GT(misses, 0);
}

TEST_F(AlienTest, OfTwoBulletsOnOneAlienTheEarlierIsSpent) {
    TAlien* target = Place(300, 200);
    Place(700, 200);
    BulletOnto(*target);
    // Somewhere else on the alien, so the two can be told apart.
    const TBullet* later = BulletOnto(*target, Spot::FARTHEST);
    const int laterX = later->x;
    const int laterY = later->y;
    TAlien::UpdateAll();
    ASSERT_EQ(bulletList->Count(), 1u);
    EXPECT_EQ(bulletList->At(0)->x, laterX);
    EXPECT_EQ(bulletList->At(0)->y, laterY);
    EXPECT_EQ(aliensLeft, 1);
}

TEST_F(AlienTest, TheSpareBulletCanHitALaterAlienInTheSamePass) {
    TAlien* first = Place(300, 200);
    Place(300, 200);  // a second alien in the very same spot, later in the list
    Place(800, 400);
    BulletOnto(*first);
    BulletOnto(*first);
    TAlien::UpdateAll();
    EXPECT_TRUE(bulletList->Empty());
    EXPECT_EQ(aliensLeft, 1);
    EXPECT_EQ(alienList->Count(), 1u);
    EXPECT_EQ(ExplosionCount(), 2u);
}

TEST_F(AlienTest, AnAlienShotAsItCrossesTheEdgeStillTurnsTheFormation) {
    TAlien* edge = Place(1008, 200);
    Place(500, 264);
    BulletOnto(*edge);
    TAlien::UpdateAll();
    EXPECT_EQ(aliensLeft, 1);
    EXPECT_EQ(alienDirection, -1);
    EXPECT_EQ(alienList->At(0)->y, 272);
    // The explosion keeps the way the formation was going when it was shot.
    ASSERT_EQ(ExplosionCount(), 1u);
    EXPECT_EQ(explosionList->At(0)->dx, 1);
    EXPECT_EQ(explosionList->At(0)->x, 1009);
}

TEST_F(AlienTest, TheLastAlienShotBuildsTheNextWaveInTheSameTick) {
    wave = 3;
    TAlien* last = Place(500, 300);
    BulletOnto(*last);
    alienDirection = 1;
    TAlien::UpdateAll();
    EXPECT_EQ(wave, 4);
    EXPECT_EQ(aliensLeft, 48);
    EXPECT_EQ(alienDirection, 1);
    ASSERT_EQ(alienList->Count(), 48u);
    EXPECT_EQ(alienList->At(0)->x, -512);
    EXPECT_EQ(alienList->At(0)->y, 96);
    EXPECT_EQ(alienList->At(47)->x, -64);
    EXPECT_EQ(alienList->At(47)->y, 416);
    EXPECT_EQ(player->score, 3 * 3);
}

TEST_F(AlienTest, ANewWaveTurnsTheFormationRightAgain) {
    wave = 5;
    alienDirection = -1;
    TAlien* last = Place(500, 300);
    BulletOnto(*last);
    TAlien::UpdateAll();
    EXPECT_EQ(wave, 6);
    EXPECT_EQ(alienDirection, 1);
    EXPECT_EQ(explosionList->At(0)->dx, -1);
}

struct ExtraLifeCase {
    int waveBefore;
    int livesBefore;
    int livesAfter;
};

TEST_F(AlienTest, EveryTwentyFifthWaveGivesALifeUpToFive) {
    const ExtraLifeCase cases[] = {
        {24, 4, 5}, {24, 5, 5}, {24, 3, 4}, {49, 1, 2},
        {74, 5, 5}, {23, 4, 4}, {25, 4, 4}, {24, 0, 1},  // the last is after the game was lost
    };
    for (const ExtraLifeCase& c : cases) {
        SCOPED_TRACE(c.waveBefore * 10 + c.livesBefore);
        TAlien::ClearAll();
        TBullet::ClearAll();
        alienDirection = 1;
        wave = c.waveBefore;
        player->lives = c.livesBefore;
        TAlien* last = Place(500, 300);
        BulletOnto(*last);
        const size_t soundsBefore = SoundCount();
        TAlien::UpdateAll();
        EXPECT_EQ(wave, c.waveBefore + 1);
        EXPECT_EQ(aliensLeft, 48);
        EXPECT_EQ(player->lives, c.livesAfter);
        const bool gained = c.livesAfter > c.livesBefore;
        // The alien's explosion sound, and the life's when one was given.
        EXPECT_EQ(SoundCount(), soundsBefore + (gained ? 2u : 1u));
    }
}

// ---------------------------------------------------------------- landing

struct LandingCase {
    const char* name;
    int bottomRowBefore;
    int lives;
    int invulnerable;
    bool lands;
};

TEST_F(AlienTest, AStepDownOntoTheShipsRowEndsTheGame) {
    const LandingCase cases[] = {
        {"one step short", 704, 3, 0, false},
        {"reaches the row", 712, 3, 0, true},
        {"shielded ship", 712, 3, 300, true},
        {"last life", 712, 1, 0, true},
    };
    for (const LandingCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetGameGlobals();
        gameState = STATE_PLAYING;
        wave = 1;
        player->Reset();
        player->lives = c.lives;
        player->invulnerable = c.invulnerable;
        TAlien::CreateWave();
        // The rightmost column one step from the edge, the bottom row as given.
        MoveFormation(1072, c.bottomRowBefore - 392);
        const std::vector<std::pair<int, int>> before = Positions();

        TAlien::UpdateAll();
        const std::vector<std::pair<int, int>> after = Positions();
        ASSERT_EQ(after.size(), 48u);
        for (size_t i = 0; i < 48; ++i) {
            EXPECT_EQ(after[i].second, before[i].second + 8);  // every alien steps down
        }
        EXPECT_EQ(alienDirection, -1);
        EXPECT_EQ(gameOverCountdown, c.lands ? 1 : 0);
        // The ship's Hit runs once however many aliens reach the row.
        EXPECT_EQ(player->lives, c.lands ? c.lives - 1 : c.lives);
        EXPECT_EQ(ExplosionCount(), c.lands ? 3u : 0u);
        if (c.lands && c.lives > 1) {
            EXPECT_EQ(player->respawnDelay, 75);
            EXPECT_EQ(player->invulnerable, 375);
        }
    }
}

// ---------------------------------------------------------------- clearing and drawing

TEST_F(AlienTest, BeforeAnyWaveClearingDoesNothing) {
    TAlien::ClearAll();
    TAlien::UpdateAll();
    TAlien::DrawAll();
    EXPECT_EQ(alienList, nullptr);
    EXPECT_TRUE(backend->calls.empty());
}

TEST_F(AlienTest, ClearAllEmptiesTheWaveButKeepsTheCount) {
    TAlien::CreateWave();
    ObjectList<TAlien>* list = alienList;
    TAlien::ClearAll();
    EXPECT_EQ(alienList, list);
    EXPECT_TRUE(alienList->Empty());
    EXPECT_EQ(aliensLeft, 48);
}

TEST_F(AlienTest, DrawAllDrawsEachAliensFrameInListOrderWithTheStateInForce) {
    Place(100, 200, 0);
    Place(164, 200, 3);
    Place(228, 264, 2);
    SetAlpha(0.6f);
    TAlien::DrawAll();
    ASSERT_EQ(backend->calls.size(), 3u);
    const float left[] = {84, 148, 212};
    const float top[] = {184, 184, 248};
    const int frames[] = {0, 3, 2};
    for (size_t i = 0; i < 3; ++i) {
        const DrawCall& call = backend->calls[i];
        EXPECT_EQ(call.image, imgAlien);
        EXPECT_EQ(call.frame, frames[i]);
        EXPECT_FLOAT_EQ(call.left, left[i]);
        EXPECT_FLOAT_EQ(call.top, top[i]);
        EXPECT_FLOAT_EQ(call.state.alpha, 0.6f);
    }
    SetAlpha(1.0f);
}

#include "playfield/alien.h"

#include <algorithm>
#include <memory>

#include "platform/platform.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "shell/game_state.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"

ObjectList<TAlien>* alienList = nullptr;
int32_t alienDirection = 0;
int32_t aliensLeft = 0;

namespace {

constexpr int32_t ROWS = 6;
constexpr int32_t COLUMNS = 8;
constexpr int32_t WAVE_SIZE = ROWS * COLUMNS;
constexpr int32_t SPACING = 64;  // between neighbouring aliens, both ways
// The formation starts beyond the left edge and marches in.
constexpr int32_t FIRST_COLUMN_X = -512;
constexpr int32_t TOP_ROW_BASE = 64;
constexpr int32_t TOP_ROW_PER_WAVE = 8;
constexpr int32_t LOWEST_TOP_ROW = 256;
constexpr int32_t LEFT_BOUND = 16;  // half an alien inside either screen edge
constexpr int32_t RIGHT_BOUND = 1008;
constexpr int32_t STEP_DOWN = 8;
constexpr int32_t FIRST_FRAME = 0;
constexpr int32_t LAST_FRAME = 3;
constexpr int32_t ANIM_TICKS = 20;
constexpr int32_t BOMB_ODDS_PER_ALIEN = 200;
constexpr int32_t WAVES_PER_EXTRA_BOMB = 30;
constexpr int32_t BOMB_DROP_BELOW = 8;
constexpr int32_t EXTRA_LIFE_EVERY = 25;
constexpr int32_t MOST_LIVES = 5;

int32_t TopRowFor(int32_t waveNumber) {
    return std::min(TOP_ROW_PER_WAVE * waveNumber + TOP_ROW_BASE, LOWEST_TOP_ROW);
}

// Each alien starts somewhere in its animation, heading back from either end.
void StartAnimation(TAlien& alien) {
    alien.frame = Rand(FIRST_FRAME, LAST_FRAME);
    alien.animTimer = Rand(1, ANIM_TICKS);
    alien.animDir = Rand(1, 2) == 1 ? -1 : 1;
    if (alien.frame == LAST_FRAME) {
        alien.animDir = -1;
    } else if (alien.frame == FIRST_FRAME) {
        alien.animDir = 1;
    }
}

bool PastEdge(const TAlien& alien) {
    if (alienDirection < 0) {
        return alien.x < LEFT_BOUND;
    }
    return alien.x > RIGHT_BOUND;
}

void Animate(TAlien& alien) {
    if (--alien.animTimer != 0) {
        return;
    }
    alien.animTimer = ANIM_TICKS;
    alien.frame += alien.animDir;
    if (alien.frame == FIRST_FRAME || alien.frame == LAST_FRAME) {
        alien.animDir = -alien.animDir;
    }
}

// The whole formation drops about (wave / 30 + 1) bombs every 200 ticks,
// however few aliens are left.
void MaybeDropBomb(const TAlien& alien) {
    if (Rand(1, BOMB_ODDS_PER_ALIEN * aliensLeft) < wave / WAVES_PER_EXTRA_BOMB + 2) {
        TBomb::Create(alien.x, alien.y + BOMB_DROP_BELOW);
    }
}

TBullet* FirstBulletTouching(const TAlien& alien) {
    TBullet* hit = nullptr;
    if (bulletList == nullptr) {
        return hit;
    }
    bulletList->ForEach([&](TBullet* bullet) {
        if (hit == nullptr && ImagesCollide(imgAlien, alien.x, alien.y, alien.frame, imgBullet,
                                            bullet->x, bullet->y, 0)) {
            hit = bullet;
        }
    });
    return hit;
}

void ShootDown(TAlien* alien, TBullet* bullet) {
    TExplosion::Create(alien->x, alien->y, alienDirection);
    alienList->Remove(alien);
    --aliensLeft;
    bulletList->Remove(bullet);
    player->score += wave * player->lives;
    TSoundEffect::Play(sndAlienExplosion, 1.0f, 0);
}

// True when some alien reached the ship's row.
bool StepDown() {
    bool landed = false;
    alienList->ForEach([&](TAlien* alien) {
        alien->y += STEP_DOWN;
        if (alien->y >= player->y) {
            landed = true;
            gameOverCountdown = 1;
        }
    });
    return landed;
}

void StartNextWave() {
    ++wave;
    TAlien::CreateWave();
    if (wave % EXTRA_LIFE_EVERY == 0 && player->lives < MOST_LIVES) {
        ++player->lives;
        TSoundEffect::Play(sndLife, 1.0f, 0);
    }
}

}  // namespace

void TAlien::CreateWave() {
    const int32_t top = TopRowFor(wave);
    if (alienList == nullptr) {
        alienList = new ObjectList<TAlien>();
    }
    for (int32_t row = 0; row < ROWS; ++row) {
        for (int32_t column = 0; column < COLUMNS; ++column) {
            TAlien* alien = alienList->Append(std::make_unique<TAlien>());
            alien->x = SPACING * column + FIRST_COLUMN_X;
            alien->y = top + SPACING * row;
            StartAnimation(*alien);
        }
    }
    alienDirection = 1;
    aliensLeft = WAVE_SIZE;
}

void TAlien::UpdateAll() {
    if (alienList == nullptr) {
        return;
    }
    bool bounce = false;
    bool landed = false;
    alienList->ForEach([&](TAlien* alien) {
        alien->x += alienDirection;
        if (PastEdge(*alien)) {
            bounce = true;
        }
        Animate(*alien);
        MaybeDropBomb(*alien);
        if (TBullet* bullet = FirstBulletTouching(*alien)) {
            ShootDown(alien, bullet);
        }
    });
    if (bounce) {
        // Once the game is ending the formation only turns.
        if (gameOverCountdown == 0) {
            landed = StepDown();
        }
        alienDirection = -alienDirection;
    }
    if (landed) {
        player->Hit();
    }
    if (aliensLeft == 0) {
        StartNextWave();
    }
}

void TAlien::ClearAll() {
    if (alienList == nullptr) {
        return;
    }
    alienList->Clear();
}

void TAlien::DrawAll() {
    if (alienList == nullptr) {
        return;
    }
    alienList->ForEach([](const TAlien* alien) {
        DrawImage(imgAlien, static_cast<float>(alien->x), static_cast<float>(alien->y),
                  alien->frame);
    });
}

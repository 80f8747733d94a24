#include "playfield/ship.h"

#include "platform/platform.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "shell/game_state.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"

TShip* player = nullptr;
int32_t fireCooldown = 0;

namespace {

constexpr int32_t START_X = 512;
constexpr int32_t SHIP_ROW_Y = 720;
constexpr int32_t START_LIVES = 3;
constexpr int32_t MIN_X = 32;  // half the ship's width from either edge
constexpr int32_t MAX_X = 992;
constexpr int32_t STEP_PER_KEY = 2;
constexpr int32_t MUZZLE_ABOVE = 16;  // bullets start this far above the ship's centre
constexpr int32_t FIRE_COOLDOWN_TICKS = 75;
constexpr int32_t RESPAWN_TICKS = 75;
constexpr int32_t SHIELD_TICKS = 375;
constexpr int32_t DEBRIS_SPREAD = 16;       // the three explosions of a hit stand this far apart
constexpr int32_t SHIELD_FADE_TICKS = 100;  // the shield fades in over its last ticks
constexpr float SHIELD_ALPHA = 0.5f;
constexpr float SHIELD_FADE_SPAN = 200.0f;

int32_t Held(int key) {
    return KeyDown(key) ? 1 : 0;
}

// Right arrow and X push right, Left arrow and Z push left; opposite keys cancel.
int32_t Steering() {
    return Held(KEY_RIGHT) + Held(KEY_X) - Held(KEY_LEFT) - Held(KEY_Z);
}

void FireOnSpace(const TShip& ship) {
    if (!KeyDown(KEY_SPACE)) {
        fireCooldown = 0;  // letting go re-arms, so a new press fires at once
    } else if (fireCooldown != 0) {
        --fireCooldown;
    } else {
        TBullet::Create(ship.x, ship.y - MUZZLE_ABOVE);
        fireCooldown = FIRE_COOLDOWN_TICKS;
    }
}

float ShieldAlpha(int32_t invulnerable) {
    if (invulnerable > SHIELD_FADE_TICKS) {
        return SHIELD_ALPHA;
    }
    return 1.0f - static_cast<float>(invulnerable) / SHIELD_FADE_SPAN;
}

}  // namespace

void TShip::Reset() {
    x = START_X;
    y = SHIP_ROW_Y;
    score = 0;
    lives = START_LIVES;
    invulnerable = 0;
    respawnDelay = 0;
}

void TShip::Update() {
    // A destroyed ship only waits: no keys, and both counters hold.
    if (respawnDelay != 0) {
        --respawnDelay;
        return;
    }
    x += STEP_PER_KEY * Steering();
    if (x < MIN_X) {
        x = MIN_X;
    } else if (x > MAX_X) {
        x = MAX_X;
    }
    FireOnSpace(*this);
    if (invulnerable != 0) {
        --invulnerable;
    }
}

void TShip::Hit() {
    --lives;
    TExplosion::Create(x - DEBRIS_SPREAD, y, 0);
    TExplosion::Create(x, y, 0);
    TExplosion::Create(x + DEBRIS_SPREAD, y, 0);
    TSoundEffect::Play(sndShipExplosion, 1.0f, 0);
    if (lives == 0) {
        // The main loop ends the game after this tick; the ship stays as it was.
        gameOverCountdown = 1;
        return;
    }
    x = START_X;
    respawnDelay = RESPAWN_TICKS;
    invulnerable = SHIELD_TICKS;
}

void TShip::Draw() {
    if (invulnerable != 0) {
        SetAlpha(ShieldAlpha(invulnerable));
    }
    DrawImage(imgShip, static_cast<float>(x), static_cast<float>(y), 0);
    if (invulnerable != 0) {
        SetAlpha(1.0f);
    }
}

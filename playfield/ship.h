// The player's ship. There is one, `player`, reused for every game.
#pragma once

#include <cstdint>

class TShip {
public:
    int32_t x = 0;
    int32_t y = 0;
    int32_t score = 0;
    int32_t lives = 0;
    int32_t invulnerable = 0;  // ticks of shield left
    int32_t respawnDelay = 0;  // ticks before a destroyed ship comes back

    void Reset();
    void Update();
    void Hit();
    void Draw();
};

extern TShip* player;
extern int32_t fireCooldown;

// Explosions: nine fading frames of 12 ticks each, drifting sideways.
#pragma once

#include <cstdint>

#include "platform/object_list.h"

class TExplosion {
public:
    int32_t x = 0;
    int32_t y = 0;
    int32_t dx = 0;
    int32_t frame = 0;
    int32_t frameTimer = 0;

    static void Create(int32_t x, int32_t y, int32_t dx);
    static void UpdateAll();
    static void DrawAll();
    static void ClearAll();
};

extern ObjectList<TExplosion>* explosionList;

// Alien bombs: they fall 2 pixels a tick and hit a vulnerable ship.
#pragma once

#include <cstdint>

#include "platform/object_list.h"

class TBomb {
public:
    int32_t x = 0;
    int32_t y = 0;

    static void Create(int32_t x, int32_t y);
    static void UpdateAll();
    static void ClearAll();
    static void DrawAll();
};

extern ObjectList<TBomb>* bombList;

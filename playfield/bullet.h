// The player's shots: they rise 3 pixels a tick until they leave the top.
#pragma once

#include <cstdint>

#include "platform/object_list.h"

class TBullet {
public:
    int32_t x = 0;
    int32_t y = 0;

    static void Create(int32_t x, int32_t y);
    static void UpdateAll();
    static void ClearAll();
    static void DrawAll();
};

extern ObjectList<TBullet>* bulletList;

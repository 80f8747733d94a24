// 150 stars in three layers falling behind every screen.
#pragma once

#include <cstdint>

#include "platform/object_list.h"

class TStar {
public:
    int32_t x = 0;
    float y = 0.0f;
    int32_t speed = 0;  // tenths of a pixel per tick: 1, 2 or 3

    static void CreateField();
    static void UpdateAll();
    static void DrawAll();
};

extern ObjectList<TStar>* starList;

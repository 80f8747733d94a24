// The alien wave: 6 rows of 8 that march, bounce, step down and drop bombs.
#pragma once

#include <cstdint>

#include "platform/object_list.h"

class TAlien {
public:
    int32_t x = 0;
    int32_t y = 0;
    int32_t frame = 0;
    int32_t animTimer = 0;
    int32_t animDir = 0;

    static void CreateWave();
    static void UpdateAll();
    static void ClearAll();
    static void DrawAll();
};

extern ObjectList<TAlien>* alienList;
extern int32_t alienDirection;
extern int32_t aliensLeft;

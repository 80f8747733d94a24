// The fixed-step main loop: one frame, then every 4 ms tick that fell due.
#pragma once

#include <cstdint>

constexpr int32_t TICK_MILLIS = 4;
constexpr int32_t MAX_TICKS_PER_FRAME = 13;
constexpr int32_t GAMEOVER_TICKS = 750;

extern int32_t lastTime;
extern int32_t nextTick;
extern int32_t ticksThisFrame;

// Restarts the tick clock at the present moment.
void StartTickClock();
// Runs passes until the player quits from the title screen.
void MainLoop();
// One pass: draw a frame and run the ticks that fell due. True once the
// player asked to quit.
bool RunPass();
// One tick in the current state. Sets quit when the title screen saw Escape.
void RunTick(bool& quit);

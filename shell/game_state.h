// The game's state machine and the globals every part of a game reads.
#pragma once

#include <cstdint>

constexpr int32_t STATE_TITLE = 0;
constexpr int32_t STATE_PLAYING = 1;
constexpr int32_t STATE_GAMEOVER = 2;
constexpr int32_t STATE_ENTERNAME = 3;

extern int32_t gameState;
extern int32_t wave;
// While playing: non-zero means the game must end. On the game-over
// screen: ticks left before it ends.
extern int32_t gameOverCountdown;
extern int32_t paused;

#include "shell/game_state.h"

int32_t gameState = STATE_TITLE;
int32_t wave = 0;
int32_t gameOverCountdown = 0;
int32_t paused = 0;

// Entry and exit: everything that lives for the whole run is made here.
#pragma once

#include <cstdint>

extern int32_t screenDepth;

void ProbeScreenDepth();
int32_t ChooseRefreshRate(int32_t requested);
// The whole program: start-up, the main loop, shutdown. Returns only
// through EndProgram or a fatal error.
[[noreturn]] void RunQuorvex();
void Shutdown();

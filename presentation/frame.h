// One whole picture of the game, drawn and shown once per pass.
#pragma once

extern const char* const CREDIT_PROGRAMMING;
extern const char* const CREDIT_MUSIC;

void DrawFrame();

// One whole picture of the game, drawn and shown once per pass.
#pragma once

extern const char* const CREDIT_PROGRAMMING;
extern const char* const CREDIT_MUSIC;

// Everything one frame shows, drawn but not yet shown.
void ComposeFrame();
// The frame composed and shown at the display's pace.
void DrawFrame();

// The game's letter designs, shared by the bitmap font and the big lettering.
//
// Units are font pixels. A glyph's body lies in x 0..GlyphBodyWidth(c) and y 2..14; the
// font adds a one-pixel soft edge around it, so the advance is the body width plus one.
#pragma once

#include "shape.h"

constexpr float kGlyphTop = 2.0f;
constexpr float kGlyphBottom = 14.0f;

// True for the characters the game's font holds: digits, capitals, ". -&".
bool HasGlyph(char c);
// Right edge of the glyph body; 0 for the space.
float GlyphBodyWidth(char c);
// The glyph's filled shape; empty for the space.
Shape GlyphShape(char c);

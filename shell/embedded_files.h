// Registers the pictures, sounds and music linked into the program, in the
// order the game lists them.
#pragma once

void RegisterEmbeddedFiles();

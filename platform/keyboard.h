// Keyboard state shared by every backend: hit counts, held keys and the
// typed-character queue. Backends feed it window-system events.
#pragma once

namespace keyboard {
void Press(int key, bool isRepeat);
void Release(int key);
void Typed(int character);
void ReleaseAll();  // focus lost: nothing stays held
int Hit(int key);
bool Down(int key);
int NextChar();
void Flush();
}  // namespace keyboard

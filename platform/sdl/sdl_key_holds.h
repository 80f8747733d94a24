// Who holds each game key: a key of the keyboard, or a button or the stick
// of a game controller. Every new hold counts as a hit of its key in the
// shared keyboard state, but the key is let go there only when its last
// holder lets go, so releasing a button does not release the same key still
// held on the keyboard, nor the other way round.
#pragma once

#include <vector>

namespace sdl {

constexpr int KEYBOARD_DEVICE = -1;

struct KeyHolder {
    int device = KEYBOARD_DEVICE;  // or a controller's instance id
    int input = 0;                 // the keyboard's scancode, or the controller's input
};

class KeyHolds {
public:
    void Press(int key, KeyHolder holder);
    void Release(int key, KeyHolder holder);
    // A controller went away: whatever it held is let go.
    void ReleaseDevice(int device);
    // The focus went elsewhere: nothing stays held, on any device.
    void ReleaseAll();

private:
    struct Hold {
        int key;
        KeyHolder holder;
    };
    void LetGoUnlessHeld(int key);
    std::vector<Hold> holds_;  // a handful at most
};

}  // namespace sdl

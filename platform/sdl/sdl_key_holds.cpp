#include "platform/sdl/sdl_key_holds.h"

#include <algorithm>

#include "platform/keyboard.h"

namespace sdl {

namespace {

bool Same(const KeyHolder& a, const KeyHolder& b) {
    return a.device == b.device && a.input == b.input;
}

}  // namespace

void KeyHolds::Press(int key, KeyHolder holder) {
    bool known = std::any_of(holds_.begin(), holds_.end(), [&](const Hold& hold) {
        return hold.key == key && Same(hold.holder, holder);
    });
    if (!known) {
        holds_.push_back(Hold{key, holder});
    }
    keyboard::Press(key, false);
}

void KeyHolds::Release(int key, KeyHolder holder) {
    holds_.erase(std::remove_if(holds_.begin(), holds_.end(),
                                [&](const Hold& hold) {
                                    return hold.key == key && Same(hold.holder, holder);
                                }),
                 holds_.end());
    LetGoUnlessHeld(key);
}

void KeyHolds::ReleaseDevice(int device) {
    std::vector<int> keys;
    for (const Hold& hold : holds_) {
        if (hold.holder.device == device) {
            keys.push_back(hold.key);
        }
    }
    holds_.erase(std::remove_if(holds_.begin(), holds_.end(),
                                [&](const Hold& hold) { return hold.holder.device == device; }),
                 holds_.end());
    for (int key : keys) {
        LetGoUnlessHeld(key);
    }
}

void KeyHolds::ReleaseAll() {
    holds_.clear();
    keyboard::ReleaseAll();
}

void KeyHolds::LetGoUnlessHeld(int key) {
    bool held = std::any_of(holds_.begin(), holds_.end(),
                            [&](const Hold& hold) { return hold.key == key; });
    if (!held) {
        keyboard::Release(key);
    }
}

}  // namespace sdl

#include "platform/keyboard.h"

#include <array>
#include <cstddef>
#include <deque>

namespace {

constexpr int KEY_COUNT = 256;
constexpr size_t CHAR_QUEUE_LIMIT = 256;

std::array<int, KEY_COUNT> hits{};
std::array<bool, KEY_COUNT> held{};
// Pressed since the last key-down query of that key: a tap that ends before
// the game looks still reads as held once, so no press is lost.
std::array<bool, KEY_COUNT> unseenPress{};
std::deque<int> typed;

bool Valid(int key) {
    return key >= 0 && key < KEY_COUNT;
}

}  // namespace

namespace keyboard {

void Press(int key, bool isRepeat) {
    // Auto-repeat neither counts as a hit nor brings back a key that a flush
    // let go: such a key reads as up until it is pressed anew.
    if (!Valid(key) || isRepeat) {
        return;
    }
    ++hits[key];
    held[key] = true;
    unseenPress[key] = true;
}

void Release(int key) {
    if (Valid(key)) {
        held[key] = false;
    }
}

void Typed(int character) {
    if (typed.size() < CHAR_QUEUE_LIMIT) {
        typed.push_back(character);
    }
}

void ReleaseAll() {
    held.fill(false);
}

int Hit(int key) {
    if (!Valid(key)) {
        return 0;
    }
    int count = hits[key];
    hits[key] = 0;
    return count;
}

bool Down(int key) {
    if (!Valid(key)) {
        return false;
    }
    bool down = held[key] || unseenPress[key];
    unseenPress[key] = false;
    return down;
}

int NextChar() {
    if (typed.empty()) {
        return 0;
    }
    int character = typed.front();
    typed.pop_front();
    return character;
}

void Flush() {
    hits.fill(0);
    held.fill(false);
    unseenPress.fill(false);
    typed.clear();
}

}  // namespace keyboard

#include "playfield/bomb.h"

#include <memory>

#include "platform/platform.h"
#include "playfield/ship.h"
#include "shell/resources.h"

ObjectList<TBomb>* bombList = nullptr;

namespace {

constexpr int32_t FALL_PER_TICK = 2;
// A bomb below this has left the bottom of the screen.
constexpr int32_t BOTTOM_LIMIT = 770;

bool ShipCanBeHit() {
    return player->invulnerable == 0 && player->lives > 0;
}

bool TouchesShip(const TBomb& bomb) {
    return ImagesCollide(imgBomb, bomb.x, bomb.y, 0, imgShip, player->x, player->y, 0);
}

}  // namespace

void TBomb::Create(int32_t x, int32_t y) {
    if (bombList == nullptr) {
        bombList = new ObjectList<TBomb>();
    }
    TBomb* bomb = bombList->Append(std::make_unique<TBomb>());
    bomb->x = x;
    bomb->y = y;
}

void TBomb::UpdateAll() {
    if (bombList == nullptr) {
        return;
    }
    bombList->ForEach([](TBomb* bomb) {
        bomb->y += FALL_PER_TICK;
        if (bomb->y > BOTTOM_LIMIT) {
            bombList->Remove(bomb);
            return;
        }
        // Asked afresh for every bomb: a hit shields the ship before the next one.
        if (ShipCanBeHit() && TouchesShip(*bomb)) {
            player->Hit();
            bombList->Remove(bomb);
        }
    });
}

void TBomb::ClearAll() {
    if (bombList == nullptr) {
        return;
    }
    bombList->Clear();
}

void TBomb::DrawAll() {
    if (bombList == nullptr) {
        return;
    }
    bombList->ForEach([](const TBomb* bomb) {
        DrawImage(imgBomb, static_cast<float>(bomb->x), static_cast<float>(bomb->y), 0);
    });
}

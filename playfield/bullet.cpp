#include "playfield/bullet.h"

#include <memory>

#include "platform/platform.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"

ObjectList<TBullet>* bulletList = nullptr;

namespace {

constexpr int32_t RISE_PER_TICK = 3;
// Half the bullet's height: once above this it has left the screen.
constexpr int32_t TOP_LIMIT = -3;

}  // namespace

void TBullet::Create(int32_t x, int32_t y) {
    if (bulletList == nullptr) {
        bulletList = new ObjectList<TBullet>();
    }
    TBullet* bullet = bulletList->Append(std::make_unique<TBullet>());
    bullet->x = x;
    bullet->y = y;
    TSoundEffect::Play(sndFire, 1.0f, 0);
}

void TBullet::UpdateAll() {
    if (bulletList == nullptr) {
        return;
    }
    bulletList->ForEach([](TBullet* bullet) {
        bullet->y -= RISE_PER_TICK;
        if (bullet->y < TOP_LIMIT) {
            bulletList->Remove(bullet);
        }
    });
}

void TBullet::ClearAll() {
    if (bulletList == nullptr) {
        return;
    }
    bulletList->Clear();
}

void TBullet::DrawAll() {
    if (bulletList == nullptr) {
        return;
    }
    bulletList->ForEach([](const TBullet* bullet) {
        DrawImage(imgBullet, static_cast<float>(bullet->x), static_cast<float>(bullet->y), 0);
    });
}

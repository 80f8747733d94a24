#include "playfield/explosion.h"

#include <memory>

#include "platform/platform.h"
#include "shell/resources.h"

ObjectList<TExplosion>* explosionList = nullptr;

namespace {

constexpr int32_t TICKS_PER_FRAME = 12;
constexpr int32_t FRAME_COUNT = 9;
constexpr float FADE_PER_FRAME = 0.1f;

}  // namespace

void TExplosion::Create(int32_t x, int32_t y, int32_t dx) {
    if (explosionList == nullptr) {
        explosionList = new ObjectList<TExplosion>();
    }
    TExplosion* explosion = explosionList->Append(std::make_unique<TExplosion>());
    explosion->x = x;
    explosion->y = y;
    explosion->dx = dx;
    explosion->frame = 0;
    explosion->frameTimer = TICKS_PER_FRAME;
}

void TExplosion::UpdateAll() {
    if (explosionList == nullptr) {
        return;
    }
    explosionList->ForEach([](TExplosion* explosion) {
        --explosion->frameTimer;
        explosion->x += explosion->dx;  // drifts every tick, not only on a new frame
        if (explosion->frameTimer == 0) {
            explosion->frameTimer = TICKS_PER_FRAME;
            ++explosion->frame;
            if (explosion->frame == FRAME_COUNT) {
                explosionList->Remove(explosion);
            }
        }
    });
}

void TExplosion::DrawAll() {
    if (explosionList == nullptr) {
        return;
    }
    explosionList->ForEach([](const TExplosion* explosion) {
        // Each frame a tenth fainter: 1.0 down to 0.2.
        SetAlpha(1.0f - FADE_PER_FRAME * static_cast<float>(explosion->frame));
        DrawImage(imgExplosion, static_cast<float>(explosion->x), static_cast<float>(explosion->y),
                  explosion->frame);
    });
    SetAlpha(1.0f);
}

void TExplosion::ClearAll() {
    if (explosionList == nullptr) {
        return;
    }
    explosionList->Clear();
}

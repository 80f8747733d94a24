#include "presentation/starfield.h"

#include <memory>

#include "platform/platform.h"
#include "shell/resources.h"

ObjectList<TStar>* starList = nullptr;

namespace {

constexpr int32_t STAR_COUNT = 150;
constexpr int32_t STARS_PER_LAYER = 50;
constexpr int32_t SCREEN_WIDTH = 1024;
constexpr int32_t SCREEN_HEIGHT = 768;
constexpr double BOTTOM = 768.0;
// Centred 8 pixels above the top, so a star comes back out of sight.
constexpr float RESTART_Y = -8.0f;

}  // namespace

void TStar::CreateField() {
    if (starList == nullptr) {
        starList = new ObjectList<TStar>();
    }
    for (int32_t i = 0; i < STAR_COUNT; ++i) {
        TStar* star = starList->Append(std::make_unique<TStar>());
        star->x = Rand(0, SCREEN_WIDTH);
        star->y = static_cast<float>(Rand(0, SCREEN_HEIGHT));
        star->speed = i / STARS_PER_LAYER + 1;
    }
}

void TStar::UpdateAll() {
    if (starList == nullptr) {
        return;
    }
    starList->ForEach([](TStar* star) {
        // Formed in double and stored back as float, so the fall rate is
        // the same on every machine.
        star->y = static_cast<float>(static_cast<double>(star->y) + star->speed / 10.0);
        if (static_cast<double>(star->y) > BOTTOM) {
            star->y = RESTART_Y;
            star->x = Rand(0, SCREEN_WIDTH);
        }
    });
}

void TStar::DrawAll() {
    if (starList == nullptr) {
        return;
    }
    starList->ForEach([](TStar* star) {
        DrawImage(imgStars, static_cast<float>(star->x), star->y, star->speed - 1);
    });
}

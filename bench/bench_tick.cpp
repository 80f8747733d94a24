// One playing tick of a busy screen: a full wave on screen, 50 bullets and
// 50 bombs in flight and a few explosions, updated in the main loop's order.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/platform.h"
#include "playfield/alien.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "shell/embedded_files.h"
#include "shell/game_state.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"

namespace {

constexpr int BULLETS_IN_FLIGHT = 50;
constexpr int BOMBS_IN_FLIGHT = 50;
constexpr int EXPLOSIONS_SHOWING = 6;
// Where a wave stands after marching in for a while: columns 88 .. 536.
constexpr int FORMATION_SHIFT = 600;

void LoadGameOnce() {
    static HeadlessBackend* backend = nullptr;
    if (backend != nullptr) {
        return;
    }
    backend = new HeadlessBackend();
    InstallBackend(backend);
    RegisterEmbeddedFiles();
    // Keys pressed while the pictures load are forgotten; this one comes just
    // after and skips the introduction.
    backend->PressAt(backend->Millis() + backend->frameMillis + 1, KEY_SPACE);
    LoadResources();
    LoadSounds();
    player = new TShip();
    SeedRnd(1);
}

template <typename T>
T* AppendTo(ObjectList<T>*& list) {
    if (list == nullptr) {
        list = new ObjectList<T>();
    }
    return list->Append(std::make_unique<T>());
}

// Bullets fly in the gaps between the columns and bombs fall above the
// ship, so the tick tests every pair without a hit changing the scene.
void BuildBusyScreen() {
    TAlien::ClearAll();
    TBullet::ClearAll();
    TBomb::ClearAll();
    TExplosion::ClearAll();
    gameState = STATE_PLAYING;
    gameOverCountdown = 0;
    wave = 1;
    player->Reset();
    TAlien::CreateWave();
    alienList->ForEach([](TAlien* alien) { alien->x += FORMATION_SHIFT; });
    for (int i = 0; i < BULLETS_IN_FLIGHT; ++i) {
        TBullet* bullet = AppendTo(bulletList);
        bullet->x = 120 + 64 * (i % 7);
        bullet->y = 40 + 13 * i;
    }
    for (int i = 0; i < BOMBS_IN_FLIGHT; ++i) {
        TBomb* bomb = AppendTo(bombList);
        bomb->x = 20 + 20 * i;
        bomb->y = 100 + 11 * i;
    }
    for (int i = 0; i < EXPLOSIONS_SHOWING; ++i) {
        TExplosion::Create(200 + 50 * i, 400, i % 3 - 1);
    }
}

void PlayingTick() {
    player->Update();
    TBullet::UpdateAll();
    TAlien::UpdateAll();
    TBomb::UpdateAll();
    TExplosion::UpdateAll();
}

void BM_PlayingTick(benchmark::State& state) {
    LoadGameOnce();
    for (auto _ : state) {
        BuildBusyScreen();
        // Only the tick is timed; rebuilding the scene is not.
        const auto start = std::chrono::steady_clock::now();
        PlayingTick();
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(alienList);
        benchmark::DoNotOptimize(player->score);
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

}  // namespace

BENCHMARK(BM_PlayingTick)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

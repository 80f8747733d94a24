// A fresh game on the headless backend for every test: the real embedded
// pictures and sounds, all game globals at their start values, a fixed seed.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "sound/sound_effect.h"

// Loads the embedded pictures (skipping the introduction), measures the
// font and loads the sounds, once per test process.
void LoadGameAssetsOnce(HeadlessBackend& backend);
// Frees the pictures and sounds, so that a test can run the whole program,
// which loads them again.
void ReleaseGameAssets();
// Resets the globals and frees what the whole program makes itself.
void PrepareForWholeProgram();
// Puts every game global back to its value at program start.
void ResetGameGlobals();

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Sets up for a game in progress: wave 1 formation built, ship reset.
    void StartPlaying();

    std::unique_ptr<HeadlessBackend> backend;
};

// The sprites drawn of one picture.
std::vector<DrawCall> CallsOf(const std::vector<DrawCall>& calls, const Image* image);
std::vector<DrawCall> TextsOf(const std::vector<DrawCall>& calls);

// How many of each kind are alive; 0 before the kind's list exists.
inline size_t BulletCount() {
    return bulletList == nullptr ? 0 : bulletList->Count();
}
inline size_t BombCount() {
    return bombList == nullptr ? 0 : bombList->Count();
}
inline size_t ExplosionCount() {
    return explosionList == nullptr ? 0 : explosionList->Count();
}
inline size_t SoundCount() {
    return soundEffectList == nullptr ? 0 : soundEffectList->Count();
}

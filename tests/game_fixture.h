// A fresh game on the headless backend for every test: the real embedded
// pictures and sounds, all game globals at their start values, a fixed seed.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

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

// The calls of the given kind whose name matches.
std::vector<DrawCall> SpritesNamed(const std::vector<DrawCall>& calls, const std::string& name);
// The sprites drawn of one picture.
std::vector<DrawCall> CallsOf(const std::vector<DrawCall>& calls, const Image* image);
std::vector<DrawCall> TextsOf(const std::vector<DrawCall>& calls);

#include "shell/startup.h"

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "playfield/ship.h"
#include "presentation/font.h"
#include "presentation/starfield.h"
#include "shell/embedded_files.h"
#include "shell/high_scores.h"
#include "shell/main_loop.h"
#include "shell/resources.h"
#include "sound/sound_effect.h"

int32_t screenDepth = 32;

namespace {

constexpr int SCREEN_WIDTH = 1024;
constexpr int SCREEN_HEIGHT = 768;
constexpr int32_t WANTED_REFRESH_RATE = 75;

}  // namespace

void ProbeScreenDepth() {
    screenDepth = 32;
    while (screenDepth > 8 && !GfxModeExists(SCREEN_WIDTH, SCREEN_HEIGHT, screenDepth, 0)) {
        screenDepth -= 8;
    }
}

int32_t ChooseRefreshRate(int32_t requested) {
    std::vector<int32_t> rates;
    rates.reserve(16);
    for (int i = 0; i < CountGfxModes(); ++i) {
        DisplayMode mode = GfxMode(i);
        if (mode.width == SCREEN_WIDTH && mode.height == SCREEN_HEIGHT) {
            rates.push_back(mode.rate);
        }
    }
    if (rates.empty()) {
        return 0;  // any rate
    }
    std::sort(rates.begin(), rates.end());
    for (auto rate = rates.rbegin(); rate != rates.rend(); ++rate) {
        if (*rate <= requested) {
            return *rate;
        }
    }
    return rates.front();
}

void Shutdown() {
    SaveScores();
    StopMusic();
    EndProgram();
}

void RunQuorvex() {
    RegisterEmbeddedFiles();
    AppTitle("Quorvex");
    ProbeScreenDepth();
    if (screenDepth < 16) {
        RuntimeError("This game requires a graphics card that supports at least 16 bit graphics!");
    }
    CreateHighScoreTable();
    SeedRnd(Millisecs());
    LoadScores();
    int32_t rate = ChooseRefreshRate(WANTED_REFRESH_RATE);
    Graphics(SCREEN_WIDTH, SCREEN_HEIGHT, screenDepth, rate, 0);
    HideMouse();
    LoadResources();
    if (CloseRequested()) {
        Shutdown();  // asked to close during the introduction
    }
    MeasureFont();
    LoadSounds();
    TStar::CreateField();
    player = new TShip();
    StartMusic();
    FlushKeys();
    StartTickClock();
    MainLoop();
    Shutdown();
    EndProgram();  // not reached: shutdown ends the process
}

#include "tests/game_fixture.h"

#include "platform/image.h"
#include "platform/keyboard.h"
#include "platform/mixer.h"
#include "playfield/alien.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "presentation/font.h"
#include "presentation/starfield.h"
#include "shell/embedded_files.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/main_loop.h"
#include "shell/resources.h"
#include "shell/startup.h"
#include "sound/sound_effect.h"

namespace {

template <typename T>
void DropList(ObjectList<T>*& list) {
    delete list;
    list = nullptr;
}

Sound** const SOUNDS[] = {&sndFire, &sndShipExplosion, &sndAlienExplosion, &sndLife, &sndMusic};

bool AssetsLoaded() {
    for (Image** picture : allPictures) {
        if (*picture == nullptr) {
            return false;
        }
    }
    for (Sound** sound : SOUNDS) {
        if (*sound == nullptr) {
            return false;
        }
    }
    return !fontWidths.empty();
}

}  // namespace

void ReleaseGameAssets() {
    for (Image** picture : allPictures) {
        delete *picture;
        *picture = nullptr;
    }
    for (Sound** sound : SOUNDS) {
        FreeSound(*sound);
        *sound = nullptr;
    }
    fontWidths.clear();
}

void PrepareForWholeProgram() {
    ResetGameGlobals();
    delete player;
    player = nullptr;
    ReleaseGameAssets();
}

void LoadGameAssetsOnce(HeadlessBackend& backend) {
    if (AssetsLoaded()) {
        return;
    }
    ReleaseGameAssets();
    RegisterEmbeddedFiles();
    // Keys pressed while the pictures load are forgotten; this one comes just
    // after and skips the introduction.
    backend.PressAt(backend.Millis() + backend.frameMillis + 1, KEY_SPACE);
    LoadResources();
    MeasureFont();
    LoadSounds();
}

void ResetGameGlobals() {
    gameState = STATE_TITLE;
    wave = 0;
    gameOverCountdown = 0;
    paused = 0;
    lastTime = 0;
    nextTick = 0;
    ticksThisFrame = 0;
    screenDepth = 32;

    delete player;
    player = new TShip();
    fireCooldown = 0;

    DropList(alienList);
    DropList(bulletList);
    DropList(bombList);
    DropList(explosionList);
    DropList(starList);
    DropList(soundEffectList);
    alienDirection = 0;
    aliensLeft = 0;
    musicEffect = nullptr;
    musicOn = 1;

    CreateHighScoreTable();
    entryRank = -1;
    for (int i = 0; i < HISCORE_ROWS; ++i) {
        hiScores[i] = 100000 - 10000 * i;
        hiNames[i] = "TELMORAX";
    }
    keyboard::Flush();
    TheMixer().Clear();
    SeedRnd(12345);
}

void GameFixture::SetUp() {
    backend = std::make_unique<HeadlessBackend>();
    InstallBackend(backend.get());
    LoadGameAssetsOnce(*backend);
    ResetGameGlobals();
    backend->calls.clear();
}

void GameFixture::TearDown() {
    ResetGameGlobals();
}

void GameFixture::StartPlaying() {
    gameState = STATE_PLAYING;
    gameOverCountdown = 0;
    wave = 1;
    player->Reset();
    TAlien::CreateWave();
}

std::vector<DrawCall> CallsOf(const std::vector<DrawCall>& calls, const Image* image) {
    std::vector<DrawCall> found;
    for (const DrawCall& call : calls) {
        if (call.kind == DrawCall::SPRITE && call.image == image) {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<DrawCall> TextsOf(const std::vector<DrawCall>& calls) {
    std::vector<DrawCall> found;
    for (const DrawCall& call : calls) {
        if (call.kind == DrawCall::TEXT) {
            found.push_back(call);
        }
    }
    return found;
}

#include "shell/main_loop.h"

#include "platform/platform.h"
#include "playfield/alien.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "presentation/font.h"
#include "presentation/frame.h"
#include "presentation/starfield.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "sound/sound_effect.h"

int32_t lastTime = 0;
int32_t nextTick = 0;
int32_t ticksThisFrame = 0;

namespace {

constexpr int32_t GAMEOVER_SPACE_FROM = 600;  // Space works from the 151st tick on
constexpr int32_t NAME_WIDTH_LIMIT = 256;
constexpr int32_t FIRST_WAVE = 1;

// Waits while the keys are held, looking about once a millisecond and
// sleeping in between. A close request ends the wait, so the game can quit.
template <typename KeysHeld>
void WaitWhile(KeysHeld keysHeld) {
    while (keysHeld() && !CloseRequested()) {
        Delay(1);
    }
}

void StartGame() {
    // The game starts only once Space is let go, so the first shot needs a new press.
    WaitWhile([] { return KeyDown(KEY_SPACE); });
    // The ticks that fell due during the wait are dropped, or the first wave
    // would race until it caught up.
    nextTick = Millisecs();
    gameState = STATE_PLAYING;
    gameOverCountdown = 0;
    wave = FIRST_WAVE;
    player->Reset();
    TAlien::CreateWave();
    FlushKeys();
}

void TitleTick(bool& quit) {
    if (KeyHit(KEY_SPACE) != 0) {
        StartGame();
    } else if (KeyHit(KEY_ESCAPE) != 0) {
        quit = true;
    } else if (KeyHit(KEY_M) != 0) {
        ToggleMusic();
    }
}

void UpdatePlayField() {
    TBullet::UpdateAll();
    TAlien::UpdateAll();
    TBomb::UpdateAll();
    TExplosion::UpdateAll();
}

void EndGame() {
    gameState = STATE_GAMEOVER;
    gameOverCountdown = GAMEOVER_TICKS;
    player->lives = 0;
    FlushKeys();
}

void Pause() {
    paused = 1;
    // A pause begun with P waits for P to be let go, so holding it pauses once.
    WaitWhile([] { return KeyDown(KEY_P) && !KeyDown(KEY_LALT); });
    FlushKeys();
}

void PlayingTick() {
    player->Update();
    UpdatePlayField();
    if (gameOverCountdown != 0 || KeyHit(KEY_ESCAPE) != 0) {
        EndGame();
    } else if (KeyDown(KEY_P) || KeyDown(KEY_LALT) || !AppHasFocus()) {
        // Losing the focus pauses like left Alt, so no life is lost unseen.
        Pause();
    }
}

void PausedTick() {
    if (KeyHit(KEY_ESCAPE) != 0 || KeyHit(KEY_P) != 0 || KeyHit(KEY_SPACE) != 0) {
        FlushKeys();
        // The ticks that fell due while paused are dropped.
        nextTick = Millisecs();
        paused = 0;
    }
}

void GameOverTick() {
    --gameOverCountdown;
    if (KeyHit(KEY_SPACE) != 0 && gameOverCountdown < GAMEOVER_SPACE_FROM) {
        gameOverCountdown = 0;
    }
    if (gameOverCountdown != 0) {
        UpdatePlayField();
        return;
    }
    TBullet::ClearAll();
    TAlien::ClearAll();
    TBomb::ClearAll();
    TExplosion::ClearAll();
    gameState = STATE_TITLE;
    FlushKeys();
    if (InsertScore(player->score)) {
        gameState = STATE_ENTERNAME;
    }
}

bool InCharset(const std::string& character) {
    return !character.empty() && Instr(CHARSET, character) != 0;
}

void EnterNameTick() {
    int c = GetChar();
    std::string typed = c == 0 ? "" : Upper(Chr(c));
    std::string& name = hiNames[entryRank];
    if (c == KEY_RETURN) {
        gameState = STATE_TITLE;
        FlushKeys();
    } else if (c == KEY_BACKSPACE) {
        if (!name.empty()) {
            name.pop_back();
        }
    } else if (InCharset(typed) && FontTextWidth(name + typed) <= NAME_WIDTH_LIMIT) {
        name += typed;
    }
}

}  // namespace

void StartTickClock() {
    lastTime = Millisecs();
    nextTick = lastTime;
}

void RunTick(bool& quit) {
    if (paused == 0) {
        TStar::UpdateAll();
    }
    switch (gameState) {
        case STATE_TITLE:
            TitleTick(quit);
            break;
        case STATE_PLAYING:
            if (paused == 0) {
                PlayingTick();
            } else {
                PausedTick();
            }
            break;
        case STATE_GAMEOVER:
            GameOverTick();
            break;
        case STATE_ENTERNAME:
            EnterNameTick();
            break;
        default:
            break;
    }
    TSoundEffect::UpdateAll();
}

bool RunPass() {
    bool quit = false;
    DrawFrame();
    ticksThisFrame = 0;
    lastTime = Millisecs();
    // Compared as a difference, so the clock's wrap neither freezes the
    // game nor sets off a burst of ticks.
    while (MillisBetween(nextTick, lastTime) >= 0 && ticksThisFrame < MAX_TICKS_PER_FRAME) {
        RunTick(quit);
        nextTick = MillisAfter(nextTick, TICK_MILLIS);
        ++ticksThisFrame;
    }
    if (MillisBetween(lastTime, Millisecs()) < 0) {
        nextTick = Millisecs();  // the clock went back
    }
    // Closing the window, or a signal, quits like Escape on the title
    // screen, so the high-score table is saved.
    return quit || CloseRequested();
}

void MainLoop() {
    while (!RunPass()) {
    }
}

#include "presentation/frame.h"

#include "platform/platform.h"
#include "playfield/alien.h"
#include "playfield/bomb.h"
#include "playfield/bullet.h"
#include "playfield/explosion.h"
#include "playfield/ship.h"
#include "presentation/font.h"
#include "presentation/starfield.h"
#include "shell/game_state.h"
#include "shell/high_scores.h"
#include "shell/resources.h"

const char* const CREDIT_PROGRAMMING = "PROGRAMMING & GRAPHICS - QUORVEX TEAM";
const char* const CREDIT_MUSIC = "MUSIC - QUORVEX TEAM";

namespace {

constexpr int32_t SCREEN_WIDTH = 1024;
constexpr int32_t SCREEN_HEIGHT = 768;
constexpr int32_t CENTRE_X = 512;
constexpr int32_t CENTRE_Y = 384;
constexpr int32_t LOGO_MARGIN = 16;
constexpr int32_t BOTTOM_ROW = 752;  // top of the 16-pixel row along the bottom edge
constexpr int32_t LIFE_ICON_WIDTH = 32;

void White() {
    SetColor(255, 255, 255);
}

void DrawTitleScreen() {
    DrawImage(imgTitle, CENTRE_X, 64, 0);
    // Bottom-right corner 16 pixels in from both edges.
    DrawImage(imgLogoSmall,
              static_cast<float>(SCREEN_WIDTH - ImageWidth(imgLogoSmall) - LOGO_MARGIN),
              static_cast<float>(SCREEN_HEIGHT - ImageHeight(imgLogoSmall) - LOGO_MARGIN), 0);

    SetColor(0, 255, 255);
    DrawFontText(CREDIT_PROGRAMMING, 16, 688, 0, 0);
    DrawFontText(CREDIT_MUSIC, 16, 728, 0, 0);

    DrawHighScores();

    if (gameState == STATE_ENTERNAME) {
        White();
        DrawFontText("WELL DONE - YOU HAVE A HIGH SCORE", CENTRE_X, 524, 1, 0);
        DrawFontText("PLEASE ENTER YOUR NAME IN THE TABLE", CENTRE_X, 554, 1, 0);
    } else {
        SetColor(255, 0, 255);
        DrawFontText("USE Z & X OR CURSOR KEYS TO MOVE", CENTRE_X, 524, 1, 0);
        DrawFontText("PRESS SPACE TO FIRE AND START GAME", CENTRE_X, 554, 1, 0);
        DrawFontText("PRESS M TO TOGGLE MUSIC", CENTRE_X, 584, 1, 0);
    }
    White();
}

void DrawStatusLine() {
    DrawFontText("SCORE", 128, 0, 1, 0);
    DrawFontText("HI-SCORE", 896, 0, 1, 0);
    DrawNumber(Str(player->score), 0, 16);
    // The table's top row, not a running maximum.
    DrawNumber(Str(hiScores[0]), 768, 16);
    // The ship in play is not counted among the spare lives.
    for (int32_t i = 1; i <= player->lives - 1; ++i) {
        DrawImage(imgLife, static_cast<float>(SCREEN_WIDTH - LIFE_ICON_WIDTH * i), BOTTOM_ROW, 0);
    }
    DrawFontText("WAVE " + Str(wave), 0, BOTTOM_ROW, 0, 0);
}

void DrawPlayScreen() {
    TBomb::DrawAll();
    TAlien::DrawAll();
    TExplosion::DrawAll();
    TBullet::DrawAll();
    // Not drawn while waiting to come back after a hit, nor once the game is over.
    if (player->lives > 0 && player->respawnDelay == 0) {
        player->Draw();
    }

    DrawStatusLine();

    if (gameState == STATE_GAMEOVER) {
        SetColor(255, 255, 0);
        DrawFontText("GAME OVER", CENTRE_X, CENTRE_Y, 1, 1);
        White();
    } else if (paused == 1) {
        DrawFontText("PAUSED", CENTRE_X, CENTRE_Y, 1, 1);
    }
}

}  // namespace

void ComposeFrame() {
    // The background replaces the previous frame entirely: drawn solid, so
    // its black parts cover too.
    SetBlend(BLEND_SOLID);
    DrawImage(imgSpace, 0, 0, 0);
    SetBlend(BLEND_ALPHA);

    TStar::DrawAll();

    switch (gameState) {
        case STATE_TITLE:
        case STATE_ENTERNAME:
            DrawTitleScreen();
            break;
        case STATE_PLAYING:
        case STATE_GAMEOVER:
            DrawPlayScreen();
            break;
        default:
            break;
    }
}

void DrawFrame() {
    ComposeFrame();
    Flip(-1);
}

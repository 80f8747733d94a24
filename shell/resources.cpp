#include "shell/resources.h"

Image* imgShip = nullptr;
Image* imgLife = nullptr;
Image* imgAlien = nullptr;
Image* imgBomb = nullptr;
Image* imgBullet = nullptr;
Image* imgDigits = nullptr;
Image* imgFont = nullptr;
Image* imgStars = nullptr;
Image* imgExplosion = nullptr;
Image* imgTitle = nullptr;
Image* imgLogoSmall = nullptr;
Image* imgLogoLarge = nullptr;
Image* imgPresents = nullptr;
Image* imgLoadTitle = nullptr;
Image* imgSpace = nullptr;

Image** const allPictures[PICTURE_COUNT] = {&imgLogoLarge, &imgShip,      &imgLife,   &imgAlien,
                                            &imgBomb,      &imgBullet,    &imgDigits, &imgFont,
                                            &imgStars,     &imgExplosion, &imgTitle,  &imgLogoSmall,
                                            &imgPresents,  &imgLoadTitle, &imgSpace};

const char* const VERSION_TEXT = "v1.31";
const char* const MAKER_ADDRESS = "quorvex.example";

namespace {

// The font is masked but not filtered, so its glyphs stay sharp.
constexpr int FONT_FLAGS = 9;
constexpr int SCREEN_CENTRE_X = 512;
constexpr int SCREEN_CENTRE_Y = 384;

void DrawLoadingTexts() {
    DrawText(MAKER_ADDRESS, 0, 752);
    DrawText(VERSION_TEXT, 1024 - TextWidth(VERSION_TEXT), 752);
}

// Escape or Space skips the rest of the introduction; a close request ends
// it too, so that the game can quit at once.
bool IntroductionCut() {
    return KeyHit(KEY_ESCAPE) != 0 || KeyHit(KEY_SPACE) != 0 || CloseRequested();
}

// Leaves the last shown frame on screen; true when the introduction was cut.
bool Hold(int32_t milliseconds) {
    int32_t start = Millisecs();
    for (;;) {
        if (IntroductionCut()) {
            return true;
        }
        if (MillisBetween(start, Millisecs()) > milliseconds) {
            return false;
        }
        Delay(1);  // nothing to draw; spare the processor
    }
}

bool CrossFade(Image* from, Image* to) {
    double level = 1.0;
    const float step = 0.01f;
    for (;;) {
        Cls();
        SetAlpha(static_cast<float>(1.0 - level));
        DrawImage(to, SCREEN_CENTRE_X, SCREEN_CENTRE_Y, 0);
        SetAlpha(static_cast<float>(level));
        DrawImage(from, SCREEN_CENTRE_X, SCREEN_CENTRE_Y, 0);
        SetAlpha(1.0f);
        DrawLoadingTexts();
        Flip(0);
        level -= step;
        bool cut = IntroductionCut();
        Delay(10);
        if (cut) {
            return true;
        }
        if (level <= 0.0) {
            return false;
        }
    }
}

void PlayIntroduction() {
    if (Hold(5000) || CrossFade(imgLogoLarge, imgPresents) || Hold(2000) ||
        CrossFade(imgPresents, imgLoadTitle)) {
        return;
    }
    Hold(5000);
}

}  // namespace

void LoadResources() {
    SetBlend(BLEND_ALPHA);

    imgLogoLarge = LoadImage("incbin::gfx/logo_lge.png", IMAGE_DEFAULT_FLAGS);
    if (imgLogoLarge != nullptr) {
        MidHandle(imgLogoLarge);
    }
    Cls();
    if (imgLogoLarge != nullptr) {
        DrawImage(imgLogoLarge, SCREEN_CENTRE_X, SCREEN_CENTRE_Y, 0);
    }
    DrawLoadingTexts();
    Flip(-1);

    imgShip = LoadImage("incbin::gfx/ship.png", IMAGE_DEFAULT_FLAGS);
    imgLife = LoadImage("incbin::gfx/life.png", IMAGE_DEFAULT_FLAGS);
    imgAlien = LoadAnimImage("incbin::gfx/alien.png", 32, 32, 0, 4, IMAGE_DEFAULT_FLAGS);
    imgBomb = LoadImage("incbin::gfx/bomb.png", IMAGE_DEFAULT_FLAGS);
    imgBullet = LoadImage("incbin::gfx/bullet.png", IMAGE_DEFAULT_FLAGS);
    imgDigits = LoadAnimImage("incbin::gfx/digits.png", 32, 32, 0, 10, IMAGE_DEFAULT_FLAGS);
    imgFont = LoadAnimImage("incbin::gfx/font.png", 24, 16, 0, 40, FONT_FLAGS);
    imgStars = LoadAnimImage("incbin::gfx/stars.png", 8, 8, 0, 3, IMAGE_DEFAULT_FLAGS);
    imgExplosion = LoadAnimImage("incbin::gfx/explosion.png", 32, 32, 0, 9, IMAGE_DEFAULT_FLAGS);
    imgTitle = LoadImage("incbin::gfx/title.png", IMAGE_DEFAULT_FLAGS);
    imgLogoSmall = LoadImage("incbin::gfx/logo_sml.png", IMAGE_DEFAULT_FLAGS);
    imgPresents = LoadImage("incbin::gfx/presents.png", IMAGE_DEFAULT_FLAGS);
    imgLoadTitle = LoadImage("incbin::gfx/load_title.png", IMAGE_DEFAULT_FLAGS);
    imgSpace = LoadImage("incbin::gfx/space.png", IMAGE_DEFAULT_FLAGS);

    // Every picture was tried before the check, whichever one failed.
    for (Image** picture : allPictures) {
        if (*picture == nullptr) {
            RuntimeError("One or more graphics files missing!");
        }
    }

    for (Image* image : {imgShip, imgAlien, imgBomb, imgBullet, imgStars, imgExplosion, imgTitle,
                         imgPresents, imgLoadTitle}) {
        MidHandle(image);
    }

    // Keys pressed while loading must not cut the introduction short.
    FlushKeys();
    PlayIntroduction();
}

// Every picture of the game, loaded once behind the loading screen.
#pragma once

#include "platform/platform.h"

extern Image* imgShip;
extern Image* imgLife;
extern Image* imgAlien;
extern Image* imgBomb;
extern Image* imgBullet;
extern Image* imgDigits;
extern Image* imgFont;
extern Image* imgStars;
extern Image* imgExplosion;
extern Image* imgTitle;
extern Image* imgLogoSmall;
extern Image* imgLogoLarge;
extern Image* imgPresents;
extern Image* imgLoadTitle;
extern Image* imgSpace;

// Every picture global, in loading order.
constexpr int PICTURE_COUNT = 15;
extern Image** const allPictures[PICTURE_COUNT];

extern const char* const VERSION_TEXT;
extern const char* const MAKER_ADDRESS;

// Loads all pictures behind the loading screen and plays the introduction;
// ends the program when a picture is missing.
void LoadResources();

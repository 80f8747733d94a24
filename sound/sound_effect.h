// Every sound the game plays, the music included, runs on a channel of its
// own, tracked until the channel has finished.
#pragma once

#include <cstdint>

#include "platform/object_list.h"
#include "platform/platform.h"

class TSoundEffect {
public:
    Channel channel = 0;
    int32_t tag = 0;
    float unused = 0.0f;

    static TSoundEffect* Play(Sound* sound, float volume, int32_t tag);
    static void UpdateAll();
};

extern Sound* sndFire;
extern Sound* sndShipExplosion;
extern Sound* sndAlienExplosion;
extern Sound* sndLife;
extern Sound* sndMusic;

extern ObjectList<TSoundEffect>* soundEffectList;
extern TSoundEffect* musicEffect;
extern int32_t musicOn;
extern float musicVolume;

// Loads the four effects and the looping music; ends the program when one
// is missing.
void LoadSounds();
void StartMusic();
void ToggleMusic();
void StopMusic();

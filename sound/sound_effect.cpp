#include "sound/sound_effect.h"

#include <memory>

Sound* sndFire = nullptr;
Sound* sndShipExplosion = nullptr;
Sound* sndAlienExplosion = nullptr;
Sound* sndLife = nullptr;
Sound* sndMusic = nullptr;

ObjectList<TSoundEffect>* soundEffectList = nullptr;
TSoundEffect* musicEffect = nullptr;
int32_t musicOn = 1;
float musicVolume = 0.7f;

TSoundEffect* TSoundEffect::Play(Sound* sound, float volume, int32_t tag) {
    if (soundEffectList == nullptr) {
        soundEffectList = new ObjectList<TSoundEffect>();
    }
    TSoundEffect* effect = soundEffectList->Append(std::make_unique<TSoundEffect>());
    effect->channel = CueSound(sound);
    effect->tag = tag;
    // Set the volume while the channel is still paused, then start it.
    ChannelVolume(effect->channel, volume);
    ResumeChannel(effect->channel);
    return effect;
}

void TSoundEffect::UpdateAll() {
    if (soundEffectList == nullptr) {
        return;
    }
    soundEffectList->ForEach([](TSoundEffect* effect) {
        if (!ChannelPlaying(effect->channel)) {
            soundEffectList->Remove(effect);
        }
    });
}

void LoadSounds() {
    sndFire = LoadSound("incbin::sfx/Fire.wav", 0);
    sndShipExplosion = LoadSound("incbin::sfx/ShipExplosion.wav", 0);
    sndAlienExplosion = LoadSound("incbin::sfx/AlienExplosion.wav", 0);
    sndLife = LoadSound("incbin::sfx/Life.wav", 0);
    sndMusic = LoadSound("incbin::music/thefly.ogg", SOUND_LOOP);
    if (sndFire == nullptr || sndShipExplosion == nullptr || sndAlienExplosion == nullptr ||
        sndLife == nullptr || sndMusic == nullptr) {
        RuntimeError("Failed to load sound files!");
    }
}

void StartMusic() {
    musicEffect = TSoundEffect::Play(sndMusic, musicVolume, 0);
}

void ToggleMusic() {
    musicOn = musicOn == 0 ? 1 : 0;
    if (musicOn == 1) {
        ResumeChannel(musicEffect->channel);
    } else {
        PauseChannel(musicEffect->channel);
    }
}

void StopMusic() {
    if (musicEffect != nullptr) {
        StopChannel(musicEffect->channel);
    }
    FreeSound(sndMusic);
    sndMusic = nullptr;
}

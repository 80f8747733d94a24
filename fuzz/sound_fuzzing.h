// Plays any bytes as an embedded sound the way the game does: loaded by
// name, cued on a new channel, its volume set, resumed, and heard for a
// while as the headless backend pulls samples from the mixer; then stopped
// and freed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/headless/headless_backend.h"
#include "platform/mixer.h"
#include "platform/platform.h"

// Plays the bytes as they are.
inline void PlayFuzzedSound(const std::string& name, const uint8_t* data, size_t size, int flags) {
    // A fresh backend each time, so its virtual clock never runs out.
    HeadlessBackend backend;
    InstallBackend(&backend);
    IncbinRegister(name, data, size);
    Sound* sound = LoadSound("incbin::" + name, flags);
    if (sound != nullptr) {
        Channel channel = CueSound(sound);
        if (channel == 0 || !ChannelPlaying(channel)) {
            std::abort();  // a cued channel counts as playing
        }
        ChannelVolume(channel, 0.7f);
        ResumeChannel(channel);
        backend.Advance(150 * 1000);
        PauseChannel(channel);
        backend.Advance(20 * 1000);
        ResumeChannel(channel);
        backend.Advance(100 * 1000);
        if ((flags & SOUND_LOOP) != 0 && !ChannelPlaying(channel)) {
            std::abort();  // a looping sound plays until stopped
        }
        StopChannel(channel);
        backend.Advance(20 * 1000);
        FreeSound(sound);
    }
    TheMixer().Clear();
}

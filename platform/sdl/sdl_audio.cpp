#include "platform/sdl/sdl_audio.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/mixer.h"
#include "platform/sdl/sdl_process.h"

namespace sdl {
namespace {

constexpr int kPreferredRate = 44100;
// 512 frames is about 12 ms at 44.1 kHz: effects start promptly.
constexpr Uint16 kDeviceFrames = 512;
constexpr int kScratchFrames = 1024;

Audio* running = nullptr;

// Registered once the mixer exists, so it runs before the mixer is
// destroyed at exit: the audio thread must not outlive it.
void StopAtExit() {
    if (running != nullptr) {
        running->Stop();
    }
}

}  // namespace

void Audio::Start(Mixer& mixer) {
    if (mixer_ != nullptr) {
        return;
    }
    mixer_ = &mixer;
    InstallProcessHooks();
    running = this;
    std::atexit(StopAtExit);
    // Audio starts on its own: a machine without sound still plays the game.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec want{};
        want.freq = kPreferredRate;
        want.format = AUDIO_F32SYS;
        want.channels = 2;
        want.samples = kDeviceFrames;
        want.callback = &Audio::Fill;
        want.userdata = this;
        SDL_AudioSpec have{};
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (device_ != 0) {
            rate_ = have.freq;
            SDL_PauseAudioDevice(device_, 0);
            return;
        }
    }
    rate_ = kPreferredRate;
    StartClock();
}

void Audio::Fill(void* self, Uint8* stream, int length) {
    auto* audio = static_cast<Audio*>(self);
    std::memset(stream, 0, static_cast<size_t>(length));
    int frames = length / static_cast<int>(2 * sizeof(float));
    audio->mixer_->Mix(reinterpret_cast<float*>(stream), frames, audio->rate_);
}

void Audio::StartClock() {
    lastCount_ = SDL_GetPerformanceCounter();
    owedFrames_ = 0.0;
    scratch_.assign(2 * kScratchFrames, 0.0f);
}

void Audio::Advance() {
    if (mixer_ == nullptr || device_ != 0) {
        return;
    }
    Uint64 now = SDL_GetPerformanceCounter();
    owedFrames_ += static_cast<double>(now - lastCount_) * rate_ /
                   static_cast<double>(SDL_GetPerformanceFrequency());
    lastCount_ = now;
    while (owedFrames_ >= 1.0) {
        int frames = static_cast<int>(std::min<double>(owedFrames_, kScratchFrames));
        std::fill(scratch_.begin(), scratch_.end(), 0.0f);
        mixer_->Mix(scratch_.data(), frames, rate_);
        owedFrames_ -= frames;
    }
}

void Audio::DeviceRemoved(SDL_AudioDeviceID device) {
    if (device_ == 0 || device != device_) {
        return;
    }
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    StartClock();
}

void Audio::Stop() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    mixer_ = nullptr;
}

}  // namespace sdl

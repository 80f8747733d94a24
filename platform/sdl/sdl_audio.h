// Sound output: an SDL audio device pulls stereo float frames from the
// mixer. Without a device (no sound card) the mixer is still advanced by the
// clock, its output thrown away, so sounds end on time and the game's
// channel bookkeeping behaves as with sound.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

class Mixer;

namespace sdl {

class Audio {
public:
    void Start(Mixer& mixer);
    bool HasDevice() const { return device_ != 0; }
    // Without a device: mixes the time passed since the last call.
    void Advance();
    // The device went away (unplugged): carry on by the clock.
    void DeviceRemoved(SDL_AudioDeviceID device);
    // Stops the audio thread; nothing reaches the mixer after this.
    void Stop();

private:
    static void SDLCALL Fill(void* self, Uint8* stream, int length);
    void StartClock();

    Mixer* mixer_ = nullptr;
    SDL_AudioDeviceID device_ = 0;
    int rate_ = 44100;
    Uint64 lastCount_ = 0;
    double owedFrames_ = 0.0;
    std::vector<float> scratch_;
};

}  // namespace sdl

// What one second of 44100 Hz stereo output costs with 16 channels playing at
// the rates of the game's sounds (11025 and 8000 Hz effects, 44100 Hz music),
// mixed in device-sized blocks. One iteration is one second of audio; the
// "realtime" counter says how many seconds of audio are mixed per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/mixer.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBlock = 512;
constexpr int kChannels = 16;

std::shared_ptr<const SoundData> Tone(int rate, double seconds, double hertz) {
    auto data = std::make_shared<SoundData>();
    data->rate = rate;
    size_t frames = static_cast<size_t>(rate * seconds);
    data->frames.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        float value = 0.2f * static_cast<float>(std::sin(6.283185307179586 * hertz * i / rate));
        data->frames[2 * i] = value;
        data->frames[2 * i + 1] = -value;
    }
    return data;
}

void BM_MixOneSecond16Channels(benchmark::State& state) {
    // The effects outlast the second so that all 16 play throughout.
    Sound effect11k{"effect11k", false, Tone(11025, 1.5, 440.0), {}};
    Sound effect8k{"effect8k", false, Tone(8000, 1.5, 220.0), {}};
    Sound music{"music", true, Tone(kRate, 0.25, 330.0), {}};
    std::vector<float> out(2 * kBlock);

    for (auto _ : state) {
        state.PauseTiming();
        auto mixer = std::make_unique<Mixer>();
        for (int i = 0; i < kChannels - 1; ++i) {
            int64_t channel = mixer->Cue(i % 2 == 0 ? effect11k : effect8k);
            mixer->SetVolume(channel, 0.5f);
            mixer->Resume(channel);
        }
        mixer->Resume(mixer->Cue(music));
        state.ResumeTiming();

        for (int done = 0; done < kRate; done += kBlock) {
            int count = std::min(kBlock, kRate - done);
            std::fill(out.begin(), out.begin() + 2 * count, 0.0f);
            mixer->Mix(out.data(), count, kRate);
            benchmark::DoNotOptimize(out.data());
        }
        benchmark::ClobberMemory();

        state.PauseTiming();
        bool allPlayed = mixer->ChannelCount() == static_cast<size_t>(kChannels);
        mixer.reset();
        state.ResumeTiming();
        if (!allPlayed) {
            state.SkipWithError("a channel ended before the second was over");
            break;
        }
    }
    state.counters["realtime"] =
        benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_MixOneSecond16Channels)->Unit(benchmark::kMicrosecond);

}  // namespace

// The mixer on synthetic sounds: channel lifetime, summing, volume, pause,
// looping, resampling, fades, streamed sounds and thread safety.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "platform/mixer.h"
#include "platform/stream_window.h"
#include "tests/ogg_fixture.h"

namespace {

constexpr int kRate = 44100;
// Fades take 4 ms; every check of a settled level waits a little longer.
constexpr int kSettle = 256;

std::shared_ptr<SoundData> Constant(int rate, size_t frames, float left, float right) {
    auto data = std::make_shared<SoundData>();
    data->rate = rate;
    data->frames.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        data->frames[2 * i] = left;
        data->frames[2 * i + 1] = right;
    }
    return data;
}

// Left rises from 0 by peak/frames per frame, right falls likewise: every
// frame has its own value, so the output tells the position.
std::shared_ptr<SoundData> Ramp(int rate, size_t frames, float peak = 0.75f) {
    auto data = std::make_shared<SoundData>();
    data->rate = rate;
    data->frames.resize(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        float value = peak * static_cast<float>(i) / static_cast<float>(frames);
        data->frames[2 * i] = value;
        data->frames[2 * i + 1] = -value;
    }
    return data;
}

Sound MakeSound(std::shared_ptr<const SoundData> data, bool loop = false) {
    Sound sound;
    sound.name = "test";
    sound.loop = loop;
    sound.data = std::move(data);
    return sound;
}

// Mixes 'frames' frames in blocks of 'block', as an audio device would ask.
std::vector<float> MixFrames(Mixer& mixer, int frames, int rate = kRate, int block = 512) {
    std::vector<float> out(static_cast<size_t>(frames) * 2, 0.0f);
    for (int at = 0; at < frames; at += block) {
        mixer.Mix(out.data() + 2 * at, std::min(block, frames - at), rate);
    }
    return out;
}

float Left(const std::vector<float>& out, size_t frame) {
    return out[2 * frame];
}
float Right(const std::vector<float>& out, size_t frame) {
    return out[2 * frame + 1];
}

size_t AudibleFrames(const std::vector<float>& out) {
    size_t count = 0;
    for (size_t i = 0; i < out.size() / 2; ++i) {
        if (Left(out, i) != 0.0f || Right(out, i) != 0.0f) {
            ++count;
        }
    }
    return count;
}

TEST(Mixer, CueLeavesTheChannelPausedAndSilent) {
    Mixer mixer;
    Sound sound = MakeSound(Constant(kRate, 4000, 0.5f, 0.5f));
    int64_t channel = mixer.Cue(sound);
    std::vector<float> out = MixFrames(mixer, 2000);
    EXPECT_EQ(AudibleFrames(out), 0u);
    EXPECT_TRUE(mixer.Playing(channel));
    EXPECT_EQ(mixer.ChannelCount(), 1u);

    mixer.Resume(channel);
    out = MixFrames(mixer, 1000);
    EXPECT_FLOAT_EQ(Left(out, 999), 0.5f);
    EXPECT_TRUE(mixer.Playing(channel));
}

TEST(Mixer, ResumedCueStartsAtTheSoundsStart) {
    Mixer mixer;
    auto data = Ramp(kRate, 8000);
    int64_t channel = mixer.Cue(MakeSound(data));
    MixFrames(mixer, 3000);  // paused: must not move
    mixer.Resume(channel);
    std::vector<float> out = MixFrames(mixer, 1000);
    for (size_t i = kSettle; i < 1000; ++i) {
        ASSERT_FLOAT_EQ(Left(out, i), data->frames[2 * i]) << i;
        ASSERT_FLOAT_EQ(Right(out, i), data->frames[2 * i + 1]) << i;
    }
}

TEST(Mixer, ChannelIdsCountUpFromOneAndAreNeverReused) {
    Mixer mixer;
    Sound sound = MakeSound(Constant(kRate, 100, 0.1f, 0.1f));
    EXPECT_EQ(mixer.Cue(sound), 1);
    int64_t second = mixer.Cue(sound);
    EXPECT_EQ(second, 2);
    mixer.Stop(1);
    mixer.Resume(second);
    MixFrames(mixer, 500);  // the second ends and is dropped
    EXPECT_EQ(mixer.ChannelCount(), 0u);
    EXPECT_EQ(mixer.Cue(sound), 3);
}

TEST(Mixer, UnknownChannelsAreIgnored) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 4000, 0.5f, 0.5f)));
    EXPECT_FALSE(mixer.Playing(0));
    EXPECT_FALSE(mixer.Playing(channel + 1));
    EXPECT_FALSE(mixer.Playing(-5));
    for (int64_t other : {int64_t{0}, channel + 1, int64_t{-5}}) {
        mixer.Resume(other);
        mixer.Pause(other);
        mixer.SetVolume(other, 0.3f);
        mixer.Stop(other);
    }
    EXPECT_EQ(mixer.ChannelCount(), 1u);
    EXPECT_TRUE(mixer.Playing(channel));
    // The real channel was not touched: still paused at full volume.
    EXPECT_EQ(AudibleFrames(MixFrames(mixer, 500)), 0u);
    mixer.Resume(channel);
    EXPECT_FLOAT_EQ(Left(MixFrames(mixer, 500), 499), 0.5f);
}

TEST(Mixer, SameRateSoundComesOutUnchanged) {
    Mixer mixer;
    auto data = Ramp(kRate, 5000);
    int64_t channel = mixer.Cue(MakeSound(data));
    mixer.Resume(channel);
    std::vector<float> out = MixFrames(mixer, 6000);
    for (size_t i = kSettle; i < 5000; ++i) {
        ASSERT_FLOAT_EQ(Left(out, i), data->frames[2 * i]) << i;
        ASSERT_FLOAT_EQ(Right(out, i), data->frames[2 * i + 1]) << i;
    }
}

TEST(Mixer, StartFadesInOverAFewMilliseconds) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 4000, 0.8f, 0.8f)));
    mixer.Resume(channel);
    std::vector<float> out = MixFrames(mixer, 1000);
    EXPECT_GT(Left(out, 0), 0.0f);
    EXPECT_LT(Left(out, 0), 0.02f);
    size_t full = 0;
    while (Left(out, full) < 0.8f) {
        ASSERT_LE(Left(out, full), Left(out, full + 1));
        ++full;
    }
    // Between 2 and 5 ms of output.
    EXPECT_GE(full, static_cast<size_t>(kRate * 0.002));
    EXPECT_LE(full, static_cast<size_t>(kRate * 0.005));
}

TEST(Mixer, TwoCopiesOfOneSoundSum) {
    auto data = Ramp(kRate, 3000, 0.4f);
    Mixer single;
    single.Resume(single.Cue(MakeSound(data)));
    std::vector<float> one = MixFrames(single, 3000);

    Mixer both;
    both.Resume(both.Cue(MakeSound(data)));
    both.Resume(both.Cue(MakeSound(data)));
    std::vector<float> two = MixFrames(both, 3000);
    for (size_t i = 0; i < one.size(); ++i) {
        ASSERT_FLOAT_EQ(two[i], 2.0f * one[i]) << i;
    }
    EXPECT_GT(Left(two, 2999), 0.75f);
}

TEST(Mixer, LaterCopyOverlapsTheFirst) {
    Mixer mixer;
    Sound sound = MakeSound(Constant(kRate, 3000, 0.25f, 0.25f));
    mixer.Resume(mixer.Cue(sound));
    std::vector<float> first = MixFrames(mixer, 1000);
    mixer.Resume(mixer.Cue(sound));
    std::vector<float> overlap = MixFrames(mixer, 1000);
    EXPECT_FLOAT_EQ(Left(first, 999), 0.25f);
    EXPECT_FLOAT_EQ(Left(overlap, 999), 0.5f);
    EXPECT_EQ(mixer.ChannelCount(), 2u);
}

TEST(Mixer, VolumeScalesTheSound) {
    auto data = Ramp(kRate, 3000);
    Mixer full;
    full.Resume(full.Cue(MakeSound(data)));
    std::vector<float> loud = MixFrames(full, 3000);

    Mixer half;
    int64_t channel = half.Cue(MakeSound(data));
    half.SetVolume(channel, 0.5f);
    half.Resume(channel);
    std::vector<float> quiet = MixFrames(half, 3000);
    for (size_t i = kSettle; i < 3000; ++i) {
        ASSERT_FLOAT_EQ(Left(quiet, i), 0.5f * Left(loud, i)) << i;
        ASSERT_FLOAT_EQ(Right(quiet, i), 0.5f * Right(loud, i)) << i;
    }
}

TEST(Mixer, VolumeChangeIsGradual) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 10000, 1.0f, 1.0f)));
    mixer.Resume(channel);
    MixFrames(mixer, 1000);
    mixer.SetVolume(channel, 0.25f);
    std::vector<float> out = MixFrames(mixer, 1000);
    EXPECT_GT(Left(out, 0), 0.9f);
    for (size_t i = 1; i < 1000; ++i) {
        ASSERT_LE(std::fabs(Left(out, i) - Left(out, i - 1)), 0.01f) << i;
    }
    EXPECT_FLOAT_EQ(Left(out, 999), 0.25f);
}

TEST(Mixer, NegativeVolumeIsSilence) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 4000, 0.5f, 0.5f)));
    mixer.SetVolume(channel, -2.0f);
    mixer.Resume(channel);
    EXPECT_EQ(AudibleFrames(MixFrames(mixer, 1000)), 0u);
    EXPECT_TRUE(mixer.Playing(channel));
}

TEST(Mixer, SoundAtVolumeZeroStillRunsItsCourse) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 1000, 0.5f, 0.5f)));
    mixer.SetVolume(channel, 0.0f);
    mixer.Resume(channel);
    std::vector<float> out = MixFrames(mixer, 999);
    EXPECT_EQ(AudibleFrames(out), 0u);
    EXPECT_TRUE(mixer.Playing(channel));
    MixFrames(mixer, 1);
    EXPECT_FALSE(mixer.Playing(channel));
}

TEST(Mixer, PauseSilencesButKeepsTheChannel) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 20000, 0.5f, 0.5f)));
    mixer.Resume(channel);
    MixFrames(mixer, 1000);
    mixer.Pause(channel);
    std::vector<float> out = MixFrames(mixer, 2000);
    // Fades out rather than cutting off, then stays silent.
    EXPECT_GT(Left(out, 0), 0.4f);
    for (size_t i = 1; i < 2000; ++i) {
        ASSERT_LE(Left(out, i), Left(out, i - 1)) << i;
    }
    EXPECT_LE(AudibleFrames(out), static_cast<size_t>(kRate * 0.005));
    EXPECT_TRUE(mixer.Playing(channel));
    EXPECT_EQ(mixer.ChannelCount(), 1u);

    // However long the pause, the sound is not used up.
    MixFrames(mixer, 40000);
    EXPECT_TRUE(mixer.Playing(channel));
}

TEST(Mixer, ResumeContinuesWherePaused) {
    auto data = Ramp(kRate, 40000, 1.0f);  // sample i reads i / 40000
    const int before = 10000;
    const int gap = 5000;
    const int after = 3000;

    Mixer reference;
    reference.Resume(reference.Cue(MakeSound(data)));
    std::vector<float> straight = MixFrames(reference, before + after + 1000, kRate, 64);

    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(data));
    mixer.Resume(channel);
    MixFrames(mixer, before, kRate, 64);
    mixer.Pause(channel);
    std::vector<float> silent = MixFrames(mixer, gap, kRate, 64);
    EXPECT_EQ(Left(silent, gap - 1), 0.0f);
    mixer.Resume(channel);
    std::vector<float> resumed = MixFrames(mixer, after, kRate, 64);

    // The position went on only while the pause faded out: the output after
    // the resume is the reference shifted by less than one fade.
    const size_t shift =
        static_cast<size_t>(std::lround(Left(resumed, kSettle) * 40000.0f) - (before + kSettle));
    EXPECT_LE(shift, static_cast<size_t>(kRate * 0.005));
    for (size_t i = kSettle; i < static_cast<size_t>(after); ++i) {
        ASSERT_FLOAT_EQ(Left(resumed, i), Left(straight, before + shift + i)) << i;
        ASSERT_FLOAT_EQ(Right(resumed, i), Right(straight, before + shift + i)) << i;
    }
}

TEST(Mixer, LoopingSoundWrapsAndRepeats) {
    const size_t length = 1000;
    auto data = Ramp(kRate, length);
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(data, true));
    mixer.Resume(channel);
    std::vector<float> out = MixFrames(mixer, 3500);
    for (size_t i = length; i < 3500; ++i) {
        ASSERT_FLOAT_EQ(Left(out, i), data->frames[2 * (i % length)]) << i;
        ASSERT_FLOAT_EQ(Right(out, i), data->frames[2 * (i % length) + 1]) << i;
    }
    EXPECT_TRUE(mixer.Playing(channel));
    EXPECT_EQ(mixer.ChannelCount(), 1u);
}

TEST(Mixer, LoopBlendsAcrossItsSeam) {
    // At half the output rate every other output frame falls between two
    // source frames, including between the last and the first.
    const size_t length = 1000;
    auto data = Ramp(kRate / 2, length);
    Mixer mixer;
    mixer.Resume(mixer.Cue(MakeSound(data, true)));
    std::vector<float> out = MixFrames(mixer, 4 * static_cast<int>(length));
    const float last = data->frames[2 * (length - 1)];
    EXPECT_FLOAT_EQ(Left(out, 2 * length - 2), last);
    EXPECT_FLOAT_EQ(Left(out, 2 * length - 1), 0.5f * last);
    EXPECT_FLOAT_EQ(Left(out, 2 * length), 0.0f);
    EXPECT_FLOAT_EQ(Left(out, 2 * length + 2), data->frames[2]);
}

TEST(Mixer, ResamplingInterpolatesBetweenFrames) {
    auto data = Ramp(kRate / 2, 2000);
    Mixer mixer;
    mixer.Resume(mixer.Cue(MakeSound(data)));
    std::vector<float> out = MixFrames(mixer, 4000);
    for (size_t i = kSettle; i < 1999; ++i) {
        float a = data->frames[2 * i];
        float b = data->frames[2 * (i + 1)];
        ASSERT_FLOAT_EQ(Left(out, 2 * i), a) << i;
        ASSERT_NEAR(Left(out, 2 * i + 1), 0.5f * (a + b), 1e-6f) << i;
    }
}

TEST(Mixer, ResamplingKeepsTheDuration) {
    // Half a second of sound lasts half a second at 44100 Hz.
    for (int rate : {11025, 8000, 22050}) {
        Mixer mixer;
        mixer.Resume(mixer.Cue(MakeSound(Constant(rate, rate / 2, 0.5f, 0.5f))));
        std::vector<float> out = MixFrames(mixer, kRate);
        EXPECT_NEAR(static_cast<double>(AudibleFrames(out)), kRate / 2.0, 4.0) << rate;
        EXPECT_EQ(mixer.ChannelCount(), 0u) << rate;
    }
}

TEST(Mixer, FasterSourceIsPlayedFaster) {
    Mixer mixer;
    mixer.Resume(mixer.Cue(MakeSound(Constant(2 * kRate, 4000, 0.5f, 0.5f))));
    EXPECT_EQ(AudibleFrames(MixFrames(mixer, 4000)), 2000u);
}

TEST(Mixer, FinishedChannelStopsPlayingAndIsDropped) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 1000, 0.5f, -0.5f)));
    mixer.Resume(channel);
    std::vector<float> out = MixFrames(mixer, 2000, kRate, 300);
    EXPECT_FLOAT_EQ(Left(out, 999), 0.5f);
    EXPECT_FLOAT_EQ(Right(out, 999), -0.5f);
    EXPECT_EQ(Left(out, 1000), 0.0f);
    EXPECT_EQ(AudibleFrames(out), 1000u);
    EXPECT_FALSE(mixer.Playing(channel));
    EXPECT_EQ(mixer.ChannelCount(), 0u);
    // A dropped channel stays gone.
    mixer.Resume(channel);
    EXPECT_FALSE(mixer.Playing(channel));
    EXPECT_EQ(mixer.ChannelCount(), 0u);
}

TEST(Mixer, ManyFinishedSoundsLeaveNothingBehind) {
    Mixer mixer;
    Sound sound = MakeSound(Constant(11025, 200, 0.01f, 0.01f));
    for (int round = 0; round < 100; ++round) {
        for (int i = 0; i < 10; ++i) {
            mixer.Resume(mixer.Cue(sound));
        }
        MixFrames(mixer, 1000);
        ASSERT_EQ(mixer.ChannelCount(), 0u) << round;
    }
}

TEST(Mixer, EmptySoundEndsAtTheFirstMix) {
    Mixer mixer;
    int64_t empty = mixer.Cue(MakeSound(std::make_shared<SoundData>()));
    int64_t none = mixer.Cue(MakeSound(nullptr));
    mixer.Resume(empty);
    EXPECT_EQ(AudibleFrames(MixFrames(mixer, 100)), 0u);
    EXPECT_FALSE(mixer.Playing(empty));
    EXPECT_FALSE(mixer.Playing(none));
    EXPECT_EQ(mixer.ChannelCount(), 0u);
}

TEST(Mixer, StopEndsTheChannelAtOnceAndFadesOut) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 20000, 0.5f, 0.5f)));
    mixer.Resume(channel);
    MixFrames(mixer, 1000);
    mixer.Stop(channel);
    EXPECT_FALSE(mixer.Playing(channel));
    std::vector<float> out = MixFrames(mixer, 1000);
    EXPECT_GT(Left(out, 0), 0.4f);
    for (size_t i = 1; i < 1000; ++i) {
        ASSERT_LE(Left(out, i), Left(out, i - 1)) << i;
    }
    EXPECT_LE(AudibleFrames(out), static_cast<size_t>(kRate * 0.005));
    EXPECT_EQ(mixer.ChannelCount(), 0u);
    // Stopped is final.
    mixer.Resume(channel);
    EXPECT_FALSE(mixer.Playing(channel));
    EXPECT_EQ(AudibleFrames(MixFrames(mixer, 500)), 0u);
}

TEST(Mixer, StopDuringTheFadeOutStaysStopped) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 20000, 0.5f, 0.5f)));
    mixer.Resume(channel);
    MixFrames(mixer, 1000);
    mixer.Stop(channel);
    mixer.Pause(channel);
    mixer.Resume(channel);
    mixer.SetVolume(channel, 1.0f);
    EXPECT_FALSE(mixer.Playing(channel));
    EXPECT_EQ(mixer.ChannelCount(), 1u);  // still fading
    MixFrames(mixer, 1000);
    EXPECT_EQ(mixer.ChannelCount(), 0u);
}

TEST(Mixer, StoppingASilentChannelDropsItAtOnce) {
    Mixer mixer;
    int64_t cued = mixer.Cue(MakeSound(Constant(kRate, 4000, 0.5f, 0.5f)));
    mixer.Stop(cued);
    EXPECT_FALSE(mixer.Playing(cued));
    EXPECT_EQ(mixer.ChannelCount(), 0u);

    int64_t paused = mixer.Cue(MakeSound(Constant(kRate, 4000, 0.5f, 0.5f)));
    mixer.Resume(paused);
    MixFrames(mixer, 500);
    mixer.Pause(paused);
    MixFrames(mixer, 500);
    mixer.Stop(paused);
    EXPECT_EQ(mixer.ChannelCount(), 0u);
}

TEST(Mixer, StopSoundStopsEveryChannelOfThatSound) {
    Mixer mixer;
    Sound shot = MakeSound(Constant(kRate, 20000, 0.1f, 0.1f));
    Sound music = MakeSound(Constant(kRate, 1000, 0.2f, 0.2f), true);
    int64_t first = mixer.Cue(shot);
    int64_t second = mixer.Cue(shot);
    int64_t tune = mixer.Cue(music);
    mixer.Resume(first);
    mixer.Resume(tune);
    MixFrames(mixer, 500);
    mixer.StopSound(shot);
    EXPECT_FALSE(mixer.Playing(first));
    EXPECT_FALSE(mixer.Playing(second));
    EXPECT_TRUE(mixer.Playing(tune));
    std::vector<float> out = MixFrames(mixer, 1000);
    EXPECT_FLOAT_EQ(Left(out, 999), 0.2f);
    EXPECT_EQ(mixer.ChannelCount(), 1u);
}

TEST(Mixer, LoudOverlapsAreBentBelowFullScaleAndQuietOnesPassUnchanged) {
    struct Case {
        int copies;
        float level;
    };
    for (Case c : {Case{1, 0.6f}, Case{3, 0.6f}, Case{2, 0.45f}, Case{8, 0.9f}}) {
        Mixer mixer;
        Sound sound = MakeSound(Constant(kRate, 2000, c.level, -c.level));
        for (int i = 0; i < c.copies; ++i) {
            mixer.Resume(mixer.Cue(sound));
        }
        std::vector<float> out = MixFrames(mixer, 1000);
        for (float sample : out) {
            ASSERT_LE(std::fabs(sample), 1.0f);
        }
        float sum = c.copies * c.level;
        if (sum <= 0.8f) {
            EXPECT_FLOAT_EQ(Left(out, 999), sum) << c.copies;
        } else {
            EXPECT_GT(Left(out, 999), 0.8f) << c.copies;
            EXPECT_LE(Left(out, 999), 1.0f) << c.copies;
        }
        EXPECT_FLOAT_EQ(Right(out, 999), -Left(out, 999)) << c.copies;
    }
    // Louder sums stay louder: the bend keeps their order.
    Mixer two, three;
    Sound sound = MakeSound(Constant(kRate, 2000, 0.5f, 0.5f));
    for (int i = 0; i < 2; ++i) two.Resume(two.Cue(sound));
    for (int i = 0; i < 3; ++i) three.Resume(three.Cue(sound));
    EXPECT_LT(Left(MixFrames(two, 1000), 999), Left(MixFrames(three, 1000), 999));
}

TEST(Mixer, MixAddsToWhatIsThere) {
    Mixer mixer;
    mixer.Resume(mixer.Cue(MakeSound(Constant(kRate, 2000, 0.5f, -0.5f))));
    std::vector<float> out(2000, 0.25f);
    mixer.Mix(out.data(), 1000, kRate);
    EXPECT_FLOAT_EQ(Left(out, 999), 0.75f);
    EXPECT_FLOAT_EQ(Right(out, 999), -0.25f);
}

TEST(Mixer, BadMixArgumentsDoNothing) {
    Mixer mixer;
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 100, 0.5f, 0.5f)));
    mixer.Resume(channel);
    std::vector<float> out(200, 0.0f);
    mixer.Mix(nullptr, 100, kRate);
    mixer.Mix(out.data(), 0, kRate);
    mixer.Mix(out.data(), -4, kRate);
    mixer.Mix(out.data(), 100, 0);
    EXPECT_EQ(AudibleFrames(out), 0u);
    EXPECT_TRUE(mixer.Playing(channel));
    mixer.Mix(out.data(), 100, kRate);
    EXPECT_EQ(AudibleFrames(out), 100u);
}

TEST(Mixer, TheMixerIsOneForTheProcess) {
    Mixer& mixer = TheMixer();
    EXPECT_EQ(&mixer, &TheMixer());
    int64_t channel = mixer.Cue(MakeSound(Constant(kRate, 100, 0.5f, 0.5f)));
    EXPECT_TRUE(TheMixer().Playing(channel));
    TheMixer().Stop(channel);
    EXPECT_FALSE(mixer.Playing(channel));
}

// ---------------------------------------------------------------- streamed

// A stereo test tune: a different tone on each side, loud enough that the
// limiter has work to do at full volume.
Bytes Tune(size_t frames, int rate) {
    std::vector<float> left(frames), right(frames);
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / rate;
        left[i] = static_cast<float>(0.9 * std::sin(2 * 3.141592653589793 * 440.0 * t));
        right[i] = static_cast<float>(0.6 * std::sin(2 * 3.141592653589793 * 97.0 * t));
    }
    return EncodeOgg({left, right}, rate);
}

// The same Ogg bytes as a streamed sound and as a sound decoded whole.
struct TwoWays {
    Bytes bytes;
    Sound streamed;
    Sound whole;
};

TwoWays Prepare(size_t frames, int rate, bool loop) {
    TwoWays both{Tune(frames, rate), {}, {}};
    auto source = std::make_shared<OggSource>();
    EXPECT_TRUE(InspectOgg(both.bytes.data(), both.bytes.size(), *source));
    both.streamed = Sound{"streamed", loop, nullptr, source};
    auto data = std::make_shared<SoundData>();
    EXPECT_TRUE(DecodeOgg(both.bytes.data(), both.bytes.size(), *data));
    both.whole = MakeSound(data, loop);
    return both;
}

// Two channels of one sound, started apart, paused, turned down and
// resumed, mixed in blocks of the given size.
std::vector<float> Scenario(const Sound& sound, int rate, int block, int total) {
    Mixer mixer;
    std::vector<float> out(static_cast<size_t>(total) * 2, 0.0f);
    int at = 0;
    auto mix = [&](int frames) {
        for (int end = std::min(total, at + frames); at < end;) {
            int count = std::min(block, end - at);
            mixer.Mix(out.data() + 2 * at, count, rate);
            at += count;
        }
    };
    int64_t first = mixer.Cue(sound);
    mixer.Resume(first);
    mix(total / 5);
    int64_t second = mixer.Cue(sound);
    mixer.SetVolume(second, 0.5f);
    mixer.Resume(second);
    mix(total / 5);
    mixer.Pause(first);
    mix(total / 5);
    mixer.Resume(first);
    mixer.SetVolume(first, 0.8f);
    mix(total);
    return out;
}

TEST(StreamedSound, PlaysSampleForSampleLikeTheSoundDecodedWhole) {
    struct Case {
        size_t frames;  // of the tune
        int rate;       // of the tune
        int outputRate;
        bool loop;
        int block;
        int total;  // output frames
    };
    // Short loops cross their seam many times; the long tune is several
    // windows long; slower and faster tunes blend between frames, also
    // across the seam.
    for (Case c :
         {Case{3000, kRate, kRate, true, 512, 20000}, Case{50000, kRate, kRate, true, 512, 180000},
          Case{50000, kRate, kRate, false, 441, 80000}, Case{7001, 22050, kRate, true, 1024, 40000},
          Case{9000, 48000, kRate, true, 333, 40000}, Case{4000, 8000, kRate, false, 256, 30000},
          Case{600, kRate, kRate, true, 4096, 20000}}) {
        TwoWays both = Prepare(c.frames, c.rate, c.loop);
        ASSERT_EQ(both.streamed.FrameCount(), c.frames);
        std::vector<float> streamed = Scenario(both.streamed, c.outputRate, c.block, c.total);
        std::vector<float> whole = Scenario(both.whole, c.outputRate, c.block, c.total);
        ASSERT_GT(AudibleFrames(whole), static_cast<size_t>(c.total) / 3) << c.frames;
        size_t differing = 0;
        for (size_t i = 0; i < whole.size(); ++i) {
            differing += streamed[i] != whole[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0u) << c.frames << " frames at " << c.rate << " Hz";
    }
}

TEST(StreamedSound, LongPauseKeepsThePlaceAndResumesFromIt) {
    // Paused for longer than the tune, then resumed: the streamed channel
    // carries on exactly where the whole one does.
    TwoWays both = Prepare(30000, kRate, true);
    auto play = [](const Sound& sound) {
        Mixer mixer;
        int64_t channel = mixer.Cue(sound);
        mixer.Resume(channel);
        MixFrames(mixer, 10000);
        mixer.Pause(channel);
        std::vector<float> paused = MixFrames(mixer, 100000);
        EXPECT_TRUE(mixer.Playing(channel));
        EXPECT_EQ(AudibleFrames(paused),
                  AudibleFrames(std::vector<float>(paused.begin(), paused.begin() + 2 * kSettle)));
        mixer.Resume(channel);
        return MixFrames(mixer, 40000);
    };
    std::vector<float> whole = play(both.whole);
    EXPECT_GT(AudibleFrames(whole), 39000u);
    EXPECT_EQ(play(both.streamed), whole);
}

TEST(StreamedSound, OneShotEndsAndStopSoundReachesStreamedChannels) {
    TwoWays once = Prepare(5000, kRate, false);
    TwoWays loop = Prepare(5000, kRate, true);
    Mixer mixer;
    int64_t shot = mixer.Cue(once.streamed);
    mixer.Resume(shot);
    int64_t looping = mixer.Cue(loop.streamed);
    mixer.Resume(looping);
    MixFrames(mixer, 6000);
    EXPECT_FALSE(mixer.Playing(shot));
    EXPECT_TRUE(mixer.Playing(looping));
    // Stopping the whole copy of the same bytes leaves the streamed one alone.
    mixer.StopSound(loop.whole);
    EXPECT_TRUE(mixer.Playing(looping));
    mixer.StopSound(loop.streamed);
    EXPECT_FALSE(mixer.Playing(looping));
    MixFrames(mixer, kSettle);
    EXPECT_EQ(mixer.ChannelCount(), 0u);
}

TEST(StreamedSound, WindowKeepsAFractionOfASecondAheadAndNoMore) {
    TwoWays both = Prepare(100000, kRate, false);
    const std::vector<float>& frames = both.whole.data->frames;
    StreamWindow window(*both.streamed.stream, false);
    // Made ready ahead, before any frame is asked for.
    EXPECT_GE(window.DecodedEnd(), StreamWindow::AHEAD);
    for (uint64_t at : {uint64_t{0}, uint64_t{100}, uint64_t{20000}, uint64_t{99000}}) {
        window.FillAhead(at);
        uint64_t last = std::min<uint64_t>(at + StreamWindow::AHEAD, 100000);
        EXPECT_GE(window.DecodedEnd(), last) << at;
        EXPECT_LE(window.DecodedEnd(), std::max(last, at + StreamWindow::RING)) << at;
        for (uint64_t index : {at, last - 1}) {
            const float* frame = window.Frame(index, at);
            EXPECT_EQ(frame[0], frames[2 * index]) << index;
            EXPECT_EQ(frame[1], frames[2 * index + 1]) << index;
        }
    }
    // Past a one-shot's end there is only silence.
    EXPECT_EQ(window.Frame(100000, 99999)[0], 0.0f);
    EXPECT_EQ(window.DecodedEnd(), 100000u);
}

TEST(Mixer, GameAndAudioThreadsShareTheChannels) {
    Mixer mixer;
    std::atomic<bool> done{false};
    std::atomic<bool> outOfRange{false};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        std::vector<float> out(2 * 256);
        while (!done.load()) {
            std::fill(out.begin(), out.end(), 0.0f);
            mixer.Mix(out.data(), 256, kRate);
            for (float sample : out) {
                if (!(std::fabs(sample) <= 1.0f)) {
                    outOfRange.store(true);
                }
            }
            blocks.fetch_add(1);
            std::this_thread::yield();
        }
    });

    Sound shortSound = MakeSound(Constant(11025, 300, 0.3f, 0.3f));
    Sound longSound = MakeSound(Ramp(8000, 20000));
    Sound loop = MakeSound(Constant(kRate, 500, 0.2f, -0.2f), true);
    TwoWays music = Prepare(4000, kRate, true);
    std::mt19937 random(7);
    std::vector<int64_t> channels;
    int64_t last = 0;
    auto waitForBlocks = [&](int count) {
        int start = blocks.load();
        while (blocks.load() < start + count) {
            std::this_thread::yield();
        }
    };
    for (int step = 0; step < 5000; ++step) {
        if (step % 100 == 0) {
            waitForBlocks(1);  // make sure mixing goes on between the changes
        }
        int action = static_cast<int>(random() % 8);
        if (action < 2 || channels.empty()) {
            const Sound& sound = action == 0     ? shortSound
                                 : step % 3 == 0 ? loop
                                 : step % 3 == 1 ? music.streamed
                                                 : longSound;
            int64_t channel = mixer.Cue(sound);
            EXPECT_GT(channel, last);
            last = channel;
            channels.push_back(channel);
            continue;
        }
        int64_t channel = channels[random() % channels.size()];
        switch (action) {
            case 2:
                mixer.Resume(channel);
                break;
            case 3:
                mixer.Pause(channel);
                break;
            case 4:
                mixer.SetVolume(channel, static_cast<float>(random() % 100) / 100.0f);
                break;
            case 5:
                mixer.Stop(channel);
                EXPECT_FALSE(mixer.Playing(channel));
                break;
            case 6:
                if (!mixer.Playing(channel)) {
                    channels.erase(std::find(channels.begin(), channels.end(), channel));
                }
                break;
            default:
                if (step % 500 == 0) {
                    mixer.StopSound(longSound);
                }
                if (step % 700 == 0) {
                    mixer.StopSound(music.streamed);
                }
                mixer.ChannelCount();
                break;
        }
    }

    // Everything stopped: the audio thread fades the rest out and drops it.
    for (int64_t channel : channels) {
        mixer.Stop(channel);
    }
    mixer.StopSound(loop);
    mixer.StopSound(music.streamed);
    waitForBlocks(4);
    done.store(true);
    audio.join();
    EXPECT_FALSE(outOfRange.load());
    EXPECT_EQ(mixer.ChannelCount(), 0u);
}

}  // namespace

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>

#include "platform/mixer.h"
#include "shell/game_state.h"
#include "shell/main_loop.h"
#include "sound/sound_effect.h"
#include "tests/game_fixture.h"

namespace {

class SoundEffects : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        backend->captureAudio = true;
    }
    // Lets the virtual clock run, mixing what plays into the capture.
    std::vector<float> Listen(uint32_t millis) {
        backend->audio.clear();
        backend->Advance(uint64_t{millis} * 1000);
        return backend->audio;
    }
    static double Loudness(const std::vector<float>& samples) {
        double sum = 0;
        for (float sample : samples) {
            sum += double{sample} * sample;
        }
        return samples.empty() ? 0.0 : std::sqrt(sum / samples.size());
    }
    // The embedded music decoded whole, as a yardstick for the streamed one.
    static SoundData DecodedMusic() {
        EmbeddedBytes bytes = IncbinOpen("incbin::music/thefly.ogg");
        SoundData music;
        EXPECT_TRUE(DecodeOgg(bytes.data, bytes.length, music));
        return music;
    }
    static double Seconds(const Sound* sound) {
        return static_cast<double>(sound->FrameCount()) / sound->Rate();
    }
};

TEST_F(SoundEffects, TheEmbeddedSoundsHaveTheirLengthsAndTheMusicLoops) {
    struct Case {
        Sound* sound;
        int rate;
        double seconds;
    };
    for (Case c : {Case{sndFire, 11025, 0.48}, Case{sndAlienExplosion, 11025, 0.43},
                   Case{sndShipExplosion, 8000, 0.91}, Case{sndLife, 8000, 0.81}}) {
        EXPECT_EQ(c.sound->Rate(), c.rate) << c.sound->name;
        EXPECT_NEAR(Seconds(c.sound), c.seconds, 0.02) << c.sound->name;
        EXPECT_FALSE(c.sound->loop) << c.sound->name;
    }
    EXPECT_EQ(sndMusic->Rate(), 44100);
    EXPECT_GE(Seconds(sndMusic), 30.0);
    EXPECT_TRUE(sndMusic->loop);
}

TEST_F(SoundEffects, EveryPlayGetsAChannelOfItsOwnAndIsHeard) {
    EXPECT_LT(Loudness(Listen(50)), 1e-6);
    TSoundEffect* first = TSoundEffect::Play(sndFire, 1.0f, 0);
    double one = Loudness(Listen(20));
    TSoundEffect* second = TSoundEffect::Play(sndFire, 1.0f, 0);
    EXPECT_NE(first->channel, second->channel);
    EXPECT_EQ(soundEffectList->Count(), 2u);
    EXPECT_TRUE(ChannelPlaying(first->channel));
    EXPECT_TRUE(ChannelPlaying(second->channel));
    EXPECT_GT(one, 0.01);
    EXPECT_GT(Loudness(Listen(20)), 0.0);
}

TEST_F(SoundEffects, FinishedEffectsLeaveTheListWithinATickButTheMusicStays) {
    StartMusic();
    TSoundEffect::Play(sndAlienExplosion, 1.0f, 0);
    TSoundEffect::UpdateAll();
    EXPECT_EQ(soundEffectList->Count(), 2u);
    Listen(440);  // a little past the effect's 0.43 s
    TSoundEffect::UpdateAll();
    ASSERT_EQ(soundEffectList->Count(), 1u);
    EXPECT_EQ(soundEffectList->At(0), musicEffect);
    Listen(60000);  // past the music's own length: it loops on
    TSoundEffect::UpdateAll();
    EXPECT_EQ(soundEffectList->Count(), 1u);
    EXPECT_GT(Loudness(Listen(200)), 0.01);
}

TEST_F(SoundEffects, MusicToggledOffFallsSilentAndComesBackWhereItStopped) {
    StartMusic();
    EXPECT_GT(Loudness(Listen(500)), 0.01);
    ToggleMusic();
    Listen(10);  // the fade out
    EXPECT_LT(Loudness(Listen(1000)), 1e-6);
    EXPECT_TRUE(ChannelPlaying(musicEffect->channel));
    ToggleMusic();
    std::vector<float> resumed = Listen(200);
    EXPECT_GT(Loudness(resumed), 0.01);
    // Played 500 ms, then paused: what follows is the music from about
    // half a second in, not from its start.
    const std::vector<float> music = DecodedMusic().frames;
    auto distance = [&](size_t offset) {
        double sum = 0;
        for (size_t i = 2000; i < 6000; ++i) {
            sum += std::fabs(resumed[i] - 0.7f * music[offset * 2 + i]);
        }
        return sum;
    };
    size_t best = 0;
    for (size_t frame = 0; frame < 44100; frame += 4) {
        if (distance(frame) < distance(best)) {
            best = frame;
        }
    }
    EXPECT_NEAR(static_cast<double>(best) / 44100, 0.5, 0.02);
}

TEST_F(SoundEffects, TheMusicDecodesToWhatAPlainReadThroughGives) {
    EmbeddedBytes bytes = IncbinOpen("incbin::music/thefly.ogg");
    std::vector<unsigned char> copy(bytes.data, bytes.data + bytes.length);
    FILE* file = fmemopen(copy.data(), copy.size(), "rb");
    ASSERT_NE(file, nullptr);
    OggVorbis_File plain;
    ASSERT_EQ(ov_open(file, &plain, nullptr, 0), 0);  // closes the file when cleared
    ASSERT_EQ(ov_info(&plain, -1)->channels, 2);
    std::vector<float> expected;
    for (;;) {
        float** pcm = nullptr;
        int link = 0;
        long got = ov_read_float(&plain, &pcm, 4096, &link);
        ASSERT_GE(got, 0);
        if (got == 0) {
            break;
        }
        for (long i = 0; i < got; ++i) {
            expected.push_back(std::clamp(pcm[0][i], -1.0f, 1.0f));
            expected.push_back(std::clamp(pcm[1][i], -1.0f, 1.0f));
        }
    }
    ov_clear(&plain);
    EXPECT_EQ(sndMusic->FrameCount(), expected.size() / 2);
    EXPECT_TRUE(DecodedMusic().frames == expected);
}

TEST_F(SoundEffects, TheStreamedMusicSoundsLikeTheWholeDecodedOneAcrossItsLoop) {
    SoundData whole = DecodedMusic();
    const uint32_t songMillis =
        static_cast<uint32_t>(1000 * whole.FrameCount() / static_cast<size_t>(whole.rate));
    StartMusic();
    std::vector<float> heard = Listen(songMillis + 1500);
    ASSERT_GT(heard.size() / 2, whole.FrameCount() + 44100);

    // The same music through the mixer as it was played before streaming.
    Mixer mixer;
    int64_t channel =
        mixer.Cue(Sound{"whole", true, std::make_shared<const SoundData>(std::move(whole)), {}});
    mixer.SetVolume(channel, musicVolume);
    mixer.Resume(channel);
    std::vector<float> expected(heard.size(), 0.0f);
    for (size_t at = 0; at < expected.size() / 2; at += 512) {
        int count = static_cast<int>(std::min<size_t>(512, expected.size() / 2 - at));
        mixer.Mix(expected.data() + 2 * at, count, HeadlessBackend::AUDIO_RATE);
    }
    size_t differing = 0;
    for (size_t i = 0; i < heard.size(); ++i) {
        differing += heard[i] != expected[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(Loudness(heard), 0.01);
}

TEST_F(SoundEffects, StoppingTheMusicAtExitSilencesAndReleasesIt) {
    StartMusic();
    Channel channel = musicEffect->channel;
    StopMusic();
    EXPECT_FALSE(ChannelPlaying(channel));
    EXPECT_EQ(sndMusic, nullptr);
    Listen(20);
    EXPECT_LT(Loudness(Listen(100)), 1e-6);
}

TEST_F(SoundEffects, WhilePausedTheSoundsPlayOnAndFinishedEffectsAreStillDropped) {
    StartMusic();
    StartPlaying();
    paused = 1;
    StartTickClock();
    Channel shot = TSoundEffect::Play(sndFire, 1.0f, 0)->channel;
    auto passesFor = [&](uint32_t millis) {
        backend->audio.clear();
        uint32_t start = backend->Millis();
        while (backend->Millis() - start < millis) {
            RunPass();
        }
        return backend->audio;
    };
    passesFor(200);
    EXPECT_TRUE(ChannelPlaying(shot));
    EXPECT_EQ(SoundCount(), 2u);
    passesFor(400);  // past the shot's 0.48 s
    EXPECT_FALSE(ChannelPlaying(shot));
    ASSERT_EQ(SoundCount(), 1u);
    EXPECT_EQ(soundEffectList->At(0), musicEffect);
    EXPECT_GT(Loudness(passesFor(500)), 0.01);  // the music is heard
    EXPECT_EQ(paused, 1);
}

}  // namespace

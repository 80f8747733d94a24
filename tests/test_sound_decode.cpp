// The WAV and Ogg Vorbis readers on files made here: exact sample values,
// channel handling, skipped chunks, and damaged or cut-off data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "tests/ogg_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void Put16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(Bytes& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<unsigned char>((value >> shift) & 0xFF));
    }
}

void PutChunk(Bytes& bytes, const std::string& tag, const Bytes& body, bool pad = true) {
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    Put32(bytes, static_cast<uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (pad && body.size() % 2 == 1) {
        bytes.push_back(0);
    }
}

struct Format {
    uint16_t encoding = 1;
    uint16_t channels = 1;
    uint32_t rate = 11025;
    uint16_t bits = 16;
    int blockAlign = -1;  // -1: the right value
    size_t size = 16;
};

Bytes FormatBody(const Format& format) {
    Bytes body;
    uint16_t blockAlign = format.blockAlign >= 0
                              ? static_cast<uint16_t>(format.blockAlign)
                              : static_cast<uint16_t>(format.channels * format.bits / 8);
    Put16(body, format.encoding);
    Put16(body, format.channels);
    Put32(body, format.rate);
    Put32(body, format.rate * blockAlign);
    Put16(body, blockAlign);
    Put16(body, format.bits);
    body.resize(format.size, 0);
    return body;
}

// "RIFF" size "WAVE" followed by the given chunks.
Bytes Riff(const Bytes& chunks) {
    Bytes bytes{'R', 'I', 'F', 'F'};
    Put32(bytes, static_cast<uint32_t>(4 + chunks.size()));
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E'});
    bytes.insert(bytes.end(), chunks.begin(), chunks.end());
    return bytes;
}

Bytes Wav(const Format& format, const Bytes& samples) {
    Bytes chunks;
    PutChunk(chunks, "fmt ", FormatBody(format));
    PutChunk(chunks, "data", samples);
    return Riff(chunks);
}

Bytes Samples16(const std::vector<int16_t>& values) {
    Bytes bytes;
    for (int16_t value : values) {
        Put16(bytes, static_cast<uint16_t>(value));
    }
    return bytes;
}

bool Wav(const Bytes& bytes, SoundData& out) {
    return DecodeWav(bytes.data(), bytes.size(), out);
}
bool Ogg(const Bytes& bytes, SoundData& out) {
    return DecodeOgg(bytes.data(), bytes.size(), out);
}

// ---------------------------------------------------------------- WAV

TEST(DecodeWav, EightBitMonoIsCentredOn128) {
    Format format;
    format.bits = 8;
    format.rate = 8000;
    SoundData sound;
    ASSERT_TRUE(Wav(Wav(format, {0, 128, 255, 64, 192}), sound));
    EXPECT_EQ(sound.rate, 8000);
    ASSERT_EQ(sound.FrameCount(), 5u);
    const float expected[] = {-1.0f, 0.0f, 127.0f / 128.0f, -0.5f, 0.5f};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(sound.frames[2 * i], expected[i]) << i;
        EXPECT_FLOAT_EQ(sound.frames[2 * i + 1], expected[i]) << i;
    }
}

TEST(DecodeWav, SixteenBitMonoIsSignedLittleEndian) {
    Format format;
    SoundData sound;
    ASSERT_TRUE(Wav(Wav(format, Samples16({-32768, 0, 16384, 32767, -8192, 1})), sound));
    EXPECT_EQ(sound.rate, 11025);
    ASSERT_EQ(sound.FrameCount(), 6u);
    const float expected[] = {-1.0f, 0.0f, 0.5f, 32767.0f / 32768.0f, -0.25f, 1.0f / 32768.0f};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(sound.frames[2 * i], expected[i]) << i;
        EXPECT_FLOAT_EQ(sound.frames[2 * i + 1], expected[i]) << i;
    }
}

TEST(DecodeWav, StereoKeepsItsSides) {
    Format format;
    format.channels = 2;
    format.rate = 44100;
    SoundData sound;
    ASSERT_TRUE(Wav(Wav(format, Samples16({16384, -16384, 0, 8192})), sound));
    EXPECT_EQ(sound.rate, 44100);
    ASSERT_EQ(sound.FrameCount(), 2u);
    EXPECT_FLOAT_EQ(sound.frames[0], 0.5f);
    EXPECT_FLOAT_EQ(sound.frames[1], -0.5f);
    EXPECT_FLOAT_EQ(sound.frames[2], 0.0f);
    EXPECT_FLOAT_EQ(sound.frames[3], 0.25f);

    format.bits = 8;
    ASSERT_TRUE(Wav(Wav(format, {255, 0, 128, 192}), sound));
    ASSERT_EQ(sound.FrameCount(), 2u);
    EXPECT_FLOAT_EQ(sound.frames[0], 127.0f / 128.0f);
    EXPECT_FLOAT_EQ(sound.frames[1], -1.0f);
    EXPECT_FLOAT_EQ(sound.frames[2], 0.0f);
    EXPECT_FLOAT_EQ(sound.frames[3], 0.5f);
}

TEST(DecodeWav, AnyRateIsKept) {
    for (uint32_t rate : {1u, 8000u, 11025u, 22050u, 96000u, 192000u}) {
        Format format;
        format.rate = rate;
        SoundData sound;
        ASSERT_TRUE(Wav(Wav(format, Samples16({1, 2})), sound)) << rate;
        EXPECT_EQ(sound.rate, static_cast<int>(rate));
    }
}

TEST(DecodeWav, UnknownChunksAreSkippedWithTheirPadByte) {
    Bytes chunks;
    PutChunk(chunks, "LIST", {'a', 'b', 'c'});  // odd: one pad byte follows
    PutChunk(chunks, "fmt ", FormatBody(Format{}));
    PutChunk(chunks, "fact", {1, 0, 0, 0});
    PutChunk(chunks, "junk", {9});
    PutChunk(chunks, "data", Samples16({16384, -16384}));
    PutChunk(chunks, "cue ", {1, 2, 3, 4, 5});
    SoundData sound;
    ASSERT_TRUE(Wav(Riff(chunks), sound));
    ASSERT_EQ(sound.FrameCount(), 2u);
    EXPECT_FLOAT_EQ(sound.frames[0], 0.5f);
    EXPECT_FLOAT_EQ(sound.frames[2], -0.5f);
}

TEST(DecodeWav, DataMayComeBeforeTheFormat) {
    Bytes chunks;
    PutChunk(chunks, "data", Samples16({8192}));
    PutChunk(chunks, "fmt ", FormatBody(Format{}));
    SoundData sound;
    ASSERT_TRUE(Wav(Riff(chunks), sound));
    ASSERT_EQ(sound.FrameCount(), 1u);
    EXPECT_FLOAT_EQ(sound.frames[0], 0.25f);
}

TEST(DecodeWav, LongerFormatChunkIsAccepted) {
    Format format;
    format.size = 18;  // with the zero extension size some writers add
    SoundData sound;
    ASSERT_TRUE(Wav(Wav(format, Samples16({-16384})), sound));
    EXPECT_FLOAT_EQ(sound.frames[0], -0.5f);
}

TEST(DecodeWav, OddDataAtTheEndNeedsNoPadByte) {
    Format format;
    format.bits = 8;
    Bytes chunks;
    PutChunk(chunks, "fmt ", FormatBody(format));
    PutChunk(chunks, "data", {128, 255, 0}, false);
    SoundData sound;
    ASSERT_TRUE(Wav(Riff(chunks), sound));
    EXPECT_EQ(sound.FrameCount(), 3u);
}

TEST(DecodeWav, PartialLastFrameIsLeftOut) {
    Format format;
    format.channels = 2;
    Bytes samples = Samples16({100, 200, 300});  // one and a half frames
    SoundData sound;
    ASSERT_TRUE(Wav(Wav(format, samples), sound));
    ASSERT_EQ(sound.FrameCount(), 1u);
    EXPECT_FLOAT_EQ(sound.frames[1], 200.0f / 32768.0f);
}

TEST(DecodeWav, EmptyDataIsAnEmptySound) {
    SoundData sound;
    sound.frames = {0.5f, 0.5f};
    ASSERT_TRUE(Wav(Wav(Format{}, {}), sound));
    EXPECT_EQ(sound.FrameCount(), 0u);
}

TEST(DecodeWav, EveryCutOffFileIsRejected) {
    Bytes whole = Wav(Format{}, Samples16({1, 2, 3, 4, 5, 6, 7, 8}));
    SoundData sound;
    ASSERT_TRUE(Wav(whole, sound));
    for (size_t length = 0; length < whole.size(); ++length) {
        sound.frames = {0.125f, 0.125f};
        EXPECT_FALSE(DecodeWav(whole.data(), length, sound)) << length;
        // A failed decode leaves the output alone.
        EXPECT_EQ(sound.FrameCount(), 1u);
    }
    EXPECT_FALSE(DecodeWav(nullptr, 0, sound));
}

TEST(DecodeWav, UnsupportedOrBrokenHeadersAreRejected) {
    Bytes samples = Samples16({1, 2, 3, 4});
    SoundData sound;
    auto rejects = [&](const Format& format) { return !Wav(Wav(format, samples), sound); };

    Format floats;
    floats.encoding = 3;
    Format adpcm;
    adpcm.encoding = 2;
    Format extensible;
    extensible.encoding = 0xFFFE;
    Format deep;
    deep.bits = 24;
    Format nibbles;
    nibbles.bits = 4;
    Format silent;
    silent.channels = 0;
    Format surround;
    surround.channels = 3;
    Format still;
    still.rate = 0;
    Format misaligned;
    misaligned.blockAlign = 4;
    Format shortFormat;
    shortFormat.size = 14;
    for (const Format& format : {floats, adpcm, extensible, deep, nibbles, silent, surround, still,
                                 misaligned, shortFormat}) {
        EXPECT_TRUE(rejects(format));
    }
}

TEST(DecodeWav, MissingPartsAreRejected) {
    SoundData sound;
    Bytes noFormat;
    PutChunk(noFormat, "data", Samples16({1}));
    EXPECT_FALSE(Wav(Riff(noFormat), sound));

    Bytes noData;
    PutChunk(noData, "fmt ", FormatBody(Format{}));
    EXPECT_FALSE(Wav(Riff(noData), sound));

    Bytes good = Wav(Format{}, Samples16({1}));
    Bytes notRiff = good;
    notRiff[0] = 'X';
    EXPECT_FALSE(Wav(notRiff, sound));
    Bytes notWave = good;
    notWave[8] = 'A';
    EXPECT_FALSE(Wav(notWave, sound));
}

TEST(DecodeWav, ChunkLongerThanTheFileIsRejected) {
    Bytes chunks;
    PutChunk(chunks, "fmt ", FormatBody(Format{}));
    PutChunk(chunks, "data", Samples16({1, 2}));
    Bytes bytes = Riff(chunks);
    for (uint32_t size : {6u, 0x7FFFFFFFu, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
        Bytes damaged = bytes;
        size_t at = damaged.size() - 4 - 4;  // the data chunk's size field
        for (int i = 0; i < 4; ++i) {
            damaged[at + i] = static_cast<unsigned char>(size >> (8 * i));
        }
        SoundData sound;
        EXPECT_FALSE(Wav(damaged, sound)) << size;
    }
}

TEST(DecodeWav, GarbageNeverCrashes) {
    std::mt19937 random(11);
    Bytes good = Wav(Format{}, Samples16({100, -100, 200, -200, 300, -300}));
    SoundData sound;
    int rejected = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes;
        if (round % 3 == 0) {
            bytes.resize(random() % 80);
            for (unsigned char& byte : bytes) {
                byte = static_cast<unsigned char>(random());
            }
        } else {
            bytes = good;
            for (int flips = 1 + random() % 4; flips > 0; --flips) {
                bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
            }
        }
        if (Wav(bytes, sound)) {
            // Whatever was accepted is well formed.
            ASSERT_EQ(sound.frames.size() % 2, 0u);
            ASSERT_GT(sound.rate, 0);
            for (float sample : sound.frames) {
                ASSERT_LE(std::fabs(sample), 1.0f);
            }
        } else {
            ++rejected;
        }
    }
    EXPECT_GT(rejected, 1000);
}

// ---------------------------------------------------------------- Ogg

std::vector<float> Sine(size_t frames, int rate, double hertz, float level) {
    std::vector<float> wave(frames);
    for (size_t i = 0; i < frames; ++i) {
        wave[i] = level * static_cast<float>(std::sin(2.0 * kPi * hertz * i / rate));
    }
    return wave;
}

double Rms(const SoundData& sound, int side) {
    double sum = 0;
    for (size_t i = 0; i < sound.FrameCount(); ++i) {
        double sample = sound.frames[2 * i + side];
        sum += sample * sample;
    }
    return std::sqrt(sum / std::max<size_t>(1, sound.FrameCount()));
}

TEST(DecodeOgg, MonoIsHeardOnBothSides) {
    const size_t frames = 5512;  // a quarter second
    Bytes bytes = EncodeOgg({Sine(frames, 22050, 440.0, 0.5f)}, 22050);
    ASSERT_FALSE(bytes.empty());
    SoundData sound;
    ASSERT_TRUE(Ogg(bytes, sound));
    EXPECT_EQ(sound.rate, 22050);
    EXPECT_EQ(sound.FrameCount(), frames);
    for (size_t i = 0; i < sound.FrameCount(); ++i) {
        ASSERT_EQ(sound.frames[2 * i], sound.frames[2 * i + 1]) << i;
        ASSERT_LE(std::fabs(sound.frames[2 * i]), 1.0f);
    }
    // A 0.5 sine has an RMS of about 0.35.
    EXPECT_NEAR(Rms(sound, 0), 0.5 / std::sqrt(2.0), 0.05);
}

TEST(DecodeOgg, StereoKeepsItsSides) {
    const size_t frames = 11025;
    Bytes bytes =
        EncodeOgg({Sine(frames, 44100, 330.0, 0.6f), std::vector<float>(frames, 0.0f)}, 44100);
    ASSERT_FALSE(bytes.empty());
    SoundData sound;
    ASSERT_TRUE(Ogg(bytes, sound));
    EXPECT_EQ(sound.rate, 44100);
    EXPECT_EQ(sound.FrameCount(), frames);
    EXPECT_GT(Rms(sound, 0), 0.3);
    EXPECT_LT(Rms(sound, 1), 0.05);
}

TEST(DecodeOgg, MoreThanTwoChannelsKeepTheFirstTwo) {
    const size_t frames = 8000;
    std::vector<float> quiet(frames, 0.0f);
    Bytes bytes = EncodeOgg({quiet, Sine(frames, 32000, 500.0, 0.6f), quiet}, 32000);
    ASSERT_FALSE(bytes.empty());
    SoundData sound;
    ASSERT_TRUE(Ogg(bytes, sound));
    EXPECT_EQ(sound.rate, 32000);
    EXPECT_EQ(sound.FrameCount(), frames);
    EXPECT_LT(Rms(sound, 0), 0.05);
    EXPECT_GT(Rms(sound, 1), 0.3);
}

TEST(DecodeOgg, CutOffStreamIsRejected) {
    Bytes whole = EncodeOgg({Sine(22050, 22050, 440.0, 0.5f)}, 22050);
    ASSERT_FALSE(whole.empty());
    SoundData sound;
    ASSERT_TRUE(Ogg(whole, sound));
    for (size_t length : {size_t{0}, size_t{1}, size_t{27}, size_t{100}, whole.size() / 4,
                          whole.size() / 2, whole.size() - 100, whole.size() - 1}) {
        sound.frames = {0.125f, 0.125f};
        EXPECT_FALSE(DecodeOgg(whole.data(), length, sound)) << length;
        EXPECT_EQ(sound.FrameCount(), 1u);
    }
    EXPECT_FALSE(DecodeOgg(nullptr, 0, sound));
}

TEST(DecodeOgg, DamagedBytesAreRejected) {
    Bytes whole = EncodeOgg({Sine(22050, 22050, 440.0, 0.5f)}, 22050);
    ASSERT_FALSE(whole.empty());
    SoundData sound;
    for (size_t at :
         {size_t{5}, size_t{40}, whole.size() / 3, whole.size() / 2, whole.size() - 10}) {
        Bytes damaged = whole;
        damaged[at] ^= 0x5A;
        EXPECT_FALSE(Ogg(damaged, sound)) << at;
    }
    Bytes trailing = whole;
    trailing.insert(trailing.end(), {1, 2, 3});
    EXPECT_FALSE(Ogg(trailing, sound));
}

TEST(DecodeOgg, OtherDataIsRejected) {
    std::mt19937 random(5);
    SoundData sound;
    for (int round = 0; round < 200; ++round) {
        Bytes bytes(random() % 400);
        for (unsigned char& byte : bytes) {
            byte = static_cast<unsigned char>(random());
        }
        if (round % 2 == 0 && bytes.size() >= 4) {
            bytes[0] = 'O';
            bytes[1] = 'g';
            bytes[2] = 'g';
            bytes[3] = 'S';
        }
        EXPECT_FALSE(Ogg(bytes, sound)) << round;
    }
    EXPECT_FALSE(Ogg(Wav(Format{}, Samples16({1, 2, 3})), sound));
}

TEST(DecodeWav, OggIsNotAWav) {
    Bytes ogg = EncodeOgg({Sine(4000, 8000, 200.0, 0.5f)}, 8000);
    ASSERT_FALSE(ogg.empty());
    SoundData sound;
    EXPECT_FALSE(Wav(ogg, sound));
}

// The music's header with another sampling rate, its page checksum put right.
Bytes WithRate(Bytes ogg, uint32_t rate) {
    const std::string id = "\x01vorbis";
    auto found = std::search(ogg.begin(), ogg.end(), id.begin(), id.end());
    // After the packet type and name: a 32-bit version, the channel count, the rate.
    size_t at = static_cast<size_t>(found - ogg.begin()) + id.size() + 5;
    for (int shift = 0; shift < 32; shift += 8) {
        ogg[at++] = static_cast<unsigned char>(rate >> shift);
    }
    ogg_page first;
    first.header = ogg.data();
    first.header_len = 27 + ogg[26];
    first.body = ogg.data() + first.header_len;
    first.body_len = 0;
    for (int segment = 0; segment < ogg[26]; ++segment) {
        first.body_len += ogg[27 + segment];
    }
    ogg_page_checksum_set(&first);
    return ogg;
}

TEST(LoadSound, MusicWithARateBeyond32BitsIsRefusedRatherThanEndingAtOnce) {
    HeadlessBackend backend;
    InstallBackend(&backend);
    const Bytes ogg = EncodeOgg({Sine(4000, 8000, 200.0, 0.5f)}, 8000);
    struct Case {
        uint32_t rate;
        bool loads;
        uint32_t playMicros;  // a few times round the loop at that rate
    };
    for (Case c :
         {Case{8000, true, 1500 * 1000}, Case{0x7FFFFFFFu, true, 100}, Case{0x80000000u, false, 0},
          Case{4287387170u, false, 0}, Case{0xFFFFFFFFu, false, 0}}) {
        const Bytes bytes = WithRate(ogg, c.rate);
        IncbinRegister("test/rate.ogg", bytes.data(), bytes.size());
        Sound* sound = LoadSound("incbin::test/rate.ogg", SOUND_LOOP);
        ASSERT_EQ(sound != nullptr, c.loads) << c.rate;
        if (sound != nullptr) {
            // Loaded, the looping sound plays on until stopped.
            Channel channel = CueSound(sound);
            ResumeChannel(channel);
            backend.Advance(c.playMicros);
            EXPECT_TRUE(ChannelPlaying(channel)) << c.rate;
            FreeSound(sound);
        }
    }
    TheMixer().Clear();
}

}  // namespace

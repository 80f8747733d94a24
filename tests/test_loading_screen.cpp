#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"
#include "shell/embedded_files.h"
#include "shell/resources.h"
#include "tests/game_fixture.h"

namespace {

class LoadingScreen : public ::testing::Test {
protected:
    void SetUp() override {
        backend.pumpMicros = 0;
        InstallBackend(&backend);
        ReleaseGameAssets();
        RegisterEmbeddedFiles();
        backend.onFlip = [this](HeadlessBackend& b) { flipTimes.push_back(b.Millis()); };
    }
    void TearDown() override { ReleaseGameAssets(); }

    // Runs the loading and the introduction; the virtual time it took.
    uint32_t Load() {
        uint32_t start = backend.Millis();
        LoadResources();
        return backend.Millis() - start;
    }
    int FadeFrames() const {
        int count = 0;
        for (const DrawCall& call : backend.calls) {
            count += call.kind == DrawCall::FLIP && call.sync == 0 ? 1 : 0;
        }
        return count;
    }

    HeadlessBackend backend;
    std::vector<uint32_t> flipTimes;
};

TEST_F(LoadingScreen, WithoutAKeyTheIntroductionRunsAllFivePhases) {
    uint32_t took = Load();
    ASSERT_EQ(FadeFrames(), 2 * 101);
    ASSERT_EQ(flipTimes.size(), 1u + 2 * 101);
    // Hold 5 s after the first screen, fade, hold 2 s, fade, hold 5 s.
    EXPECT_EQ(flipTimes[1] - flipTimes[0], 13u + 5001u);
    EXPECT_EQ(flipTimes[102] - flipTimes[101], 10u + 2001u);
    EXPECT_EQ(took, 13u + 5001u + 2 * 101 * 10u + 2001u + 5001u);
    for (Image** picture : allPictures) {
        EXPECT_NE(*picture, nullptr);
    }
    EXPECT_EQ(ImageFrames(imgFont), 40);
    EXPECT_EQ(ImageFrames(imgExplosion), 9);
    EXPECT_EQ(ImageFrames(imgDigits), 10);
}

TEST_F(LoadingScreen, FirstScreenShowsTheLogoAndTheTextsInTheBuiltInFont) {
    backend.PressAt(20, KEY_ESCAPE);
    Load();
    const std::vector<DrawCall>& calls = backend.calls;
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0].kind, DrawCall::CLEAR);
    EXPECT_EQ(calls[1].image, imgLogoLarge);
    EXPECT_FLOAT_EQ(calls[1].left, 512 - 240);
    EXPECT_FLOAT_EQ(calls[1].top, 384 - 160);
    EXPECT_EQ(calls[1].state.blend, BLEND_ALPHA);
    EXPECT_EQ(calls[2].kind, DrawCall::TEXT);
    EXPECT_EQ(calls[2].left, 0);
    EXPECT_EQ(calls[2].top, 752);
    EXPECT_EQ(calls[3].name, "v1.31");
    EXPECT_EQ(calls[3].left + TextWidth("v1.31"), 1024);
    EXPECT_EQ(calls[4].kind, DrawCall::FLIP);
    EXPECT_EQ(calls[4].sync, -1);
}

TEST_F(LoadingScreen, CrossFadeMixesThePicturesWhileTheTextsStayOpaque) {
    Load();
    // The first fade frame: presents at 0, the logo at full strength; the
    // last: presents at full strength, the logo just above nothing.
    std::vector<DrawCall> presents = CallsOf(backend.calls, imgPresents);
    std::vector<DrawCall> logo = CallsOf(backend.calls, imgLogoLarge);
    ASSERT_EQ(logo.size(), 1u + 101);
    EXPECT_FLOAT_EQ(presents.front().state.alpha, 0.0f);
    EXPECT_FLOAT_EQ(logo[1].state.alpha, 1.0f);
    EXPECT_FLOAT_EQ(presents[100].state.alpha, 1.0f);
    EXPECT_GT(logo.back().state.alpha, 0.0f);
    EXPECT_LT(logo.back().state.alpha, 1e-6f);
    for (const DrawCall& text : TextsOf(backend.calls)) {
        EXPECT_FLOAT_EQ(text.state.alpha, 1.0f);
    }
    std::vector<DrawCall> title = CallsOf(backend.calls, imgLoadTitle);
    ASSERT_EQ(title.size(), 101u);
    EXPECT_FLOAT_EQ(title.front().left, 512 - 229);  // 458 wide, centred
}

TEST_F(LoadingScreen, SpaceOrEscapeEndsTheIntroductionAtOnce) {
    struct Case {
        uint32_t at;
        int key;
        int fadeFrames;
    };
    // 13 ms for the first screen; the first fade starts at 5014.
    for (Case c : {Case{100, KEY_SPACE, 0}, Case{3000, KEY_ESCAPE, 0},
                   Case{5014 + 10 * 20, KEY_SPACE, 21}, Case{8000, KEY_ESCAPE, 101}}) {
        ReleaseGameAssets();
        backend.calls.clear();
        flipTimes.clear();
        backend.SetClock(0);
        backend.PressAt(c.at, c.key);
        Load();
        EXPECT_EQ(FadeFrames(), c.fadeFrames) << c.at;
        EXPECT_LE(backend.Millis(), c.at + 11) << c.at;
        backend.ReleaseAt(backend.Millis(), c.key);
        FlushKeys();
    }
}

TEST_F(LoadingScreen, KeysPressedWhileLoadingDoNotShortenTheFirstHold) {
    backend.Press(KEY_SPACE);  // arrives with the first screen, before the loading ends
    backend.PressAt(9000, KEY_SPACE);
    Load();
    ASSERT_GE(flipTimes.size(), 2u);
    EXPECT_EQ(flipTimes[1] - flipTimes[0], 13u + 5001u);
}

TEST_F(LoadingScreen, AnyMissingPictureStopsTheGameAfterAllWereTried) {
    static const unsigned char damaged[] = {0x89, 'P', 'N', 'G'};
    for (const char* name : {"gfx/logo_lge.png", "gfx/font.png", "gfx/space.png"}) {
        ReleaseGameAssets();
        RegisterEmbeddedFiles();
        IncbinRegister(name, damaged, sizeof(damaged));
        try {
            Load();
            ADD_FAILURE() << name;
        } catch (const FatalError& error) {
            EXPECT_STREQ(error.what(), "One or more graphics files missing!");
        }
        int loaded = 0;
        for (Image* picture : {imgShip, imgFont, imgLogoLarge, imgSpace, imgLoadTitle}) {
            loaded += picture != nullptr ? 1 : 0;
        }
        EXPECT_EQ(loaded, 4) << name;
    }
    RegisterEmbeddedFiles();
}

}  // namespace

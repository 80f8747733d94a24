// The parts of the SDL backend that need no display: key numbers, the mode
// list the game is told about, the mode switched to, letterboxing, frame
// pacing and texture layout.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/image.h"
#include "platform/sdl/sdl_atlas.h"
#include "platform/sdl/sdl_frame_pacer.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_modes.h"

namespace {

TEST(SdlKeys, MapToTheGamesKeyNumbers) {
    struct Case {
        SDL_Keycode key;
        int code;
    };
    for (Case c :
         {Case{SDLK_ESCAPE, 27}, Case{SDLK_SPACE, 32}, Case{SDLK_LEFT, 37}, Case{SDLK_RIGHT, 39},
          Case{SDLK_UP, 38}, Case{SDLK_DOWN, 40}, Case{SDLK_m, 77}, Case{SDLK_p, 80},
          Case{SDLK_x, 88}, Case{SDLK_z, 90}, Case{SDLK_a, 65}, Case{SDLK_LALT, 164},
          Case{SDLK_RETURN, 13}, Case{SDLK_BACKSPACE, 8}, Case{SDLK_0, 48}, Case{SDLK_9, 57},
          Case{SDLK_F1, 112}, Case{SDLK_CAPSLOCK, 0}}) {
        EXPECT_EQ(sdl::GameKeyCode(c.key), c.code) << SDL_GetKeyName(c.key);
    }
}

TEST(SdlModes, DepthIsReportedAsAPlayerReadsIt) {
    EXPECT_EQ(sdl::ReportedDepth(24, 4), 32);
    EXPECT_EQ(sdl::ReportedDepth(32, 4), 32);
    EXPECT_EQ(sdl::ReportedDepth(24, 3), 24);
    EXPECT_EQ(sdl::ReportedDepth(16, 2), 16);
}

TEST(SdlModes, ADesktopWithout1024x768GetsOneMadeUp) {
    DisplayMode desktop{1920, 1080, 32, 60};
    std::vector<DisplayMode> native = {{1920, 1080, 32, 60}, {1280, 720, 32, 60}};
    std::vector<DisplayMode> told = sdl::GameModes(native, desktop);
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told.back().width, 1024);
    EXPECT_EQ(told.back().height, 768);
    EXPECT_EQ(told.back().depth, 32);

    std::vector<DisplayMode> withIt = {{1024, 768, 16, 75}, {1920, 1080, 32, 60}};
    EXPECT_EQ(sdl::GameModes(withIt, desktop).size(), 2u);
    EXPECT_EQ(sdl::GameModes({{800, 600, 32, 60}}, DisplayMode{800, 600, 32, 60}).size(), 1u);
}

TEST(SdlModes, SwitchesToTheRequestedDepthAndRate) {
    std::vector<DisplayMode> offered = {
        {1024, 768, 16, 60}, {1024, 768, 32, 60}, {1024, 768, 32, 75}, {800, 600, 32, 75}};
    EXPECT_EQ(sdl::ChooseMode(offered, 1024, 768, 32, 75, 60), 2);
    EXPECT_EQ(sdl::ChooseMode(offered, 1024, 768, 16, 60, 60), 0);
    EXPECT_EQ(sdl::ChooseMode(offered, 640, 480, 32, 60, 60), -1);
}

TEST(SdlModes, LetterboxKeepsTheAspectCentred) {
    sdl::Viewport wide = sdl::FitViewport(1920, 1080, 1024, 768);
    EXPECT_EQ(wide.height, 1080);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.y, 0);
    sdl::Viewport exact = sdl::FitViewport(1024, 768, 1024, 768);
    EXPECT_EQ(exact.width, 1024);
    EXPECT_EQ(exact.x, 0);
    sdl::Viewport tall = sdl::FitViewport(1280, 1024, 1024, 768);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 960);
    EXPECT_EQ(tall.y, 32);
}

TEST(SdlFramePacer, KeepsAnExactAverageRate) {
    for (int hz : {0, 60, 75}) {
        sdl::FramePacer pacer;
        pacer.SetRate(hz);
        double period = 1.0 / (hz == 0 ? 60 : hz);
        double now = 10.0;
        pacer.Advance(now);
        for (int frame = 0; frame < 600; ++frame) {
            now += 0.004;  // drawing takes 4 ms
            double wait = pacer.DelayAt(now);
            EXPECT_GE(wait, 0.0);
            now += wait;
            pacer.Advance(now);
        }
        EXPECT_NEAR(now - 10.0, 600 * period, period) << hz;
    }
}

TEST(SdlAtlas, CellsKeepTheirOwnPixelsWithABorder) {
    Image image;
    image.width = 2;
    image.height = 1;
    image.pixels = {{0xFF0000FFu, 0xFF00FF00u}, {0xFFFF0000u, 0x80FFFFFFu}};
    sdl::AtlasLayout layout = sdl::LayoutAtlas(2, 1, 2, 4096);
    std::vector<uint32_t> texels = sdl::BuildAtlas(image, layout);
    ASSERT_EQ(texels.size(), static_cast<size_t>(layout.width * layout.height));
    for (int frame = 0; frame < 2; ++frame) {
        sdl::TexRect cell = sdl::CellRect(layout, frame);
        int x0 = static_cast<int>(cell.u0 * layout.width + 0.5f);
        int y0 = static_cast<int>(cell.v0 * layout.height + 0.5f);
        EXPECT_EQ(static_cast<int>(cell.u1 * layout.width + 0.5f) - x0, 2);
        EXPECT_EQ(texels[static_cast<size_t>(y0 * layout.width + x0)], image.pixels[frame][0]);
        EXPECT_EQ(texels[static_cast<size_t>(y0 * layout.width + x0 + 1)], image.pixels[frame][1]);
        // The border repeats the cell's own edge, not the neighbour's.
        EXPECT_EQ(texels[static_cast<size_t>(y0 * layout.width + x0 - 1)], image.pixels[frame][0]);
        EXPECT_EQ(texels[static_cast<size_t>(y0 * layout.width + x0 + 2)], image.pixels[frame][1]);
    }
}

}  // namespace

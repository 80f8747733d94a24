// The SDL backend's input and start-up as the game meets them: game
// controllers (SDL's virtual joystick under the dummy video driver) holding
// the game's keys alongside the keyboard, the window's focus, and the start
// without a display.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/backend.h"
#include "platform/keyboard.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_process.h"

namespace {

TEST(SdlKeys, ControllerButtonsAndStickStandForTheirKeys) {
    struct Case {
        int button;
        int key;
    };
    for (Case c :
         {Case{SDL_CONTROLLER_BUTTON_DPAD_LEFT, KEY_LEFT},
          Case{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, KEY_RIGHT},
          Case{SDL_CONTROLLER_BUTTON_A, KEY_SPACE}, Case{SDL_CONTROLLER_BUTTON_START, KEY_P},
          Case{SDL_CONTROLLER_BUTTON_BACK, KEY_ESCAPE}, Case{SDL_CONTROLLER_BUTTON_B, 0},
          Case{SDL_CONTROLLER_BUTTON_DPAD_UP, 0}, Case{SDL_CONTROLLER_BUTTON_INVALID, 0}}) {
        EXPECT_EQ(sdl::ControllerButtonKey(c.button), c.key) << c.button;
    }
    struct Lean {
        int value;
        int direction;
    };
    for (Lean lean : {Lean{-32768, -1}, Lean{-sdl::STICK_DEAD_ZONE - 1, -1},
                      Lean{-sdl::STICK_DEAD_ZONE, 0}, Lean{0, 0}, Lean{sdl::STICK_DEAD_ZONE, 0},
                      Lean{sdl::STICK_DEAD_ZONE + 1, 1}, Lean{32767, 1}}) {
        EXPECT_EQ(sdl::StickDirection(lean.value), lean.direction) << lean.value;
    }
}

// A virtual controller with every button and axis of a standard pad.
class VirtualPad {
public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        joystick_ = SDL_JoystickOpen(index);
        EXPECT_NE(joystick_, nullptr) << SDL_GetError();
    }
    ~VirtualPad() { Unplug(); }
    void Button(int button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void LeftStick(Sint16 x) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, x);
    }
    void Unplug() {
        if (joystick_ == nullptr) {
            return;
        }
        SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) {
                SDL_JoystickDetachVirtual(i);
            }
        }
    }

private:
    SDL_Joystick* joystick_ = nullptr;
};

class SdlInput : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        keyboard::Flush();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        backend.reset(CreateSdlBackend());
        InstallBackend(backend.get());
    }
    void TearDown() override {
        pads.clear();
        sdl::StopSdl();
    }
    // Each takes in the arrival at once, as a running game would before a
    // button could be pressed.
    void StartBackend() {
        backend->Modes();
        backend->PumpEvents();
    }
    VirtualPad& PlugIn() {
        pads.push_back(std::make_unique<VirtualPad>());
        backend->PumpEvents();
        return *pads.back();
    }
    static void Window(SDL_WindowEventID what) {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_WINDOWEVENT;
        event.window.event = static_cast<Uint8>(what);
        SDL_PushEvent(&event);
    }
    static void Keyboard(SDL_Keycode key, SDL_Scancode scancode, bool down) {
        SDL_Event event;
        SDL_zero(event);
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = scancode;
        SDL_PushEvent(&event);
    }

    std::unique_ptr<Backend> backend;
    std::vector<std::unique_ptr<VirtualPad>> pads;
};

TEST_F(SdlInput, ControllersPresentAtStartOrPluggedInLaterHoldTheGamesKeys) {
    VirtualPad& atStart = PlugIn();
    StartBackend();
    struct Case {
        int button;
        int key;
    };
    for (Case c :
         {Case{SDL_CONTROLLER_BUTTON_A, KEY_SPACE}, Case{SDL_CONTROLLER_BUTTON_START, KEY_P},
          Case{SDL_CONTROLLER_BUTTON_BACK, KEY_ESCAPE},
          Case{SDL_CONTROLLER_BUTTON_DPAD_LEFT, KEY_LEFT},
          Case{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, KEY_RIGHT}}) {
        atStart.Button(c.button, true);
        EXPECT_TRUE(KeyDown(c.key)) << c.button;
        EXPECT_EQ(KeyHit(c.key), 1) << c.button;
        atStart.Button(c.button, false);
        EXPECT_FALSE(KeyDown(c.key)) << c.button;
        EXPECT_EQ(KeyHit(c.key), 0) << c.button;
    }

    VirtualPad& later = PlugIn();
    later.LeftStick(-30000);
    EXPECT_TRUE(KeyDown(KEY_LEFT));
    later.LeftStick(-sdl::STICK_DEAD_ZONE / 2);  // back inside the dead zone
    EXPECT_FALSE(KeyDown(KEY_LEFT));
    later.LeftStick(30000);
    EXPECT_TRUE(KeyDown(KEY_RIGHT));
    EXPECT_FALSE(KeyDown(KEY_LEFT));
    EXPECT_EQ(KeyHit(KEY_LEFT), 1);
    EXPECT_EQ(KeyHit(KEY_RIGHT), 1);

    // Pulled out while holding: nothing stays held.
    later.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(KeyDown(KEY_SPACE));
    later.Unplug();
    EXPECT_FALSE(KeyDown(KEY_SPACE));
    EXPECT_FALSE(KeyDown(KEY_RIGHT));
}

TEST_F(SdlInput, AKeyHeldOnKeyboardAndControllerIsLetGoOnlyWhenBothLetGo) {
    StartBackend();
    VirtualPad& pad = PlugIn();

    Keyboard(SDLK_SPACE, SDL_SCANCODE_SPACE, true);
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(KeyHit(KEY_SPACE), 2);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(KeyDown(KEY_SPACE));
    Keyboard(SDLK_SPACE, SDL_SCANCODE_SPACE, false);
    EXPECT_FALSE(KeyDown(KEY_SPACE));

    pad.Button(SDL_CONTROLLER_BUTTON_START, true);
    Keyboard(SDLK_p, SDL_SCANCODE_P, true);
    Keyboard(SDLK_p, SDL_SCANCODE_P, false);
    EXPECT_TRUE(KeyDown(KEY_P));
    pad.Button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_FALSE(KeyDown(KEY_P));

    // The D-pad and the stick of one controller hold Left together.
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pad.LeftStick(-30000);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_TRUE(KeyDown(KEY_LEFT));
    pad.LeftStick(0);
    EXPECT_FALSE(KeyDown(KEY_LEFT));

    // A flush lets go of a held button until it is pressed anew.
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(KeyDown(KEY_SPACE));
    FlushKeys();
    EXPECT_FALSE(KeyDown(KEY_SPACE));
    EXPECT_EQ(KeyHit(KEY_SPACE), 0);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_FALSE(KeyDown(KEY_SPACE));
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(KeyDown(KEY_SPACE));
    EXPECT_EQ(KeyHit(KEY_SPACE), 1);
}

TEST_F(SdlInput, LosingTheFocusOrBeingMinimisedIsToldAndLetsGoOfEveryKey) {
    StartBackend();
    VirtualPad& pad = PlugIn();
    Keyboard(SDLK_LEFT, SDL_SCANCODE_LEFT, true);
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(KeyDown(KEY_LEFT));
    EXPECT_TRUE(KeyDown(KEY_SPACE));
    EXPECT_TRUE(AppHasFocus());

    Window(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_FALSE(KeyDown(KEY_LEFT));
    EXPECT_FALSE(KeyDown(KEY_SPACE));
    EXPECT_FALSE(AppHasFocus());
    Window(SDL_WINDOWEVENT_FOCUS_GAINED);
    KeyDown(KEY_LEFT);
    EXPECT_TRUE(AppHasFocus());

    Window(SDL_WINDOWEVENT_MINIMIZED);
    KeyDown(KEY_LEFT);
    EXPECT_FALSE(AppHasFocus());
    Window(SDL_WINDOWEVENT_RESTORED);
    KeyDown(KEY_LEFT);
    EXPECT_TRUE(AppHasFocus());
}

TEST(SdlDisplay, TheMessageNamesTheDisplayAndGivesSdlsReason) {
    EXPECT_EQ(sdl::NoDisplayMessage(nullptr, "", "no video"),
              "Cannot reach a display: neither DISPLAY nor WAYLAND_DISPLAY is set (no video)");
    EXPECT_EQ(sdl::NoDisplayMessage(":3", nullptr, "x11 not available"),
              "Cannot reach the display \":3\" (x11 not available)");
    EXPECT_EQ(sdl::NoDisplayMessage(":3", "wayland-1", ""),
              "Cannot reach the display \":3\" or the Wayland display \"wayland-1\"");
}

TEST(SdlDisplay, WithoutADisplayStartUpEndsWithTheMessageNotAnUnseenWindow) {
    if (access("/dev/dri", F_OK) == 0) {
        GTEST_SKIP() << "this machine may show the game on its console";
    }
    auto start = [] {
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("XDG_RUNTIME_DIR");
        setenv("DISPLAY", ":4242", 1);
        std::unique_ptr<Backend> backend(CreateSdlBackend());
        backend->Modes();
        std::exit(0);
    };
    EXPECT_EXIT(start(), ::testing::ExitedWithCode(1),
                "Quorvex: Cannot reach the display \":4242\" \\(.+\\)");
}

}  // namespace

#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/keyboard.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_controllers.h"
#include "platform/sdl/sdl_key_holds.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_process.h"
#include "platform/sdl/sdl_renderer.h"
#include "platform/sdl/sdl_save_folders.h"
#include "platform/sdl/sdl_video.h"

namespace {

class SdlBackend final : public Backend {
public:
    void SetTitle(const std::string& title) override { video_.SetTitle(title); }

    std::vector<DisplayMode> Modes() override {
        Start();
        // The game asks once per mode; the list stays the same while it runs.
        if (!modesKnown_) {
            modes_ = video_.Modes();
            modesKnown_ = true;
        }
        return modes_;
    }

    void OpenDisplay(int width, int height, int depth, int rate, int /*flags*/) override {
        Start();
        std::string error;
        if (video_.IsOpen() || !video_.Open(width, height, depth, rate, error)) {
            Fatal(video_.IsOpen() ? "The display is open already"
                                  : "Cannot open the display: " + error);
        }
        renderer_.Start(width, height);
        UpdateViewport();
        // Both buffers start black.
        renderer_.Clear();
        video_.Present(0);
        renderer_.Clear();
        PumpEvents();
    }

    void HideMouse() override {
        Start();
        SDL_ShowCursor(SDL_DISABLE);
    }

    void Clear() override { renderer_.Clear(); }

    void DrawSprite(Image& image, int frame, float left, float top,
                    const DrawState& state) override {
        renderer_.DrawSprite(image, frame, left, top, state);
    }

    void DrawBuiltinText(const std::string& text, int x, int y, const DrawState& state) override {
        renderer_.DrawText(text, x, y, state);
    }

    void Flip(int sync) override {
        renderer_.Flush();
        video_.Present(sync);
        renderer_.FrameShown();
        PumpEvents();
    }

    void PumpEvents() override {
        if (sdl::SdlStarted()) {
            SDL_Event event;
            while (SDL_PollEvent(&event)) {
                Handle(event);
            }
        }
        audio_.Advance();
    }

    bool CloseRequested() override { return sdl::CloseWasRequested(); }

    bool HasFocus() override { return focused_ && !minimised_; }

    uint32_t Millis() override { return sdl::SystemMillis(); }

    void Sleep(int milliseconds) override {
        SDL_Delay(milliseconds > 0 ? static_cast<Uint32>(milliseconds) : 0);
    }

    void StartAudio(Mixer& mixer) override { audio_.Start(mixer); }

    bool ProgramFolderWritable() override { return sdl::WorkingFolderWritable(); }
    std::string UserFolder(bool make) override { return sdl::UserFolder(make); }

    [[noreturn]] void Fatal(const std::string& message) override {
        std::fprintf(stderr, "Quorvex: %s\n", message.c_str());
        std::fflush(stderr);
        bool hadWindow = video_.IsOpen();
        audio_.Stop();
        controllers_.CloseAll();
        // Gives the desktop its own mode back before the message shows.
        video_.Close();
        sdl::RestoreDefaultSignals();
        if (hadWindow) {
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Quorvex", message.c_str(), nullptr);
        }
        sdl::StopSdl();
        std::exit(1);
    }

    [[noreturn]] void Exit(int status) override {
        audio_.Stop();
        controllers_.CloseAll();
        video_.Close();
        sdl::StopSdl();
        std::exit(status);
    }

private:
    void Start() {
        std::string error;
        if (!sdl::StartSdl(error)) {
            Fatal(error);
        }
    }

    void UpdateViewport() {
        sdl::Viewport viewport;
        int width = 0, height = 0;
        video_.Layout(viewport, width, height);
        renderer_.SetViewport(viewport, width, height);
    }

    void Handle(const SDL_Event& event) {
        if (controllers_.Handle(event)) {
            return;
        }
        switch (event.type) {
            case SDL_QUIT:
                sdl::RequestClose();
                break;
            case SDL_WINDOWEVENT:
                HandleWindow(event.window);
                break;
            case SDL_KEYDOWN: {
                int code = sdl::GameKeyCode(event.key.keysym.sym);
                if (code == 0) {
                    break;
                }
                bool repeat = event.key.repeat != 0;
                if (!repeat) {
                    holds_.Press(code,
                                 sdl::KeyHolder{sdl::KEYBOARD_DEVICE, event.key.keysym.scancode});
                }
                // Return and Backspace type no text of their own.
                if (code == 13 && !repeat) {
                    keyboard::Typed(13);
                } else if (code == 8) {
                    keyboard::Typed(8);
                }
                break;
            }
            case SDL_KEYUP: {
                int code = sdl::GameKeyCode(event.key.keysym.sym);
                if (code != 0) {
                    holds_.Release(code,
                                   sdl::KeyHolder{sdl::KEYBOARD_DEVICE, event.key.keysym.scancode});
                }
                break;
            }
            case SDL_TEXTINPUT:
                for (const char* c = event.text.text; *c != '\0'; ++c) {
                    if (*c >= 32 && *c <= 126) {
                        keyboard::Typed(*c);
                    }
                }
                break;
            case SDL_AUDIODEVICEREMOVED:
                if (event.adevice.iscapture == 0) {
                    audio_.DeviceRemoved(event.adevice.which);
                }
                break;
            default:
                break;
        }
    }

    void HandleWindow(const SDL_WindowEvent& event) {
        switch (event.event) {
            case SDL_WINDOWEVENT_FOCUS_LOST:
                // Keys let go while another window had the focus never
                // report their release here.
                holds_.ReleaseAll();
                controllers_.ForgetStickPositions();
                focused_ = false;
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                focused_ = true;
                break;
            case SDL_WINDOWEVENT_MINIMIZED:
                minimised_ = true;
                break;
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_MAXIMIZED:
                minimised_ = false;
                break;
            case SDL_WINDOWEVENT_CLOSE:
                sdl::RequestClose();
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                if (renderer_.Started()) {
                    renderer_.Flush();
                    UpdateViewport();
                }
                break;
            default:
                break;
        }
    }

    sdl::Video video_;
    sdl::Renderer renderer_;
    sdl::Audio audio_;
    sdl::KeyHolds holds_;
    sdl::Controllers controllers_{holds_};
    std::vector<DisplayMode> modes_;
    bool modesKnown_ = false;
    // A window manager may never announce the first focus, so the window
    // counts as focused until it hears otherwise.
    bool focused_ = true;
    bool minimised_ = false;
};

}  // namespace

Backend* CreateSdlBackend() {
    return new SdlBackend();
}

// What a backend supplies: where pixels, samples, time and keys come from or
// go to. Everything else of the platform is shared code in platform/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

struct Image;
class Mixer;

struct DrawState {
    int blend = BLEND_MASK;
    int r = 255, g = 255, b = 255;
    float alpha = 1.0f;
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual void SetTitle(const std::string& title) = 0;
    // Every mode the display offers, in its own order.
    virtual std::vector<DisplayMode> Modes() = 0;
    virtual void OpenDisplay(int width, int height, int depth, int rate, int flags) = 0;
    virtual void HideMouse() = 0;
    virtual void Clear() = 0;
    // Frame 'frame' of the image with its top-left corner at (left, top).
    virtual void DrawSprite(Image& image, int frame, float left, float top,
                            const DrawState& state) = 0;
    virtual void DrawBuiltinText(const std::string& text, int x, int y, const DrawState& state) = 0;
    virtual void Flip(int sync) = 0;

    // Takes in pending window-system events, feeding the shared keyboard.
    virtual void PumpEvents() = 0;
    virtual bool CloseRequested() = 0;
    // False while another window has the keyboard focus or the game's window
    // is minimised, as of the last event pump.
    virtual bool HasFocus() = 0;

    virtual uint32_t Millis() = 0;
    virtual void Sleep(int milliseconds) = 0;

    // Starts pulling audio from the mixer.
    virtual void StartAudio(Mixer& mixer) = 0;

    // Whether the game may create files in its working folder, the program's.
    virtual bool ProgramFolderWritable() = 0;
    // The player's own folder for saved files, ending in '/', or empty when
    // the player has none. It is made (with its parents) only when 'make' is
    // set; otherwise it is just named.
    virtual std::string UserFolder(bool make) = 0;

    [[noreturn]] virtual void Fatal(const std::string& message) = 0;
    [[noreturn]] virtual void Exit(int status) = 0;
};

// Installs the backend that the plain platform functions reach.
void InstallBackend(Backend* backend);
Backend& TheBackend();

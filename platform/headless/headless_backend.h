// A backend without a display, sound card or keyboard, for tests: display
// modes are scripted, the millisecond clock is virtual, key presses and typed
// characters come from a script, every drawing call is recorded, and audio
// is mixed into memory as the virtual clock moves.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend.h"

// Thrown where the real backend would end the process.
struct FatalError : std::runtime_error {
    explicit FatalError(const std::string& message) : std::runtime_error(message) {}
};
struct ProgramExit : std::runtime_error {
    explicit ProgramExit(int code) : std::runtime_error("program ended"), status(code) {}
    int status;
};
// Thrown when the virtual clock passes its limit, so a test that would wait
// forever fails instead.
struct ClockLimitReached : std::runtime_error {
    ClockLimitReached() : std::runtime_error("virtual clock limit reached") {}
};

struct DrawCall {
    enum Kind { SPRITE, TEXT, CLEAR, FLIP, OPEN_DISPLAY, HIDE_MOUSE, SET_TITLE };
    Kind kind = SPRITE;
    std::string name;  // image name, text, or title
    const Image* image = nullptr;
    int frame = 0;
    float left = 0, top = 0;  // top-left corner of the drawn frame, or the text's
    DrawState state;
    int sync = 0;  // for FLIP
};

class HeadlessBackend : public Backend {
public:
    HeadlessBackend();

    // ---- script
    std::vector<DisplayMode> modes;
    // Virtual time one shown frame takes with sync -1 (sync 0 takes none).
    uint32_t frameMillis = 13;
    // Virtual time every event pump costs, in microseconds, so busy waits
    // on the keys move the clock like a real machine's would.
    uint32_t pumpMicros = 20;
    // Virtual time after which the clock throws ClockLimitReached.
    uint64_t clockLimitMicros = 4ull * 3600 * 1000 * 1000;
    bool captureAudio = false;
    // The saved-file folders: whether the program's (the working folder)
    // takes new files, and the player's own, ending in '/' (empty: none).
    bool programFolderWritable = true;
    std::string userFolder;
    // Long games switch the draw record off to save memory.
    bool recordDrawing = true;
    static constexpr int AUDIO_RATE = 44100;

    void SetClock(uint32_t millis);
    void Advance(uint64_t micros);
    // Key events and typed characters delivered once the clock reaches 'at'.
    void PressAt(uint32_t at, int key);
    void ReleaseAt(uint32_t at, int key);
    void TypeAt(uint32_t at, int character);
    // Delivered at the next pump.
    void Press(int key) { PressAt(now_, key); }
    void Release(int key) { ReleaseAt(now_, key); }
    void Type(int character) { TypeAt(now_, character); }
    void TapAt(uint32_t at, int key, uint32_t holdMillis = 40);
    void RequestClose() { closeRequested_ = true; }
    // Another window takes the keyboard focus (which lets go of every key,
    // as on a real desktop), or gives it back, once the clock reaches 'at'.
    void LoseFocusAt(uint32_t at);
    void GainFocusAt(uint32_t at);
    // As a window close or a signal would, once the clock reaches 'at'.
    void RequestCloseAt(uint32_t at);
    // Calls this before every frame is shown (after it was drawn).
    std::function<void(HeadlessBackend&)> onFlip;

    // ---- record
    std::vector<DrawCall> calls;
    std::vector<float> audio;  // captured stereo frames, when captureAudio is set
    int flips = 0;
    int pumps = 0;
    uint64_t sleptMillis = 0;
    bool displayOpen = false;
    DisplayMode opened;
    bool mouseHidden = false;
    std::string title;
    // The calls of the last complete frame: from after the previous FLIP up
    // to and including the last FLIP.
    std::vector<DrawCall> LastFrame() const;

    // ---- Backend
    void SetTitle(const std::string& text) override;
    std::vector<DisplayMode> Modes() override { return modes; }
    void OpenDisplay(int width, int height, int depth, int rate, int flags) override;
    void HideMouse() override;
    void Clear() override;
    void DrawSprite(Image& image, int frame, float left, float top,
                    const DrawState& state) override;
    void DrawBuiltinText(const std::string& text, int x, int y, const DrawState& state) override;
    void Flip(int sync) override;
    void PumpEvents() override;
    bool CloseRequested() override { return closeRequested_; }
    bool HasFocus() override { return focused_; }
    uint32_t Millis() override { return now_; }
    void Sleep(int milliseconds) override;
    void StartAudio(Mixer& mixer) override { mixer_ = &mixer; }
    bool ProgramFolderWritable() override { return programFolderWritable; }
    std::string UserFolder(bool make) override;
    [[noreturn]] void Fatal(const std::string& message) override;
    [[noreturn]] void Exit(int status) override;

private:
    struct ScriptedEvent {
        enum Kind { PRESS, RELEASE, TYPE, FOCUS_LOST, FOCUS_GAINED, CLOSE } kind;
        int value;
    };
    std::multimap<uint64_t, ScriptedEvent> script_;  // by virtual microsecond
    uint32_t now_ = 0;
    uint64_t elapsedMicros_ = 0;  // since the start, drives now_
    uint32_t clockOffset_ = 0;
    uint64_t mixedFrames_ = 0;
    Mixer* mixer_ = nullptr;
    std::vector<float> mixBuffer_;  // reused: the clock moves at every event pump
    bool closeRequested_ = false;
    bool focused_ = true;
    void MixUpTo();
    uint64_t MicrosFor(uint32_t at) const;
};

#include "platform/headless/headless_backend.h"

#include <filesystem>
#include <functional>

#include "platform/image.h"
#include "platform/keyboard.h"
#include "platform/mixer.h"

HeadlessBackend::HeadlessBackend() {
    modes = {{1024, 768, 32, 60}, {1024, 768, 32, 75}, {800, 600, 32, 60}};
}

void HeadlessBackend::SetClock(uint32_t millis) {
    clockOffset_ = millis - static_cast<uint32_t>(elapsedMicros_ / 1000);
    now_ = millis;
}

uint64_t HeadlessBackend::MicrosFor(uint32_t at) const {
    // Times in the script are clock readings; the clock may wrap, so count
    // forward from the present reading. A time already past is due now.
    uint32_t ahead = at - now_;
    if (ahead >= 0x80000000u) {
        ahead = 0;
    }
    return (elapsedMicros_ / 1000 + ahead) * 1000;
}

void HeadlessBackend::Advance(uint64_t micros) {
    elapsedMicros_ += micros;
    if (elapsedMicros_ > clockLimitMicros) {
        throw ClockLimitReached();
    }
    now_ = clockOffset_ + static_cast<uint32_t>(elapsedMicros_ / 1000);
    MixUpTo();
}

void HeadlessBackend::MixUpTo() {
    if (mixer_ == nullptr) {
        return;
    }
    uint64_t due = elapsedMicros_ * AUDIO_RATE / 1000000;
    if (due <= mixedFrames_) {
        return;
    }
    mixBuffer_.assign(static_cast<size_t>(due - mixedFrames_) * 2, 0.0f);
    mixer_->Mix(mixBuffer_.data(), static_cast<int>(due - mixedFrames_), AUDIO_RATE);
    mixedFrames_ = due;
    if (captureAudio) {
        audio.insert(audio.end(), mixBuffer_.begin(), mixBuffer_.end());
    }
}

void HeadlessBackend::PressAt(uint32_t at, int key) {
    script_.emplace(MicrosFor(at), ScriptedEvent{ScriptedEvent::PRESS, key});
}
void HeadlessBackend::ReleaseAt(uint32_t at, int key) {
    script_.emplace(MicrosFor(at), ScriptedEvent{ScriptedEvent::RELEASE, key});
}
void HeadlessBackend::TypeAt(uint32_t at, int character) {
    script_.emplace(MicrosFor(at), ScriptedEvent{ScriptedEvent::TYPE, character});
}
void HeadlessBackend::LoseFocusAt(uint32_t at) {
    script_.emplace(MicrosFor(at), ScriptedEvent{ScriptedEvent::FOCUS_LOST, 0});
}
void HeadlessBackend::GainFocusAt(uint32_t at) {
    script_.emplace(MicrosFor(at), ScriptedEvent{ScriptedEvent::FOCUS_GAINED, 0});
}
void HeadlessBackend::RequestCloseAt(uint32_t at) {
    script_.emplace(MicrosFor(at), ScriptedEvent{ScriptedEvent::CLOSE, 0});
}
void HeadlessBackend::TapAt(uint32_t at, int key, uint32_t holdMillis) {
    PressAt(at, key);
    ReleaseAt(at + holdMillis, key);
}

void HeadlessBackend::PumpEvents() {
    ++pumps;
    Advance(pumpMicros);
    while (!script_.empty() && script_.begin()->first <= elapsedMicros_) {
        ScriptedEvent event = script_.begin()->second;
        script_.erase(script_.begin());
        switch (event.kind) {
            case ScriptedEvent::PRESS:
                keyboard::Press(event.value, false);
                break;
            case ScriptedEvent::RELEASE:
                keyboard::Release(event.value);
                break;
            case ScriptedEvent::TYPE:
                keyboard::Typed(event.value);
                break;
            case ScriptedEvent::FOCUS_LOST:
                keyboard::ReleaseAll();
                focused_ = false;
                break;
            case ScriptedEvent::FOCUS_GAINED:
                focused_ = true;
                break;
            case ScriptedEvent::CLOSE:
                closeRequested_ = true;
                break;
        }
    }
}

void HeadlessBackend::SetTitle(const std::string& text) {
    title = text;
    DrawCall call;
    call.kind = DrawCall::SET_TITLE;
    call.name = text;
    calls.push_back(call);
}

void HeadlessBackend::OpenDisplay(int width, int height, int depth, int rate, int) {
    displayOpen = true;
    opened = DisplayMode{width, height, depth, rate};
    DrawCall call;
    call.kind = DrawCall::OPEN_DISPLAY;
    calls.push_back(call);
}

void HeadlessBackend::HideMouse() {
    mouseHidden = true;
    DrawCall call;
    call.kind = DrawCall::HIDE_MOUSE;
    calls.push_back(call);
}

void HeadlessBackend::Clear() {
    DrawCall call;
    call.kind = DrawCall::CLEAR;
    calls.push_back(call);
}

void HeadlessBackend::DrawSprite(Image& image, int frame, float left, float top,
                                 const DrawState& state) {
    if (!recordDrawing) {
        return;
    }
    DrawCall call;
    call.kind = DrawCall::SPRITE;
    call.name = image.name;
    call.image = &image;
    call.frame = frame;
    call.left = left;
    call.top = top;
    call.state = state;
    calls.push_back(call);
}

void HeadlessBackend::DrawBuiltinText(const std::string& text, int x, int y,
                                      const DrawState& state) {
    if (!recordDrawing) {
        return;
    }
    DrawCall call;
    call.kind = DrawCall::TEXT;
    call.name = text;
    call.left = static_cast<float>(x);
    call.top = static_cast<float>(y);
    call.state = state;
    calls.push_back(call);
}

void HeadlessBackend::Flip(int sync) {
    if (onFlip) {
        onFlip(*this);
    }
    if (recordDrawing) {
        DrawCall call;
        call.kind = DrawCall::FLIP;
        call.sync = sync;
        calls.push_back(call);
    }
    ++flips;
    PumpEvents();
    if (sync != 0) {
        Advance(static_cast<uint64_t>(frameMillis) * 1000);
    }
}

std::vector<DrawCall> HeadlessBackend::LastFrame() const {
    size_t end = calls.size();
    while (end > 0 && calls[end - 1].kind != DrawCall::FLIP) {
        --end;
    }
    if (end == 0) {
        return {};
    }
    size_t begin = end - 1;
    while (begin > 0 && calls[begin - 1].kind != DrawCall::FLIP) {
        --begin;
    }
    return std::vector<DrawCall>(calls.begin() + static_cast<long>(begin),
                                 calls.begin() + static_cast<long>(end));
}

void HeadlessBackend::Sleep(int milliseconds) {
    if (milliseconds > 0) {
        sleptMillis += static_cast<uint64_t>(milliseconds);
        Advance(static_cast<uint64_t>(milliseconds) * 1000);
    }
}

std::string HeadlessBackend::UserFolder(bool make) {
    if (make && !userFolder.empty()) {
        std::error_code ignored;  // a folder that cannot be made fails the save, as on a machine
        std::filesystem::create_directories(userFolder, ignored);
    }
    return userFolder;
}

void HeadlessBackend::Fatal(const std::string& message) {
    throw FatalError(message);
}
void HeadlessBackend::Exit(int status) {
    throw ProgramExit(status);
}

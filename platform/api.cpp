// The plain platform functions the game calls. They keep the drawing state
// and reach the installed backend for everything that touches the machine.
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/backend.h"
#include "platform/builtin_font.h"
#include "platform/collision.h"
#include "platform/image.h"
#include "platform/keyboard.h"
#include "platform/mixer.h"
#include "platform/platform.h"

namespace {

Backend* installed = nullptr;
DrawState drawState;
bool audioStarted = false;

void StartAudioOnce() {
    if (!audioStarted) {
        audioStarted = true;
        TheBackend().StartAudio(TheMixer());
    }
}

bool Matches(int wanted, int offered) {
    return wanted == 0 || wanted == offered;
}

}  // namespace

void InstallBackend(Backend* backend) {
    installed = backend;
    drawState = DrawState{};
    audioStarted = false;
}

Backend& TheBackend() {
    if (installed == nullptr) {
        std::abort();
    }
    return *installed;
}

// ---------------------------------------------------------------- process

void AppTitle(const std::string& title) {
    TheBackend().SetTitle(title);
}
void RuntimeError(const std::string& message) {
    TheBackend().Fatal(message);
    std::abort();  // a backend's Fatal never comes back
}
void EndProgram() {
    TheBackend().Exit(0);
    std::abort();
}
bool CloseRequested() {
    TheBackend().PumpEvents();
    return TheBackend().CloseRequested();
}

bool AppHasFocus() {
    // No pump of its own: the game asks right after its key queries.
    return TheBackend().HasFocus();
}

// ---------------------------------------------------------------- display

int CountGfxModes() {
    int count = 0;
    for (const DisplayMode& mode : TheBackend().Modes()) {
        count += mode.depth >= 16 ? 1 : 0;
    }
    return count;
}

DisplayMode GfxMode(int index) {
    for (const DisplayMode& mode : TheBackend().Modes()) {
        if (mode.depth >= 16 && index-- == 0) {
            return mode;
        }
    }
    return DisplayMode{};
}

bool GfxModeExists(int width, int height, int depth, int rate) {
    for (const DisplayMode& mode : TheBackend().Modes()) {
        if (mode.depth >= 16 && Matches(width, mode.width) && Matches(height, mode.height) &&
            Matches(depth, mode.depth) && Matches(rate, mode.rate)) {
            return true;
        }
    }
    return false;
}

void Graphics(int width, int height, int depth, int rate, int flags) {
    TheBackend().OpenDisplay(width, height, depth, rate, flags);
    drawState = DrawState{};
}

void HideMouse() {
    TheBackend().HideMouse();
}
void Cls() {
    TheBackend().Clear();
}
void SetBlend(int mode) {
    drawState.blend = mode;
}
void SetColor(int r, int g, int b) {
    drawState.r = r;
    drawState.g = g;
    drawState.b = b;
}
void SetAlpha(float alpha) {
    drawState.alpha = alpha;
}
void Flip(int sync) {
    TheBackend().Flip(sync);
}

void DrawText(const std::string& text, int x, int y) {
    TheBackend().DrawBuiltinText(text, x, y, drawState);
}
int TextWidth(const std::string& text) {
    return static_cast<int>(text.size()) * BUILTIN_FONT_WIDTH;
}
int TextHeight(const std::string&) {
    return BUILTIN_FONT_HEIGHT;
}

// ---------------------------------------------------------------- images

namespace {

// An image cut from an embedded picture, which remembers its first cell so
// its pixels can be decoded again after they were let go.
Image* MakeEmbeddedImage(const std::string& name, DecodedPicture picture, int cellWidth,
                         int cellHeight, int firstCell, int cellCount, int flags) {
    Image* image =
        MakeImage(name, std::move(picture), cellWidth, cellHeight, firstCell, cellCount, flags);
    if (image != nullptr) {
        image->firstCell = firstCell;
    }
    return image;
}

}  // namespace

Image* LoadAnimImage(const std::string& name, int cellWidth, int cellHeight, int firstCell,
                     int cellCount, int flags) {
    DecodedPicture picture;
    if (!DecodeEmbedded(name, picture)) {
        return nullptr;
    }
    return MakeEmbeddedImage(name, std::move(picture), cellWidth, cellHeight, firstCell, cellCount,
                             flags);
}

Image* LoadImage(const std::string& name, int flags) {
    DecodedPicture picture;
    if (!DecodeEmbedded(name, picture)) {
        return nullptr;
    }
    const int width = picture.width;
    const int height = picture.height;
    return MakeEmbeddedImage(name, std::move(picture), width, height, 0, 1, flags);
}

void MidHandle(Image* image) {
    image->handleX = image->width / 2.0f;
    image->handleY = image->height / 2.0f;
}

int ImageWidth(const Image* image) {
    return image->width;
}
int ImageHeight(const Image* image) {
    return image->height;
}
int ImageFrames(const Image* image) {
    return static_cast<int>(image->pixels.size());
}

void DrawImage(const Image* image, float x, float y, int frame) {
    if (image == nullptr || frame < 0 || frame >= ImageFrames(image)) {
        return;
    }
    // The backend may cache textures in the image; the picture itself is unchanged.
    Image& drawn = const_cast<Image&>(*image);
    TheBackend().DrawSprite(drawn, frame, x - image->handleX, y - image->handleY, drawState);
}

PixelMap LockImage(Image* image, int frame) {
    if (image != nullptr) {
        // Pixels let go after their upload come back as they were loaded;
        // restoring can only fail if the embedded file went bad, and then
        // the frames read as transparent.
        RestorePixels(*image);
        // From now on the program holds the pixels and may change them, so
        // they stay in memory.
        image->firstCell = -1;
    }
    return PixelMap{image, frame};
}

uint32_t ReadPixel(const PixelMap& map, int x, int y) {
    const Image* image = map.image;
    if (image == nullptr || map.frame < 0 || map.frame >= ImageFrames(image) || x < 0 || y < 0 ||
        x >= image->width || y >= image->height) {
        return 0;
    }
    const std::vector<uint32_t>& pixels = image->pixels[map.frame];
    const size_t at = static_cast<size_t>(y) * image->width + x;
    return at < pixels.size() ? pixels[at] : 0;
}

void UnlockImage(Image* image, int frame) {
    if (image == nullptr) {
        return;
    }
    // The frame's pixels may have been written: rebuild what is derived
    // from them. The other frames were not locked and are unchanged.
    RebuildMask(*image, frame);
    ++image->version;
}

bool ImagesCollide(const Image* image1, int x1, int y1, int frame1, const Image* image2, int x2,
                   int y2, int frame2) {
    if (image1 == nullptr || image2 == nullptr) {
        return false;
    }
    return CollideImages(*image1, x1, y1, frame1, *image2, x2, y2, frame2);
}

// ---------------------------------------------------------------- audio

Sound* LoadSound(const std::string& name, int flags) {
    StartAudioOnce();
    EmbeddedBytes bytes = IncbinOpen(name);
    if (bytes.data == nullptr || bytes.length < 4) {
        return nullptr;
    }
    std::string magic(reinterpret_cast<const char*>(bytes.data), 4);
    if (magic == "RIFF") {
        auto data = std::make_shared<SoundData>();
        if (!DecodeWav(bytes.data, bytes.length, *data)) {
            return nullptr;
        }
        return new Sound{name, (flags & SOUND_LOOP) != 0, data, nullptr};
    }
    if (magic == "OggS") {
        // Checked now, decoded as it plays.
        auto stream = std::make_shared<OggSource>();
        if (!InspectOgg(bytes.data, bytes.length, *stream)) {
            return nullptr;
        }
        return new Sound{name, (flags & SOUND_LOOP) != 0, nullptr, stream};
    }
    return nullptr;
}

void FreeSound(Sound* sound) {
    if (sound != nullptr) {
        TheMixer().StopSound(*sound);
        delete sound;
    }
}

Channel CueSound(Sound* sound) {
    if (sound == nullptr) {
        return 0;
    }
    StartAudioOnce();
    return TheMixer().Cue(*sound);
}

void ResumeChannel(Channel channel) {
    TheMixer().Resume(channel);
}
void PauseChannel(Channel channel) {
    TheMixer().Pause(channel);
}
void StopChannel(Channel channel) {
    TheMixer().Stop(channel);
}
void ChannelVolume(Channel channel, float volume) {
    TheMixer().SetVolume(channel, volume);
}
bool ChannelPlaying(Channel channel) {
    return TheMixer().Playing(channel);
}

// ---------------------------------------------------------------- keyboard

int KeyHit(int key) {
    TheBackend().PumpEvents();
    return keyboard::Hit(key);
}

bool KeyDown(int key) {
    TheBackend().PumpEvents();
    return keyboard::Down(key);
}

int GetChar() {
    TheBackend().PumpEvents();
    return keyboard::NextChar();
}

void FlushKeys() {
    TheBackend().PumpEvents();
    keyboard::Flush();
}

// ---------------------------------------------------------------- time

int32_t Millisecs() {
    return static_cast<int32_t>(TheBackend().Millis());
}
void Delay(int milliseconds) {
    TheBackend().Sleep(milliseconds);
}

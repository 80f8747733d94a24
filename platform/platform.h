// The operations the game asks of the machine it runs on. Game code includes
// only this header; the installed backend (SDL + OpenGL, or the headless one
// used by the tests) supplies display, keys, clock and audio output, while
// pictures, collision masks, mixing arithmetic, texts, files and random
// numbers are shared code that both backends run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/object_list.h"

// ---------------------------------------------------------------- process

void AppTitle(const std::string& title);
// Ends the program with a message. Never returns.
[[noreturn]] void RuntimeError(const std::string& message);
// Ends the process with exit status 0. Never returns.
[[noreturn]] void EndProgram();
// Makes the folder that holds the executable the working directory.
void EnterProgramFolder();
// True once the window system or a signal asked the game to close.
bool CloseRequested();
// False while the game's window has lost the keyboard focus or is
// minimised, as the window system last said (every key query asks it).
bool AppHasFocus();

// ---------------------------------------------------------------- display

struct DisplayMode {
    int width = 0;
    int height = 0;
    int depth = 0;
    int rate = 0;
};

enum BlendMode { BLEND_MASK = 1, BLEND_SOLID = 2, BLEND_ALPHA = 3 };

// Only modes of 16 bits or more are listed; 0 in an argument matches anything.
bool GfxModeExists(int width, int height, int depth, int rate);
int CountGfxModes();
DisplayMode GfxMode(int index);
void Graphics(int width, int height, int depth, int rate, int flags);
void HideMouse();
void Cls();
void SetBlend(int mode);
void SetColor(int r, int g, int b);
void SetAlpha(float alpha);
// sync -1: at the display's refresh (or paced to the opened rate); 0: at once.
void Flip(int sync);

// The built-in 8x16 text font, used by the loading screen only.
void DrawText(const std::string& text, int x, int y);
int TextWidth(const std::string& text);
int TextHeight(const std::string& text);

// ---------------------------------------------------------------- images

struct Image;  // opaque to the game

constexpr int IMAGE_DEFAULT_FLAGS = -1;
constexpr int IMAGE_MASKED = 1;    // black is transparent in pictures without alpha
constexpr int IMAGE_FILTERED = 4;  // smoothed when drawn at fractional positions

// Both return null when the data is missing or damaged, or the strip holds
// fewer cells than asked for. Images live until the process ends.
Image* LoadImage(const std::string& name, int flags);
Image* LoadAnimImage(const std::string& name, int cellWidth, int cellHeight, int firstCell,
                     int cellCount, int flags);
void MidHandle(Image* image);
int ImageWidth(const Image* image);
int ImageHeight(const Image* image);
int ImageFrames(const Image* image);
// Places the frame so that the image's handle lies on (x, y), tinted by the
// current colour and alpha, in the blend mode in force.
void DrawImage(const Image* image, float x, float y, int frame);

struct PixelMap {
    const Image* image = nullptr;
    int frame = 0;
};
PixelMap LockImage(Image* image, int frame);
uint32_t ReadPixel(const PixelMap& map, int x, int y);  // 0xAARRGGBB
void UnlockImage(Image* image, int frame);

// Pixel-exact: true when some screen pixel is covered in both frames by a
// pixel of alpha 128 or more. Each frame is placed by its handle.
bool ImagesCollide(const Image* image1, int x1, int y1, int frame1, const Image* image2, int x2,
                   int y2, int frame2);

// ---------------------------------------------------------------- audio

struct Sound;             // opaque to the game
using Channel = int64_t;  // 0 is no channel

constexpr int SOUND_LOOP = 1;

// WAV (PCM 8 or 16 bit) or Ogg Vorbis; null when missing or damaged.
Sound* LoadSound(const std::string& name, int flags);
void FreeSound(Sound* sound);
// A new channel holding the sound at its start, paused.
Channel CueSound(Sound* sound);
void ResumeChannel(Channel channel);
void PauseChannel(Channel channel);
void StopChannel(Channel channel);
void ChannelVolume(Channel channel, float volume);
// True from the cue until the sound ended or was stopped; paused counts.
bool ChannelPlaying(Channel channel);

// ---------------------------------------------------------------- keyboard

enum KeyCode {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_RETURN = 13,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_M = 77,
    KEY_P = 80,
    KEY_X = 88,
    KEY_Z = 90,
    KEY_LALT = 164,
};

int KeyHit(int key);  // presses since last asked or flushed
// Held now; a press let go before this query reads as held once, so a quick
// tap between two looks is not lost.
bool KeyDown(int key);
int GetChar();  // next typed character, 0 when none
void FlushKeys();

// ---------------------------------------------------------------- time

// Milliseconds as a 32-bit count that wraps.
int32_t Millisecs();
void Delay(int milliseconds);
// Clock arithmetic that stays right across the wrap: later - earlier, and
// a reading moved on by some milliseconds.
inline int32_t MillisBetween(int32_t earlier, int32_t later) {
    return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}
inline int32_t MillisAfter(int32_t reading, int32_t milliseconds) {
    return static_cast<int32_t>(static_cast<uint32_t>(reading) +
                                static_cast<uint32_t>(milliseconds));
}

// ---------------------------------------------------------------- random

void SeedRnd(int32_t seed);
// Uniform over the integers between the two bounds, both included, in either order.
int32_t Rand(int32_t bound1, int32_t bound2);

// ---------------------------------------------------------------- embedded files

void IncbinRegister(const std::string& name, const unsigned char* bytes, size_t length);
struct EmbeddedBytes {
    const unsigned char* data = nullptr;
    size_t length = 0;
};
// Opens "incbin::" + name; data is null when nothing was registered so.
EmbeddedBytes IncbinOpen(const std::string& path);

// ---------------------------------------------------------------- file streams

struct Stream;
// Null when missing, unreadable or not a plain file (a folder, a pipe).
Stream* ReadFile(const std::string& path);
Stream* WriteFile(const std::string& path);  // null when it cannot be written
std::string ReadLine(Stream* stream);
void WriteLine(Stream* stream, const std::string& text);
// Flushes and closes. A file being written replaces the old one only when
// every byte reached the disk.
void CloseFile(Stream* stream);
// True when something of that name exists: a file, a folder, a pipe.
bool PathExists(const std::string& path);

// ---------------------------------------------------------------- saved files

// Where the saved file of this name is read from and written to. While the
// game may write into the program's folder, that is the bare name there. An
// installed game may not, so it keeps the file in the player's own folder,
// made at the first save; until the player has a copy there, it reads the
// program folder's one.
std::string SavedFileToRead(const std::string& name);
std::string SavedFileToWrite(const std::string& name);

// ---------------------------------------------------------------- texts

std::string Str(int64_t value);
int32_t ToInt(const std::string& text);  // saturates outside the 32-bit range
std::string Upper(const std::string& text);
std::string Chr(int code);
int Instr(std::string_view haystack, std::string_view needle);  // 1-based, 0 when absent
int Find(std::string_view haystack, std::string_view needle);   // 0-based, -1 when absent
// Characters start..end-1 (0-based), padded with spaces outside the text.
std::string Slice(const std::string& text, int start, int end);

// The yardstick for the game's drawing: a plain SDL_Renderer program on
// SDL's OpenGL driver that lays a 1024x768 background and then a number of
// blended 32x32 sprites, the way a small 2D game written on SDL's own
// renderer would.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

class RendererPeer {
public:
    // SDL's video must have started. The pictures are 0xAARRGGBB rows.
    bool Open(const std::vector<uint32_t>& background, const std::vector<uint32_t>& sprite,
              int sprites);
    void Close();
    // Draws and shows one frame at once, without waiting for the display.
    void DrawFrame();
    int CopiesPerFrame() const { return sprites_ + 1; }
    // SDL's OpenGL driver joins consecutive copies of one texture in one
    // blend mode into one draw call: the background, then all the sprites.
    int DrawCallsPerFrame() const { return sprites_ > 0 ? 2 : 1; }

private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* background_ = nullptr;
    SDL_Texture* sprite_ = nullptr;
    int sprites_ = 0;
    uint32_t frame_ = 0;
};

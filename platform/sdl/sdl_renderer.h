// Sprite drawing over OpenGL 2.1. Sprites become textured quads gathered in
// one vertex array, which goes to OpenGL only when the texture, the blend
// mode or the sampling changes, or when the screen is cleared or shown: a
// frame of a few hundred sprites costs a handful of draw calls.
//
// Smoothed pictures are sampled linearly only where that can show: drawn
// between pixels, or onto a scaled picture. Drawn 1:1 at whole pixels, every
// pixel centre falls on a texel centre, where linear sampling weighs that one
// texel alone; nearest sampling gives the same pixels for far less work in a
// software rasterizer. Because such a sprite looks the same either way, it
// never starts a batch of its own: a batch is sampled linearly as soon as
// one of its sprites needs it.
//
// Likewise a batch of untinted, fully opaque-drawn sprites takes the
// texture's colours as they are instead of multiplying them by white: the
// same pixels, and the rasterizer can copy rather than shade them.
#pragma once

#include <SDL_opengl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/image.h"
#include "platform/sdl/sdl_atlas.h"
#include "platform/sdl/sdl_modes.h"

namespace sdl {

// OpenGL draw calls made so far, for measuring.
inline uint64_t drawCallsMade = 0;

class Renderer {
public:
    // Needs the GL context current. Coordinates are then the picture's
    // pixels, origin at the top-left.
    void Start(int pictureWidth, int pictureHeight);
    bool Started() const { return started_; }
    // Where the picture lies in the window's drawable area.
    void SetViewport(const Viewport& viewport, int drawableWidth, int drawableHeight);

    void Clear();
    void DrawSprite(Image& image, int frame, float left, float top, const DrawState& state);
    // The built-in 8x16 font, one cell per character.
    void DrawText(const std::string& text, int x, int y, const DrawState& state);
    void Flush();
    // Called after each swap: the new back buffer holds anything, so the
    // bars around a scaled picture are blackened again.
    void FrameShown();

private:
    struct Texture {
        GLuint id = 0;
        uint64_t version = 0;
        AtlasLayout layout;
        GLint filter = 0;  // the sampling set on it; 0 before its upload
    };
    struct Vertex {
        float x, y, u, v, r, g, b, a;
    };

    Texture& TextureFor(Image& image);
    void Upload(Image& image, Texture& texture);
    bool NeedsSmoothing(const Image& image, float left, float top) const;
    void Batch(Texture& texture, int blend, bool smooth, bool tinted);
    void ApplyTint(bool tinted);
    void ApplyBlend(int blend);

    bool started_ = false;
    int maxTextureSize_ = 1024;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    bool letterboxed_ = false;
    bool scaled_ = false;  // the picture is not shown 1:1
    std::vector<Vertex> vertices_;
    Texture* batchTexture_ = nullptr;
    int batchBlend_ = 0;
    GLint batchFilter_ = 0;
    bool batchTinted_ = false;
    int appliedTint_ = -1;  // the texture environment in force: 1 modulate, 0 replace, -1 not known
    GLuint boundTexture_ = 0;
    int appliedBlend_ = 0;  // 0: not known yet
    // Textures live as long as their images, which is until the process ends.
    std::vector<std::unique_ptr<Texture>> textures_;
    Image font_;
};

}  // namespace sdl

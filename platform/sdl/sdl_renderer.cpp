#include "platform/sdl/sdl_renderer.h"

#include <algorithm>
#include <cmath>

#include "platform/builtin_font.h"

namespace sdl {
namespace {

constexpr int kFirstGlyph = 32;
constexpr int kLastGlyph = 126;

int BlendOf(const DrawState& state) {
    return state.blend == BLEND_SOLID || state.blend == BLEND_ALPHA ? state.blend : BLEND_MASK;
}

float ToUnit(int value) {
    return static_cast<float>(std::clamp(value, 0, 255)) / 255.0f;
}

// The built-in font as an image of white glyphs on transparent black, so
// the solid mode shows them on black boxes rather than as white blocks.
Image MakeFontImage() {
    Image font;
    font.name = "builtin font";
    font.width = BUILTIN_FONT_WIDTH;
    font.height = BUILTIN_FONT_HEIGHT;
    for (int c = kFirstGlyph; c <= kLastGlyph; ++c) {
        const uint8_t* rows = BuiltinGlyph(c);
        std::vector<uint32_t> pixels(BUILTIN_FONT_WIDTH * BUILTIN_FONT_HEIGHT, 0);
        for (int y = 0; y < BUILTIN_FONT_HEIGHT; ++y) {
            for (int x = 0; x < BUILTIN_FONT_WIDTH; ++x) {
                if (rows[y] & (0x80 >> x)) {
                    pixels[y * BUILTIN_FONT_WIDTH + x] = 0xFFFFFFFFu;
                }
            }
        }
        font.pixels.push_back(std::move(pixels));
    }
    return font;
}

}  // namespace

void Renderer::Start(int pictureWidth, int pictureHeight) {
    pictureWidth_ = pictureWidth;
    pictureHeight_ = pictureHeight;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize_);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glAlphaFunc(GL_GREATER, 0.5f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, pictureWidth, pictureHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    font_ = MakeFontImage();
    vertices_.reserve(4096);
    started_ = true;
}

void Renderer::SetViewport(const Viewport& viewport, int drawableWidth, int drawableHeight) {
    glViewport(viewport.x, drawableHeight - viewport.y - viewport.height, viewport.width,
               viewport.height);
    letterboxed_ = viewport.x != 0 || viewport.y != 0 || viewport.width != drawableWidth ||
                   viewport.height != drawableHeight;
    scaled_ = viewport.width != pictureWidth_ || viewport.height != pictureHeight_;
}

void Renderer::Clear() {
    if (!started_) {
        return;
    }
    Flush();
    glClear(GL_COLOR_BUFFER_BIT);
}

void Renderer::FrameShown() {
    if (started_ && letterboxed_) {
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

void Renderer::DrawSprite(Image& image, int frame, float left, float top, const DrawState& state) {
    if (!started_ || frame < 0 || frame >= static_cast<int>(image.pixels.size()) ||
        image.width <= 0 || image.height <= 0) {
        return;
    }
    Texture& texture = TextureFor(image);
    int blend = BlendOf(state);
    float r = ToUnit(state.r), g = ToUnit(state.g), b = ToUnit(state.b);
    // The solid mode copies the picture opaque, whatever the alpha.
    float a = blend == BLEND_SOLID ? 1.0f : std::clamp(state.alpha, 0.0f, 1.0f);
    bool tinted = r != 1.0f || g != 1.0f || b != 1.0f || a != 1.0f;
    Batch(texture, blend, NeedsSmoothing(image, left, top), tinted);

    TexRect t = CellRect(texture.layout, frame);
    float right = left + static_cast<float>(image.width);
    float bottom = top + static_cast<float>(image.height);
    vertices_.push_back({left, top, t.u0, t.v0, r, g, b, a});
    vertices_.push_back({right, top, t.u1, t.v0, r, g, b, a});
    vertices_.push_back({right, bottom, t.u1, t.v1, r, g, b, a});
    vertices_.push_back({left, bottom, t.u0, t.v1, r, g, b, a});
}

void Renderer::DrawText(const std::string& text, int x, int y, const DrawState& state) {
    for (size_t i = 0; i < text.size(); ++i) {
        int c = static_cast<unsigned char>(text[i]);
        if (c < kFirstGlyph || c > kLastGlyph) {
            c = '?';
        }
        float left = static_cast<float>(x + static_cast<int>(i) * BUILTIN_FONT_WIDTH);
        DrawSprite(font_, c - kFirstGlyph, left, static_cast<float>(y), state);
    }
}

void Renderer::Flush() {
    if (vertices_.empty()) {
        return;
    }
    if (boundTexture_ != batchTexture_->id) {
        glBindTexture(GL_TEXTURE_2D, batchTexture_->id);
        boundTexture_ = batchTexture_->id;
    }
    if (batchTexture_->filter != batchFilter_) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, batchFilter_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, batchFilter_);
        batchTexture_->filter = batchFilter_;
    }
    ApplyBlend(batchBlend_);
    ApplyTint(batchTinted_);
    const Vertex* v = vertices_.data();
    glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &v->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &v->u);
    glColorPointer(4, GL_FLOAT, sizeof(Vertex), &v->r);
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices_.size()));
    ++drawCallsMade;
    vertices_.clear();
}

Renderer::Texture& Renderer::TextureFor(Image& image) {
    auto* texture = static_cast<Texture*>(image.backendData);
    if (texture == nullptr) {
        textures_.push_back(std::make_unique<Texture>());
        texture = textures_.back().get();
        image.backendData = texture;
    }
    if (texture->id == 0 || texture->version != image.version) {
        // Quads gathered so far must still see the old pixels.
        Flush();
        Upload(image, *texture);
        // The texture holds the pixels now; the copy in memory can go.
        ReleasePixels(image);
    }
    return *texture;
}

void Renderer::Upload(Image& image, Texture& texture) {
    // Uploaded anew (after UnlockImage), a picture whose pixels went after
    // the first upload needs them back.
    RestorePixels(image);
    texture.layout = LayoutAtlas(image.width, image.height, static_cast<int>(image.pixels.size()),
                                 maxTextureSize_);
    std::vector<uint32_t> texels = BuildAtlas(image, texture.layout);
    if (texture.id == 0) {
        glGenTextures(1, &texture.id);
    }
    glBindTexture(GL_TEXTURE_2D, texture.id);
    boundTexture_ = texture.id;
    GLint filter = (image.flags & IMAGE_FILTERED) ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    texture.filter = filter;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // 0xAARRGGBB words read the same on any byte order this way.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture.layout.width, texture.layout.height, 0,
                 GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texels.data());
    texture.version = image.version;
}

bool Renderer::NeedsSmoothing(const Image& image, float left, float top) const {
    if ((image.flags & IMAGE_FILTERED) == 0) {
        return false;
    }
    bool wholePixels = left == std::floor(left) && top == std::floor(top);
    return !wholePixels || scaled_;
}

void Renderer::Batch(Texture& texture, int blend, bool smooth, bool tinted) {
    if (!vertices_.empty() && (&texture != batchTexture_ || blend != batchBlend_)) {
        Flush();
    }
    if (vertices_.empty()) {
        batchFilter_ = GL_NEAREST;
        batchTinted_ = false;
    }
    batchTexture_ = &texture;
    batchBlend_ = blend;
    if (smooth) {
        batchFilter_ = GL_LINEAR;
    }
    if (tinted) {
        batchTinted_ = true;
    }
}

void Renderer::ApplyTint(bool tinted) {
    if (static_cast<int>(tinted) == appliedTint_) {
        return;
    }
    appliedTint_ = tinted ? 1 : 0;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, tinted ? GL_MODULATE : GL_REPLACE);
}

void Renderer::ApplyBlend(int blend) {
    if (blend == appliedBlend_) {
        return;
    }
    appliedBlend_ = blend;
    switch (blend) {
        case BLEND_SOLID:
            glDisable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            break;
        case BLEND_ALPHA:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glDisable(GL_ALPHA_TEST);
            break;
        default:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            break;
    }
}

}  // namespace sdl

#include "bench/frame/renderer_peer.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kSpriteSize = 32;

SDL_Texture* MakeTexture(SDL_Renderer* renderer, const std::vector<uint32_t>& pixels, int width,
                         int height, SDL_BlendMode blend) {
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_STATIC, width, height);
    if (texture != nullptr) {
        SDL_UpdateTexture(texture, nullptr, pixels.data(), width * 4);
        SDL_SetTextureBlendMode(texture, blend);
    }
    return texture;
}

}  // namespace

bool RendererPeer::Open(const std::vector<uint32_t>& background,
                        const std::vector<uint32_t>& sprite, int sprites) {
    if (background.size() != static_cast<size_t>(kWidth) * kHeight ||
        sprite.size() != static_cast<size_t>(kSpriteSize) * kSpriteSize) {
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    window_ = SDL_CreateWindow("renderer peer", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL);
    if (window_ == nullptr) {
        return false;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ == nullptr) {
        Close();
        return false;
    }
    background_ = MakeTexture(renderer_, background, kWidth, kHeight, SDL_BLENDMODE_NONE);
    sprite_ = MakeTexture(renderer_, sprite, kSpriteSize, kSpriteSize, SDL_BLENDMODE_BLEND);
    if (background_ == nullptr || sprite_ == nullptr) {
        Close();
        return false;
    }
    sprites_ = sprites;
    return true;
}

void RendererPeer::Close() {
    if (renderer_ != nullptr) {
        SDL_DestroyRenderer(renderer_);  // takes its textures with it
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
    }
    renderer_ = nullptr;
    window_ = nullptr;
    background_ = nullptr;
    sprite_ = nullptr;
}

void RendererPeer::DrawFrame() {
    SDL_RenderCopy(renderer_, background_, nullptr, nullptr);
    // Spread over the screen and drifting a pixel a frame, like sprites in play.
    for (int i = 0; i < sprites_; ++i) {
        int x =
            static_cast<int>((static_cast<uint32_t>(i) * 97u + frame_) % (kWidth - kSpriteSize));
        int y = (i * 61) % (kHeight - kSpriteSize);
        SDL_Rect to{x, y, kSpriteSize, kSpriteSize};
        SDL_RenderCopy(renderer_, sprite_, nullptr, &to);
    }
    SDL_RenderPresent(renderer_);
    ++frame_;
}

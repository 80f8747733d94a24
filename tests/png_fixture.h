// Writes small PNG files into memory with libpng, so the picture tests and
// benchmarks can make exactly the colour types and depths they need.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

struct PngLayout {
    int width = 0;
    int height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    // Packed rows in the file's own layout (bitDepth bits per sample,
    // 16-bit samples big-endian), each row padded to whole bytes.
    std::vector<uint8_t> rows;
    std::vector<png_color> palette;
    // Palette alpha, or for grey and RGB the transparent colour below.
    std::vector<uint8_t> paletteAlpha;
    bool hasTransparentColor = false;
    png_color_16 transparentColor{};
};

namespace png_fixture {

inline void Append(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

inline void Flush(png_structp) {}

inline int Channels(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        default:
            return 4;
    }
}

inline size_t RowBytes(const PngLayout& layout) {
    const size_t bits = size_t(layout.width) * Channels(layout.colorType) * layout.bitDepth;
    return (bits + 7) / 8;
}

// Only trivially destructible locals here: libpng may longjmp back.
inline bool Write(png_structp png, png_infop info, const PngLayout* layout, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, png_uint_32(layout->width), png_uint_32(layout->height),
                 layout->bitDepth, layout->colorType,
                 layout->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!layout->palette.empty()) {
        png_set_PLTE(png, info, layout->palette.data(), int(layout->palette.size()));
    }
    if (!layout->paletteAlpha.empty() || layout->hasTransparentColor) {
        png_color_16 color = layout->transparentColor;
        png_set_tRNS(
            png, info, layout->paletteAlpha.empty() ? nullptr : layout->paletteAlpha.data(),
            int(layout->paletteAlpha.size()), layout->hasTransparentColor ? &color : nullptr);
    }
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

}  // namespace png_fixture

// The file's bytes; empty if libpng refused the description.
inline std::vector<uint8_t> EncodePng(const PngLayout& layout) {
    std::vector<uint8_t> out;
    const size_t rowBytes = png_fixture::RowBytes(layout);
    if (layout.width <= 0 || layout.height <= 0 || layout.rows.size() != rowBytes * layout.height) {
        return out;
    }
    std::vector<uint8_t> copy = layout.rows;
    std::vector<png_bytep> rows(size_t(layout.height));
    for (size_t y = 0; y < rows.size(); ++y) {
        rows[y] = copy.data() + rowBytes * y;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool ok = info != nullptr;
    if (ok) {
        png_set_write_fn(png, &out, png_fixture::Append, png_fixture::Flush);
        ok = png_fixture::Write(png, info, &layout, rows.data());
    }
    png_destroy_write_struct(&png, &info);
    if (!ok) {
        out.clear();
    }
    return out;
}

// An 8-bit RGB or RGBA picture from 0xAARRGGBB pixels (alpha ignored for RGB).
inline std::vector<uint8_t> EncodeArgb(int width, int height, const std::vector<uint32_t>& argb,
                                       bool withAlpha) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colorType = withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    for (uint32_t p : argb) {
        layout.rows.push_back(uint8_t(p >> 16));
        layout.rows.push_back(uint8_t(p >> 8));
        layout.rows.push_back(uint8_t(p));
        if (withAlpha) {
            layout.rows.push_back(uint8_t(p >> 24));
        }
    }
    return EncodePng(layout);
}

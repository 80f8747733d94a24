// PNG decoding from memory with libpng. Every picture comes out as 8-bit
// RGBA whatever its colour type and depth, then packed as 0xAARRGGBB.
//
// libpng reports errors by longjmp back to the last setjmp. A longjmp must
// not skip the destructor of any C++ object, so the functions that call
// setjmp hold only trivially destructible locals and get their buffers from
// the caller, which allocates them outside any setjmp scope.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "platform/image.h"

namespace {

// Larger pictures than this are refused rather than allocated; the biggest
// the game ships is a 1024x768 backdrop.
constexpr png_uint_32 kMaxSide = 16384;

struct ByteCursor {
    const unsigned char* data;
    size_t length;
    size_t position;
};

void ReadFromCursor(png_structp png, png_bytep out, size_t count) {
    auto* cursor = static_cast<ByteCursor*>(png_get_io_ptr(png));
    if (count > cursor->length - cursor->position) {
        png_error(png, "truncated");
    }
    std::memcpy(out, cursor->data + cursor->position, count);
    cursor->position += count;
}

// Damaged data is an ordinary outcome for the loader (it yields a null
// image), so libpng's messages are not printed.
[[noreturn]] void SilentError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void SilentWarning(png_structp, png_const_charp) {}

struct Header {
    png_uint_32 width;
    png_uint_32 height;
    bool hasAlpha;
};

// Reads the chunks up to the image data and sets up the conversion to 8-bit
// RGBA words. Only trivially destructible locals: libpng may longjmp here.
bool ReadHeader(png_structp png, png_infop info, Header* header) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);

    const png_byte colorType = png_get_color_type(png, info);
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    header->hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;

    // Palette to RGB, grey below 8 bits to 8 bits, tRNS to an alpha channel.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if (!header->hasAlpha) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    // Bytes in the order that makes each pixel one 0xAARRGGBB word in
    // memory, so the rows are read straight into the picture.
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    png_set_bgr(png);
#else
    png_set_swap_alpha(png);
#endif
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    return png_get_bit_depth(png, info) == 8 && png_get_channels(png, info) == 4 &&
           png_get_rowbytes(png, info) == size_t{header->width} * 4;
}

// Reads the image data into the rows the caller allocated, then the chunks
// after it, so a picture cut short anywhere is refused. Only trivially
// destructible locals: libpng may longjmp here.
bool ReadRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

// Owns libpng's read state so that every way out of DecodePng frees it.
class PngReader {
public:
    PngReader() {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
        if (png_ != nullptr) {
            info_ = png_create_info_struct(png_);
        }
    }
    ~PngReader() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool ok() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

bool Decode(const unsigned char* data, size_t length, DecodedPicture& out) {
    if (data == nullptr || length < 8 || png_sig_cmp(data, 0, 8) != 0) {
        return false;
    }
    PngReader reader;
    if (!reader.ok()) {
        return false;
    }
    ByteCursor cursor{data, length, 0};
    png_set_read_fn(reader.png(), &cursor, ReadFromCursor);

    Header header{};
    if (!ReadHeader(reader.png(), reader.info(), &header)) {
        return false;
    }

    DecodedPicture picture;
    picture.width = static_cast<int>(header.width);
    picture.height = static_cast<int>(header.height);
    picture.hasAlpha = header.hasAlpha;
    picture.pixels.resize(size_t{header.width} * header.height);
    std::vector<png_bytep> rows(header.height);
    for (png_uint_32 y = 0; y < header.height; ++y) {
        rows[y] = reinterpret_cast<png_bytep>(picture.pixels.data() + size_t{header.width} * y);
    }
    if (!ReadRows(reader.png(), reader.info(), rows.data())) {
        return false;
    }
    out = std::move(picture);
    return true;
}

}  // namespace

// On failure 'out' is left as it was.
bool DecodePng(const unsigned char* data, size_t length, DecodedPicture& out) {
    try {
        return Decode(data, length, out);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

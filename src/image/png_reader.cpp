#include "image/png_reader.h"

#include "image/image_limits.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <png.h>

namespace vorpane {

namespace {

// Ancillary chunks can be large and compressed; nothing we draw needs more than this.
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;
constexpr int kGreyLevels = 256;
constexpr size_t kErrorTextSize = 200;
// Chunks we never look at: skipping them saves inflating text and profiles.
constexpr png_byte kIgnoredChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0";

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
    char error[kErrorTextSize];
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > src->size - src->pos)
        png_error(png, "read past the end of the data");
    std::memcpy(out, src->data + src->pos, length);
    src->pos += length;
}

[[noreturn]] void onError(png_structp png, png_const_charp message)
{
    auto* src = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(src->error, sizeof src->error, "%s", message ? message : "libpng error");
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) { }

// Asks libpng for the transformations that give one of our depths; returns that depth.
int configure(png_structp png, png_infop info)
{
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);

    png_color_16 background {};
    background.index = 0;
    background.red = 31;
    background.green = 127;
    background.blue = 255;
    background.gray = 0;
    png_set_background(png, &background, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    png_set_strip_16(png);

    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        if (bitDepth == 2) {
            png_set_packing(png);
            return 8;
        }
        return bitDepth;
    }
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
        if (bitDepth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        return 8;
    }
    png_set_bgr(png);
    return 24;
}

// The file's palette, or grey levels for grey files. Kept out of decode() so that no object with
// a destructor lives in the frame a library error jumps back into.
void setPalette(png_structp png, png_infop info, int colourType, ImageBitmap& out)
{
    png_colorp colours = nullptr;
    int count = 0;
    if (colourType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(png, info, &colours, &count)) {
        std::vector<QRgb> palette(size_t(std::max(count, 0)));
        for (size_t i = 0; i < palette.size(); ++i)
            palette[i] = qRgb(colours[i].red, colours[i].green, colours[i].blue);
        out.setPalette(std::move(palette));
    } else if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
        std::vector<QRgb> greys(kGreyLevels);
        for (int i = 0; i < kGreyLevels; ++i)
            greys[size_t(i)] = qRgb(i, i, i);
        out.setPalette(std::move(greys));
    }
}

// Everything that can long-jump lives here, with plain locals only.
bool decode(PngSource& src, ImageBitmap& out)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &src, onError, onWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &src, readFromMemory);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, int(sizeof kIgnoredChunks / 5));
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!imageSizeAcceptable(width, height))
        png_error(png, "image too large");
    const int colourType = png_get_color_type(png, info);
    const int depth = configure(png, info);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    if (!out.create(int(width), int(height), depth) || png_get_rowbytes(png, info) > out.stride())
        png_error(png, "unexpected row layout");
    out.setColourType(colourType);

    setPalette(png, info, colourType, out);

    // Later passes fill in the pixels of rows that earlier passes started.
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, out.row(int(y)), nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

bool readPng(std::span<const uint8_t> file, ImageBitmap& out, std::string* error)
{
    out.clear();
    PngSource src { file.data(), file.size(), 0, {} };
    if (decode(src, out))
        return true;
    out.clear();
    if (error)
        *error = src.error;
    return false;
}

} // namespace vorpane

#include "image/jpeg_reader.h"

#include "image/image_limits.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
// The library headers need size_t and FILE declared first (cstdio above).
#include <jerror.h>
#include <jpeglib.h>

namespace vorpane {

namespace {

constexpr int kGreyLevels = 256;
// A progressive file may hold any number of scans; real ones have a dozen. Many thousands of
// tiny scans would each make the library walk the whole coefficient buffer.
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onFatalError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) { }

void onProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        cinfo->err->msg_code = JERR_NOT_COMPILED; // any code: only the failure matters
        (*cinfo->err->error_exit)(cinfo);
    }
}

// The quantiser's colour map, or grey levels. Kept out of decode() so that no object with a
// destructor lives in the frame a library error jumps back into.
void setPalette(const jpeg_decompress_struct& cinfo, ImageBitmap& out)
{
    std::vector<QRgb> palette;
    if (cinfo.quantize_colors) {
        palette.resize(size_t(cinfo.actual_number_of_colors));
        const bool cmyk = cinfo.out_color_components == 4;
        // Files written by Adobe's programs store CMYK inverted, as most CMYK files are.
        const bool inverted = cinfo.saw_Adobe_marker;
        for (size_t i = 0; i < palette.size(); ++i) {
            int c[4] = {};
            for (int k = 0; k < std::min(cinfo.out_color_components, 4); ++k)
                c[k] = cinfo.colormap[k][i];
            if (cmyk) {
                for (int& v : c)
                    v = inverted ? v : 255 - v;
                palette[i] = qRgb(c[0] * c[3] / 255, c[1] * c[3] / 255, c[2] * c[3] / 255);
            } else if (cinfo.out_color_components >= 3) {
                palette[i] = qRgb(c[0], c[1], c[2]);
            } else {
                palette[i] = qRgb(c[0], c[0], c[0]);
            }
        }
    } else {
        palette.resize(kGreyLevels);
        for (int i = 0; i < kGreyLevels; ++i)
            palette[size_t(i)] = qRgb(i, i, i);
    }
    out.setPalette(std::move(palette));
}

// Everything that can long-jump lives here, with plain locals only.
bool decode(std::span<const uint8_t> file, ImageBitmap& out, ErrorManager& err)
{
    jpeg_decompress_struct cinfo {};
    jpeg_progress_mgr progress {};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onFatalError;
    err.pub.emit_message = onMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    progress.progress_monitor = onProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (!imageSizeAcceptable(cinfo.image_width, cinfo.image_height)) {
        std::snprintf(err.message, sizeof err.message, "image too large");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (cinfo.out_color_space != JCS_GRAYSCALE) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = kJpegQuantisedColours;
    }
    jpeg_start_decompress(&cinfo);
    if (!out.create(int(cinfo.output_width), int(cinfo.output_height), 8) || cinfo.output_components != 1) {
        std::snprintf(err.message, sizeof err.message, "unexpected output layout");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    setPalette(cinfo, out);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.row(int(cinfo.output_scanline));
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            break;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

bool readJpeg(std::span<const uint8_t> file, ImageBitmap& out, std::string* error)
{
    out.clear();
    ErrorManager err {};
    if (decode(file, out, err))
        return true;
    out.clear();
    if (error)
        *error = err.message;
    return false;
}

} // namespace vorpane

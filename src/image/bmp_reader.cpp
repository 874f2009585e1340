#include "image/bmp_reader.h"

#include "image/image_byte_reader.h"
#include "image/image_limits.h"

#include <algorithm>
#include <array>
#include <optional>

namespace vorpane {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaxInfoHeaderSize = 124; // the version-5 header
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kMaxTableColours = 256;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct DibHeader {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0; // positive: rows bottom-up; negative: top-down
    int bits = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;
    std::array<uint32_t, 3> masks {}; // red, green, blue for bit fields
    size_t tableEntries = 0;
    size_t tableEntrySize = 4;
    size_t headerAndTableSize = 0; // header, masks and colour table
};

bool fail(std::string* error, const char* why)
{
    if (error)
        *error = why;
    return false;
}

// Parses and validates the header, masks and the size of the colour table.
bool parseHeader(ImageByteReader& in, DibHeader& h, std::string* error)
{
    h.size = in.le32();
    if (h.size == kCoreHeaderSize) {
        h.width = in.le16();
        h.height = in.le16();
        in.le16(); // planes
        h.bits = in.le16();
        h.tableEntrySize = 3;
    } else if (h.size >= kInfoHeaderSize && h.size <= kMaxInfoHeaderSize) {
        h.width = in.le32s();
        h.height = in.le32s();
        in.le16(); // planes
        h.bits = in.le16();
        h.compression = in.le32();
        in.skip(12); // image size, resolution
        h.coloursUsed = in.le32();
        in.le32(); // important colours
        if (h.size >= kInfoHeaderSize + 12)
            h.masks = { in.le32(), in.le32(), in.le32() };
        in.seek(h.size);
        if (h.size == kInfoHeaderSize && h.compression == kBitFields)
            h.masks = { in.le32(), in.le32(), in.le32() };
    } else {
        return fail(error, "unsupported bitmap header size");
    }
    if (in.overrun())
        return fail(error, "truncated bitmap header");

    const bool rgbOk = h.compression == kRgb
        && (h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32);
    const bool rleOk = (h.compression == kRle8 && h.bits == 8) || (h.compression == kRle4 && h.bits == 4);
    const bool fieldsOk = h.compression == kBitFields && (h.bits == 16 || h.bits == 32);
    if (!rgbOk && !rleOk && !fieldsOk)
        return fail(error, "unsupported bit count or compression");
    if (h.width <= 0 || h.height == 0)
        return fail(error, "bad dimensions");
    if ((h.compression == kRle8 || h.compression == kRle4) && h.height < 0)
        return fail(error, "top-down run-length bitmap");
    if (!imageSizeAcceptable(h.width, h.height < 0 ? -h.height : h.height))
        return fail(error, "image too large");

    if (h.bits <= 8) {
        const uint32_t full = 1u << h.bits;
        if (h.coloursUsed > full)
            return fail(error, "more colours than the bit count allows");
        h.tableEntries = h.coloursUsed ? h.coloursUsed : full;
    } else {
        // True-colour bitmaps may carry an optimisation table; it is skipped.
        if (h.coloursUsed > kMaxTableColours)
            return fail(error, "colour table too large");
        h.tableEntries = h.coloursUsed;
    }
    h.headerAndTableSize = in.pos() + h.tableEntries * h.tableEntrySize;
    return true;
}

std::vector<QRgb> readColourTable(ImageByteReader& in, const DibHeader& h)
{
    std::vector<QRgb> colours(h.tableEntries);
    for (QRgb& c : colours) {
        const int b = in.u8(), g = in.u8(), r = in.u8();
        if (h.tableEntrySize == 4)
            in.u8();
        c = qRgb(r, g, b);
    }
    return colours;
}

// Plain rows of 1, 4, 8 or 24 bits: the stored layout is ours already.
void copyRows(std::span<const uint8_t> bits, const DibHeader& h, ImageBitmap& out)
{
    const size_t stride = out.stride();
    for (int i = 0; i < out.height(); ++i) {
        const size_t from = size_t(i) * stride;
        if (from >= bits.size())
            break; // a truncated file keeps the rows it has; the rest stays black
        const size_t n = std::min(stride, bits.size() - from);
        // Row i of the data is row i from the bottom, unless the bitmap is top-down.
        const int top = h.height > 0 ? out.height() - 1 - i : i;
        std::copy_n(bits.data() + from, n, out.row(top));
    }
}

int maskShift(uint32_t mask)
{
    int shift = 0;
    while (shift < 32 && !(mask & (1u << shift)))
        ++shift;
    return shift;
}

int maskBits(uint32_t mask, int shift)
{
    int n = 0;
    while (shift + n < 32 && (mask & (1u << (shift + n))))
        ++n;
    return n;
}

uint8_t scaleChannel(uint32_t value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits >= 8)
        return uint8_t(value >> (bits - 8));
    const uint32_t max = (1u << bits) - 1;
    return uint8_t((value * 255 + max / 2) / max);
}

// 16- and 32-bit pixels, decoded through their channel masks into blue, green, red.
void convertRows(std::span<const uint8_t> bits, const DibHeader& h, ImageBitmap& out)
{
    std::array<uint32_t, 3> masks = h.masks;
    if (h.compression != kBitFields)
        masks = h.bits == 16 ? std::array<uint32_t, 3> { 0x7C00, 0x03E0, 0x001F }
                             : std::array<uint32_t, 3> { 0xFF0000, 0x00FF00, 0x0000FF };
    std::array<int, 3> shift {}, width {};
    for (size_t c = 0; c < 3; ++c) {
        shift[c] = maskShift(masks[c]);
        width[c] = maskBits(masks[c], shift[c]);
    }
    const size_t bytesPerPixel = size_t(h.bits) / 8;
    const size_t stride = *bitmapStride(h.width, h.bits);
    for (int i = 0; i < out.height(); ++i) {
        const size_t from = size_t(i) * stride;
        if (from >= bits.size())
            break;
        const int top = h.height > 0 ? out.height() - 1 - i : i;
        uint8_t* row = out.row(top);
        const uint8_t* p = bits.data() + from;
        const size_t n = std::min<size_t>(size_t(out.width()), (bits.size() - from) / bytesPerPixel);
        for (size_t x = 0; x < n; ++x, p += bytesPerPixel) {
            uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8;
            if (bytesPerPixel == 4)
                v |= uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
            for (size_t c = 0; c < 3; ++c) {
                const uint32_t field = shift[c] < 32 ? (v & masks[c]) >> shift[c] : 0;
                row[x * 3 + 2 - c] = scaleChannel(field, width[c]);
            }
        }
    }
}

// Run-length encoded 8- or 4-bit data. Coordinates count rows from the bottom; anything that
// points outside the bitmap is clipped, and the data simply ending is the end of the picture.
void decodeRle(std::span<const uint8_t> bits, const DibHeader& h, ImageBitmap& out)
{
    ImageByteReader in(bits);
    const bool four = h.compression == kRle4;
    int64_t x = 0, y = 0; // y from the bottom
    const int64_t w = out.width(), ht = out.height();
    auto put = [&](int index) {
        if (x < w && y < ht)
            out.setPixel(int(x), int(ht - 1 - y), index);
        ++x;
    };
    while (!in.atEnd() && y < ht) {
        const int count = in.u8();
        const int value = in.u8();
        if (in.overrun())
            break;
        if (count > 0) {
            for (int i = 0; i < count && x < w; ++i)
                put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            x += in.u8();
            y += in.u8();
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            const int bytes = four ? (value + 1) / 2 : value;
            for (int i = 0; i < value; ++i) {
                if (!four) {
                    put(in.u8());
                } else if ((i & 1) == 0) {
                    const int byte = in.u8();
                    put(byte >> 4);
                    if (i + 1 < value)
                        put(byte & 0x0F);
                }
            }
            if (bytes & 1)
                in.u8();
        }
    }
}

bool decodePixels(std::span<const uint8_t> bits, const DibHeader& h, const std::vector<QRgb>& table,
    ImageBitmap& out, std::string* error)
{
    const int depth = h.bits <= 8 ? h.bits : 24;
    const int64_t height = h.height < 0 ? -h.height : h.height;
    if (!out.create(int(h.width), int(height), depth))
        return fail(error, "cannot create bitmap");
    if (h.bits <= 8 && !table.empty())
        out.setPalette(table);
    if (h.compression == kRle8 || h.compression == kRle4)
        decodeRle(bits, h, out);
    else if (h.bits == 16 || h.bits == 32)
        convertRows(bits, h, out);
    else
        copyRows(bits, h, out);
    return true;
}

} // namespace

bool readDib(
    std::span<const uint8_t> info, std::span<const uint8_t> bits, ImageBitmap& out, std::string* error)
{
    out.clear();
    ImageByteReader in(info);
    DibHeader h;
    if (!parseHeader(in, h, error))
        return false;
    const auto table = readColourTable(in, h);
    if (in.overrun())
        return fail(error, "truncated colour table");
    return decodePixels(bits, h, table, out, error);
}

bool readBmp(std::span<const uint8_t> file, ImageBitmap& out, std::string* error)
{
    out.clear();
    ImageByteReader in(file);
    if (in.u8() != 'B' || in.u8() != 'M')
        return fail(error, "not a bitmap file");
    in.skip(8); // file size, reserved
    const uint32_t offBits = in.le32();
    if (in.overrun())
        return fail(error, "truncated file header");
    const auto rest = file.subspan(kFileHeaderSize);
    ImageByteReader dib(rest);
    DibHeader h;
    if (!parseHeader(dib, h, error))
        return false;
    const auto table = readColourTable(dib, h);
    if (dib.overrun())
        return fail(error, "truncated colour table");
    // The pixels start where the file header says, unless that points into the headers or past
    // the end; then they follow the colour table.
    size_t start = kFileHeaderSize + dib.pos();
    if (offBits >= start && offBits < file.size())
        start = offBits;
    return decodePixels(file.subspan(std::min(start, file.size())), h, table, out, error);
}

} // namespace vorpane

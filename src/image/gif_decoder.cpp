#include "image/gif_decoder.h"

#include "image/image_byte_reader.h"
#include "image/image_limits.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace vorpane {

namespace {

constexpr int kHeaderSize = 13;
constexpr int kMinCodeSizeLow = 2;
constexpr int kMinCodeSizeHigh = 9;
constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;
constexpr int kPaletteEntries = 256;
constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr int kGraphicControlBytes = 4;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

std::vector<QRgb> readColourTable(ImageByteReader& in, int sizeField)
{
    std::vector<QRgb> table(size_t(1) << (sizeField + 1));
    for (QRgb& c : table) {
        const int r = in.u8(), g = in.u8(), b = in.u8();
        c = qRgb(r, g, b);
    }
    return table;
}

void skipSubBlocks(ImageByteReader& in)
{
    while (!in.atEnd()) {
        const uint8_t n = in.u8();
        if (n == 0)
            break;
        in.skip(n);
    }
}

// The data sub-blocks of one image, joined.
std::vector<uint8_t> gatherSubBlocks(ImageByteReader& in)
{
    std::vector<uint8_t> data;
    while (!in.atEnd()) {
        const uint8_t n = in.u8();
        if (n == 0)
            break;
        const auto block = in.take(std::min<size_t>(n, in.remaining()));
        data.insert(data.end(), block.begin(), block.end());
    }
    return data;
}

// Where decoded pixels go: rows top first, or in the four interlace passes.
class RowSink {
public:
    RowSink(ImageBitmap& bitmap, bool interlaced)
        : m_bitmap(bitmap)
        , m_width(size_t(bitmap.width()))
        , m_height(bitmap.height())
        , m_interlaced(interlaced)
    {
        m_row = m_bitmap.row(0);
    }

    bool done() const { return m_done; }

    void write(const uint8_t* pixels, size_t n)
    {
        while (n && !m_done) {
            const size_t k = std::min(n, m_width - m_x);
            std::memcpy(m_row + m_x, pixels, k);
            m_x += k;
            pixels += k;
            n -= k;
            if (m_x == m_width)
                nextRow();
        }
    }

private:
    void nextRow()
    {
        static constexpr std::array<int, 4> kStart = { 0, 4, 2, 1 };
        static constexpr std::array<int, 4> kStep = { 8, 8, 4, 2 };
        m_x = 0;
        if (!m_interlaced) {
            ++m_y;
        } else {
            m_y += kStep[size_t(m_pass)];
            while (m_y >= m_height && ++m_pass < 4)
                m_y = kStart[size_t(m_pass)];
        }
        if (m_y >= m_height)
            m_done = true;
        else
            m_row = m_bitmap.row(m_y);
    }

    ImageBitmap& m_bitmap;
    size_t m_width;
    int m_height;
    bool m_interlaced;
    int m_pass = 0;
    int m_y = 0;
    size_t m_x = 0;
    uint8_t* m_row = nullptr;
    bool m_done = false;
};

// Variable-length-code LZW as GIF uses it: codes grow to 12 bits, the clear code restarts, the
// end code stops; a code beyond the table is counted and decoded as the next entry would be.
class LzwDecoder {
public:
    explicit LzwDecoder(int minCodeSize)
        : m_min(minCodeSize)
    {
    }

    void decode(std::span<const uint8_t> data, RowSink& sink, int& badCodes)
    {
        const int clear = 1 << m_min;
        const int end = clear + 1;
        for (int i = 0; i < clear; ++i) {
            m_prefix[size_t(i)] = 0;
            m_suffix[size_t(i)] = uint8_t(i);
            m_length[size_t(i)] = 1;
            m_first[size_t(i)] = uint8_t(i);
        }
        reset(clear);

        size_t pos = 0;
        uint32_t bitBuffer = 0;
        int bitCount = 0;
        int old = -1;
        while (!sink.done()) {
            while (bitCount < m_codeSize && pos < data.size()) {
                bitBuffer |= uint32_t(data[pos++]) << bitCount;
                bitCount += 8;
            }
            if (bitCount < m_codeSize)
                return; // the data ran out
            int code = int(bitBuffer & ((1u << m_codeSize) - 1));
            bitBuffer >>= m_codeSize;
            bitCount -= m_codeSize;

            if (code == clear) {
                reset(clear);
                old = -1;
                continue;
            }
            if (code == end)
                return;
            if (old < 0) {
                if (code >= m_next) { // nothing to build on yet
                    ++badCodes;
                    continue;
                }
                writeString(code, sink);
                old = code;
                continue;
            }
            if (code > m_next) {
                ++badCodes;
                code = m_next;
            }
            if (code == m_next) {
                // The string of old plus its own first character. Codes have 12 bits, so
                // m_next is below kMaxCodes here.
                add(old, m_first[size_t(old)]);
                writeString(code, sink);
            } else {
                writeString(code, sink);
                if (m_next < kMaxCodes)
                    add(old, m_first[size_t(code)]);
            }
            old = code;
        }
    }

private:
    void reset(int clear)
    {
        m_codeSize = m_min + 1;
        m_next = clear + 2;
    }

    void add(int prefix, uint8_t suffix)
    {
        m_prefix[size_t(m_next)] = uint16_t(prefix);
        m_suffix[size_t(m_next)] = suffix;
        m_length[size_t(m_next)] = uint16_t(m_length[size_t(prefix)] + 1);
        m_first[size_t(m_next)] = m_first[size_t(prefix)];
        ++m_next;
        if (m_next == (1 << m_codeSize) && m_codeSize < kMaxCodeBits)
            ++m_codeSize;
    }

    void writeString(int code, RowSink& sink)
    {
        const size_t n = m_length[size_t(code)];
        uint8_t* p = m_string.data() + n;
        while (p != m_string.data()) {
            *--p = m_suffix[size_t(code)];
            code = m_prefix[size_t(code)];
        }
        sink.write(m_string.data(), n);
    }

    int m_min;
    int m_codeSize = 0;
    int m_next = 0;
    std::array<uint16_t, kMaxCodes> m_prefix {};
    std::array<uint8_t, kMaxCodes> m_suffix {};
    std::array<uint16_t, kMaxCodes> m_length {};
    std::array<uint8_t, kMaxCodes> m_first {};
    std::array<uint8_t, kMaxCodes + 1> m_string {};
};

// The palette rules: with a transparent index the palette has 256 entries, entries past the
// table are white, entry 255 is white when the table has no white, and the see-through entry
// is black so that nothing of it shows should a surface draw it.
std::vector<QRgb> gifPalette(const std::vector<QRgb>& table, int transparent)
{
    std::vector<QRgb> palette = table;
    if (transparent < 0)
        return palette;
    const bool hadWhite = std::find(table.begin(), table.end(), kWhite) != table.end();
    palette.resize(kPaletteEntries, kWhite);
    if (!hadWhite)
        palette[kPaletteEntries - 1] = kWhite;
    palette[size_t(transparent)] = kBlack;
    return palette;
}

} // namespace

bool readGif(std::span<const uint8_t> file, ImageBitmap& out, GifDecodeReport* report)
{
    out.clear();
    GifDecodeReport local;
    GifDecodeReport& rep = report ? *report : local;
    rep = GifDecodeReport();

    ImageByteReader in(file);
    if (file.size() < size_t(kHeaderSize) || std::memcmp(file.data(), "GIF8", 4) != 0)
        return false;
    in.skip(6 + 4); // signature, version, screen size
    const uint8_t screenFlags = in.u8();
    in.skip(2); // background, aspect
    std::vector<QRgb> globalTable;
    if (screenFlags & 0x80)
        globalTable = readColourTable(in, screenFlags & 7);

    int transparent = ImageBitmap::kNoTransparency;
    while (!in.atEnd() && !in.overrun()) {
        const uint8_t kind = in.u8();
        if (kind == kExtensionIntroducer) {
            const uint8_t label = in.u8();
            if (label == kGraphicControlLabel) {
                const uint8_t size = in.u8();
                if (size < kGraphicControlBytes || in.remaining() < size)
                    break; // a bogus or cut control block ends the file
                const uint8_t flags = in.u8();
                in.skip(2); // delay
                const uint8_t index = in.u8();
                in.skip(size - kGraphicControlBytes);
                if (flags & 1)
                    transparent = index;
            }
            skipSubBlocks(in);
        } else if (kind == kImageSeparator) {
            in.skip(4); // position on the screen
            const int width = in.le16();
            const int height = in.le16();
            const uint8_t flags = in.u8();
            std::vector<QRgb> localTable;
            if (flags & 0x80)
                localTable = readColourTable(in, flags & 7);
            const int minCodeSize = in.u8();
            if (in.overrun())
                break;
            auto data = gatherSubBlocks(in);
            if (width == 0 || height == 0)
                continue; // an empty frame leaves the picture as it was
            ImageBitmap frame;
            if (!frame.create(width, height, 8)) {
                out.clear();
                return false;
            }
            const auto& table = (flags & 0x80) ? localTable : globalTable;
            if (!table.empty())
                frame.setPalette(gifPalette(table, transparent));
            frame.setTransparentIndex(transparent);
            if (minCodeSize >= kMinCodeSizeLow && minCodeSize <= kMinCodeSizeHigh) {
                RowSink sink(frame, flags & 0x40);
                auto decoder = std::make_unique<LzwDecoder>(minCodeSize);
                decoder->decode(data, sink, rep.badCodes);
            }
            out = std::move(frame);
            ++rep.images;
        } else {
            rep.trailer = kind == kTrailer;
            break;
        }
    }
    return true;
}

} // namespace vorpane

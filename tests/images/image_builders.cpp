#include "image_builders.h"

#include <QFile>
#include <array>

namespace vorpane::test {

void putLe16(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void putLe32(Bytes& out, uint32_t v)
{
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}

QRgb patternColour(int x, int y)
{
    static constexpr std::array<QRgb, 6> kColours
        = { 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFFFFFF00 };
    return kColours[size_t((x + 2 * y) % 6)];
}

int greyLevel(int x, int y) { return (20 * x + 3 * y) % 256; }

QString fixture(const char* name)
{
    return qEnvironmentVariable("VORPANE_SOURCE_DIR") + "/tests/data/images/" + name;
}

Bytes readFixture(const char* name)
{
    QFile file(fixture(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

Bytes makeBmp(const BmpLayout& layout)
{
    Bytes info;
    putLe32(info, layout.headerSize);
    if (layout.headerSize == 12) {
        putLe16(info, uint32_t(layout.width));
        putLe16(info, uint32_t(layout.height));
        putLe16(info, 1);
        putLe16(info, layout.bits);
    } else {
        putLe32(info, uint32_t(layout.width));
        putLe32(info, uint32_t(layout.height));
        putLe16(info, 1);
        putLe16(info, layout.bits);
        putLe32(info, layout.compression);
        putLe32(info, uint32_t(layout.pixels.size()));
        putLe32(info, 2835);
        putLe32(info, 2835);
        putLe32(info, layout.coloursUsed);
        putLe32(info, 0);
        while (info.size() < layout.headerSize)
            info.push_back(0);
    }
    for (QRgb c : layout.colours) {
        info.push_back(uint8_t(qBlue(c)));
        info.push_back(uint8_t(qGreen(c)));
        info.push_back(uint8_t(qRed(c)));
        if (layout.headerSize != 12)
            info.push_back(0);
    }
    Bytes file = { 'B', 'M' };
    const uint32_t offset = uint32_t(14 + info.size());
    putLe32(file, uint32_t(offset + layout.pixels.size()));
    putLe32(file, 0);
    putLe32(file, offset);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), layout.pixels.begin(), layout.pixels.end());
    return file;
}

namespace {

class BitWriter {
public:
    void put(int code, int bits)
    {
        m_buffer |= uint32_t(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.push_back(uint8_t(m_buffer));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }
    Bytes finish()
    {
        if (m_count > 0)
            m_bytes.push_back(uint8_t(m_buffer));
        return m_bytes;
    }

private:
    Bytes m_bytes;
    uint32_t m_buffer = 0;
    int m_count = 0;
};

int tableSizeField(size_t entries)
{
    int field = 0;
    while ((size_t(2) << field) < entries)
        ++field;
    return field;
}

Bytes gifWith(const GifLayout& layout, int minCodeSize, const Bytes& data)
{
    Bytes out = { 'G', 'I', 'F', '8', '9', 'a' };
    putLe16(out, uint32_t(layout.width));
    putLe16(out, uint32_t(layout.height));
    const bool global = !layout.globalTable.empty();
    out.push_back(uint8_t(global ? 0x80 | tableSizeField(layout.globalTable.size()) : 0));
    out.push_back(0);
    out.push_back(0);
    for (QRgb c : layout.globalTable) {
        out.push_back(uint8_t(qRed(c)));
        out.push_back(uint8_t(qGreen(c)));
        out.push_back(uint8_t(qBlue(c)));
    }
    if (layout.transparent >= 0)
        out.insert(out.end(), { 0x21, 0xF9, 4, 1, 0, 0, uint8_t(layout.transparent), 0 });
    out.push_back(0x2C);
    putLe32(out, 0);
    putLe16(out, uint32_t(layout.width));
    putLe16(out, uint32_t(layout.height));
    out.push_back(layout.interlaced ? 0x40 : 0);
    out.push_back(uint8_t(minCodeSize));
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    out.push_back(0);
    if (layout.trailer)
        out.push_back(';');
    return out;
}

} // namespace

Bytes makeGif(const GifLayout& layout, const std::vector<uint8_t>& indices)
{
    const int minCodeSize = layout.minCodeSize
        ? layout.minCodeSize
        : std::max(2, tableSizeField(std::max<size_t>(layout.globalTable.size(), 2)) + 1);
    const int clear = 1 << minCodeSize;
    const int bits = minCodeSize + 1;
    BitWriter writer;
    writer.put(clear, bits);
    int sinceClear = 0;
    for (uint8_t index : indices) {
        if (sinceClear == clear - 2) {
            writer.put(clear, bits);
            sinceClear = 0;
        }
        writer.put(index, bits);
        ++sinceClear;
    }
    writer.put(clear + 1, bits);
    return gifWith(layout, minCodeSize, writer.finish());
}

Bytes makeGifWithCodes(const GifLayout& layout, int codeBits, const std::vector<int>& codes)
{
    BitWriter writer;
    for (int code : codes)
        writer.put(code, codeBits);
    return gifWith(layout, layout.minCodeSize ? layout.minCodeSize : 2, writer.finish());
}

Bytes ints(std::initializer_list<int32_t> values)
{
    Bytes out;
    for (int32_t v : values)
        putLe32(out, uint32_t(v));
    return out;
}

Bytes makeEmf(
    int left, int top, int right, int bottom, const std::vector<EmfRecord>& records, uint16_t handles)
{
    auto record = [](Bytes& out, uint32_t type, Bytes body) {
        while (body.size() % 4)
            body.push_back(0);
        putLe32(out, type);
        putLe32(out, uint32_t(8 + body.size()));
        out.insert(out.end(), body.begin(), body.end());
    };
    Bytes body;
    for (const EmfRecord& r : records)
        record(body, r.type, r.body);
    record(body, 14, ints({ 0, 16, 20 }));

    Bytes header = ints({ 0, 0, 1000, 1000, left, top, right, bottom, 0x464D4520, 0x10000, 0, 0 });
    putLe16(header, handles);
    putLe16(header, 0);
    const Bytes tail = ints({ 0, 0, 0, 1000, 1000, 100, 100 });
    header.insert(header.end(), tail.begin(), tail.end());
    Bytes out;
    record(out, 1, header);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace vorpane::test

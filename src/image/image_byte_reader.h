#pragma once
// The one way the image readers read their input: a cursor over a byte span that can never run
// past the end. Reads past the end yield zeros and set a sticky flag the reader checks at its
// own pace, so a truncated file needs no check after every byte.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace vorpane {

class ImageByteReader {
public:
    explicit ImageByteReader(std::span<const uint8_t> data)
        : m_data(data)
    {
    }

    uint8_t u8()
    {
        if (m_pos < m_data.size())
            return m_data[m_pos++];
        m_overrun = true;
        return 0;
    }
    uint16_t le16()
    {
        const uint16_t lo = u8();
        return uint16_t(lo | (u8() << 8));
    }
    uint32_t le32()
    {
        const uint32_t lo = le16();
        return lo | (uint32_t(le16()) << 16);
    }
    int32_t le32s() { return int32_t(le32()); }

    // Copies up to n bytes; returns how many were there (the rest of out is zeroed).
    size_t read(uint8_t* out, size_t n)
    {
        const size_t have = n <= remaining() ? n : remaining();
        if (have)
            std::memcpy(out, m_data.data() + m_pos, have);
        if (have < n) {
            std::memset(out + have, 0, n - have);
            m_overrun = true;
        }
        m_pos += have;
        return have;
    }
    // The next n bytes, or an empty span (and the overrun flag) when fewer are left.
    std::span<const uint8_t> take(size_t n)
    {
        if (n > remaining()) {
            m_pos = m_data.size();
            m_overrun = true;
            return {};
        }
        const auto part = m_data.subspan(m_pos, n);
        m_pos += n;
        return part;
    }
    void skip(size_t n)
    {
        if (n > remaining()) {
            m_pos = m_data.size();
            m_overrun = true;
        } else {
            m_pos += n;
        }
    }
    void seek(size_t pos) { m_pos = pos <= m_data.size() ? pos : m_data.size(); }

    size_t pos() const { return m_pos; }
    size_t size() const { return m_data.size(); }
    size_t remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    bool overrun() const { return m_overrun; }

private:
    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
    bool m_overrun = false;
};

} // namespace vorpane

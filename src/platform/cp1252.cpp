#include "platform/cp1252.h"

#include <QList>
#include <array>

namespace vorpane {

namespace {

// Code points of bytes 0x80 to 0x9F; 0 marks the undefined ones.
constexpr std::array<char16_t, 32> kHighControls = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

char16_t codePointOf(unsigned char byte)
{
    if (byte < 0x80 || byte >= 0xA0)
        return byte;
    const char16_t mapped = kHighControls[byte - 0x80];
    return mapped ? mapped : char16_t(0xFFFD);
}

char byteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return char(cp);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] && kHighControls[i] == cp)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

QString fromCp1252(std::string_view bytes)
{
    QString result;
    result.resize(qsizetype(bytes.size()));
    QChar* out = result.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        out[i] = QChar(codePointOf(static_cast<unsigned char>(bytes[i])));
    return result;
}

std::string toCp1252(const QString& text)
{
    std::string result;
    result.reserve(size_t(text.size()));
    for (char32_t cp : text.toUcs4())
        result.push_back(byteOf(cp));
    return result;
}

QString fromCp1252Exact(std::string_view bytes)
{
    QString result = fromCp1252(bytes);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (result[qsizetype(i)] == QChar(0xFFFD))
            result[qsizetype(i)] = QChar(static_cast<unsigned char>(bytes[i]));
    }
    return result;
}

std::optional<std::string> toCp1252Exact(const QString& text, qsizetype* badIndex)
{
    std::string result;
    result.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool undefinedByte = c >= 0x80 && c < 0xA0 && kHighControls[c - 0x80] == 0;
        const char byte = undefinedByte ? char(c) : byteOf(c);
        if (byte == '?' && c != u'?') {
            if (badIndex)
                *badIndex = i;
            return std::nullopt;
        }
        result.push_back(byte);
    }
    return result;
}

std::string cp1252(std::string_view utf8)
{
    return toCp1252(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

std::string cp1252ToUtf8(std::string_view bytes) { return fromCp1252(bytes).toStdString(); }

} // namespace vorpane

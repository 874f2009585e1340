// Decoding a 2000 x 2000 picture with our GIF and BMP readers and, through our wrappers, with
// libpng and libjpeg; Qt's own GIF and BMP decoders on the same bytes give a well-kept
// reference to compare our readers with.
#include "image/bmp_reader.h"
#include "image/gif_decoder.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kSide = 2000;
constexpr int kMaxCodes = 4096;
using Bytes = std::vector<uint8_t>;

// A picture with the mix a scanned handout has: smooth shading, hard edges and some noise.
QImage testPicture()
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    uint32_t seed = 12345;
    for (int y = 0; y < kSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSide; ++x) {
            seed = seed * 1103515245 + 12345;
            const int noise = (x > 1400 && y > 1400) ? int(seed >> 27) : 0;
            const int rings = ((x - 1000) * (x - 1000) + (y - 700) * (y - 700)) / 4000;
            const int r = (x / 8 + noise) & 0xFF;
            const int g = (rings * 16) & 0xFF;
            const int b = ((x / 64) ^ (y / 64)) & 1 ? 200 : 40;
            line[x] = qRgb(r, g, b);
        }
    }
    return image;
}

void putLe16(Bytes& out, int v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

// A plain GIF encoder with a full LZW dictionary, so the decoder sees real code lengths.
Bytes encodeGif(const QImage& indexed)
{
    Bytes out = { 'G', 'I', 'F', '8', '9', 'a' };
    putLe16(out, indexed.width());
    putLe16(out, indexed.height());
    out.insert(out.end(), { 0xF7, 0, 0 });
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        out.insert(out.end(), { uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c)) });
    }
    out.push_back(0x2C);
    putLe16(out, 0);
    putLe16(out, 0);
    putLe16(out, indexed.width());
    putLe16(out, indexed.height());
    out.push_back(0);
    out.push_back(8);

    Bytes data;
    uint32_t buffer = 0;
    int bits = 0;
    int codeSize = 9;
    auto put = [&](int code) {
        buffer |= uint32_t(code) << bits;
        bits += codeSize;
        while (bits >= 8) {
            data.push_back(uint8_t(buffer));
            buffer >>= 8;
            bits -= 8;
        }
    };
    std::unordered_map<uint32_t, int> dictionary;
    int next = 258;
    put(256);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int c = line[x];
            if (prefix < 0) {
                prefix = c;
                continue;
            }
            const uint32_t key = uint32_t(prefix) << 8 | uint32_t(c);
            const auto it = dictionary.find(key);
            if (it != dictionary.end()) {
                prefix = it->second;
                continue;
            }
            put(prefix);
            if (next < kMaxCodes) {
                dictionary[key] = next++;
                if (next > (1 << codeSize) && codeSize < 12)
                    ++codeSize;
            } else {
                put(256);
                dictionary.clear();
                next = 258;
                codeSize = 9;
            }
            prefix = c;
        }
    }
    put(prefix);
    put(257);
    if (bits > 0)
        data.push_back(uint8_t(buffer));
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    out.push_back(0);
    out.push_back(';');
    return out;
}

Bytes encodeWithQt(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return Bytes(bytes.begin(), bytes.end());
}

struct Files {
    Bytes gif, bmp8, bmp24, png, jpeg;
};

const Files& files()
{
    static const Files f = [] {
        const QImage picture = testPicture();
        const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        Files out;
        out.gif = encodeGif(indexed);
        out.bmp8 = encodeWithQt(indexed, "BMP");
        out.bmp24 = encodeWithQt(picture.convertToFormat(QImage::Format_RGB888), "BMP");
        out.png = encodeWithQt(picture, "PNG");
        out.jpeg = encodeWithQt(picture, "JPEG", 90);
        return out;
    }();
    return f;
}

template <bool (*Read)(std::span<const uint8_t>, vorpane::ImageBitmap&, std::string*)>
void decodeWith(benchmark::State& state, const Bytes& bytes)
{
    for (auto _ : state) {
        vorpane::ImageBitmap bitmap;
        if (!Read(bytes, bitmap, nullptr))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(bitmap.storage().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

bool gifReader(std::span<const uint8_t> data, vorpane::ImageBitmap& out, std::string*)
{
    return vorpane::readGif(data, out);
}

void decodeWithQt(benchmark::State& state, const Bytes& bytes, const char* format)
{
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    for (auto _ : state) {
        QImage image;
        if (!image.loadFromData(data, format))
            state.SkipWithError("Qt cannot decode this format here");
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_GifOurs(benchmark::State& s) { decodeWith<gifReader>(s, files().gif); }
void BM_GifQt(benchmark::State& s) { decodeWithQt(s, files().gif, "GIF"); }
void BM_GifOursToQImage(benchmark::State& s)
{
    for (auto _ : s) {
        vorpane::ImageBitmap bitmap;
        vorpane::readGif(files().gif, bitmap);
        benchmark::DoNotOptimize(bitmap.toQImage().constBits());
    }
}
void BM_Bmp8Ours(benchmark::State& s) { decodeWith<vorpane::readBmp>(s, files().bmp8); }
void BM_Bmp8Qt(benchmark::State& s) { decodeWithQt(s, files().bmp8, "BMP"); }
void BM_Bmp24Ours(benchmark::State& s) { decodeWith<vorpane::readBmp>(s, files().bmp24); }
void BM_Bmp24Qt(benchmark::State& s) { decodeWithQt(s, files().bmp24, "BMP"); }
void BM_PngLibpng(benchmark::State& s) { decodeWith<vorpane::readPng>(s, files().png); }
void BM_JpegLibjpegQuantised(benchmark::State& s) { decodeWith<vorpane::readJpeg>(s, files().jpeg); }

} // namespace

BENCHMARK(BM_GifOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifQt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GifOursToQImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp8Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp8Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngLibpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegLibjpegQuantised)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // The image plugins need an application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

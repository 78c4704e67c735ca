#include "build/BitmapDataLine.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "app/RecordingUi.h"
#include "image/DevicePalette.h"
#include "image/ImageBlockReader.h"
#include "image/ImageCodec.h"

namespace varn {

namespace {

void putWord(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void padToFour(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0) out.push_back(0);
}

// Width × height × bytes the record describes must fit its 16-bit fields.
int clampDimension(int v) { return v < 1 ? 1 : (v > 0xFFFF ? 0xFFFF : v); }

}  // namespace

BitmapDataLine::Images BitmapDataLine::load(const std::string& path) {
    Images images;
    RecordingUi silent;  // a broken image leaves its data line empty, without a message
    auto records = ImageBlockReader(silent).readFile(path);
    if (!records) return images;
    for (const auto& r : *records) {
        if (r.stored.empty()) continue;
        if (r.isMonochrome()) {
            if (!images.monochrome) images.monochrome = decodeImage(r);
        } else if (!images.colour) {
            images.colour = decodeImage(r);
        }
    }
    return images;
}

BitmapDataLine::Images BitmapDataLine::scaled(const Images& images, int numeratorX, int denominatorX, int numeratorY,
                                              int denominatorY) {
    if (denominatorX <= 0 || denominatorY <= 0) return images;
    auto draw = [&](const PixelBuffer& p) {
        long long w = static_cast<long long>(p.width()) * numeratorX / denominatorX;
        long long h = static_cast<long long>(p.height()) * numeratorY / denominatorY;
        return p.stretched(clampDimension(static_cast<int>(std::min<long long>(w, 0xFFFF))),
                           clampDimension(static_cast<int>(std::min<long long>(h, 0xFFFF))));
    };
    Images out;
    if (images.colour) out.colour = draw(*images.colour);
    if (images.monochrome) out.monochrome = draw(*images.monochrome);
    return out;
}

BitmapDataLine::BitmapDataLine() : nearest_(DevicePalette::palm().entries()) {}

std::uint8_t BitmapDataLine::transparentIndex() { return paletteIndex(Rgb{0, 128, 128}); }

std::vector<std::uint8_t> BitmapDataLine::colourRecord(const PixelBuffer& image, bool monochromeFollows) {
    const int w = image.width(), h = image.height();
    const int rowBytes = (w + 1) / 2 * 2;
    std::vector<std::uint8_t> out;
    out.reserve(16 + static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(h) + 4);
    putWord(out, w);
    putWord(out, h);
    putWord(out, rowBytes);
    putWord(out, 0x2000);
    out.push_back(8);
    out.push_back(2);
    putWord(out, monochromeFollows ? (rowBytes * h + 3) / 4 + 4 : 0);
    out.push_back(transparentIndex());
    out.push_back(0);
    putWord(out, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) out.push_back(paletteIndex(image.at(x, y)));
        for (int x = w; x < rowBytes; ++x) out.push_back(0);
    }
    padToFour(out);
    return out;
}

std::vector<std::uint8_t> BitmapDataLine::monochromeRecord(const PixelBuffer& image) {
    const int w = image.width(), h = image.height();
    const int rowBytes = (w + 15) / 16 * 2;
    std::vector<std::uint8_t> out;
    putWord(out, w);
    putWord(out, h);
    putWord(out, rowBytes);
    putWord(out, 0);
    out.push_back(1);
    out.push_back(2);
    putWord(out, 0);
    out.push_back(transparentIndex());
    out.push_back(0);
    putWord(out, 0);
    for (int y = 0; y < h; ++y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes), 0);
        for (int x = 0; x < w; ++x)
            if (image.at(x, y) == kBlack) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    padToFour(out);
    return out;
}

std::string BitmapDataLine::encode(const Images& images) {
    std::vector<std::uint8_t> bytes;
    if (images.colour) bytes = colourRecord(*images.colour, images.monochrome.has_value());
    if (images.monochrome) {
        auto mono = monochromeRecord(*images.monochrome);
        bytes.insert(bytes.end(), mono.begin(), mono.end());
    }
    // Each byte as up to three digits and a comma, copied from a table.
    struct Decimal {
        char text[4];
        std::uint8_t length;
    };
    static const auto table = [] {
        std::array<Decimal, 256> t{};
        for (int i = 0; i < 256; ++i) {
            std::string s = std::to_string(i) + ",";
            std::memcpy(t[static_cast<std::size_t>(i)].text, s.data(), s.size());
            t[static_cast<std::size_t>(i)].length = static_cast<std::uint8_t>(s.size());
        }
        return t;
    }();
    char count[16];
    int countLength = std::snprintf(count, sizeof count, "[%06d]=$", static_cast<int>(bytes.size() + 1));
    std::string line(static_cast<std::size_t>(countLength) + bytes.size() * 4 + 1, '\0');
    char* out = line.data();
    std::memcpy(out, count, static_cast<std::size_t>(countLength));
    out += countLength;
    for (auto b : bytes) {
        const Decimal& d = table[b];
        std::memcpy(out, d.text, 4);  // the spare bytes are overwritten by what follows
        out += d.length;
    }
    *out++ = '0';
    line.resize(static_cast<std::size_t>(out - line.data()));
    return line;
}

}  // namespace varn

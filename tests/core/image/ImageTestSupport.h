// Helpers of the image tests: a hand-built image block for crafting good and
// broken files, a recording project, pixel patterns, and the reading of the
// output of netpbm's bmptopnm, the independent BMP reader.
#pragma once

#include <cctype>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "TestSupport.h"
#include "image/ImageProject.h"
#include "image/PixelBuffer.h"
#include "image/Rgb.h"

namespace varn::test {

inline void le16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void le32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// One block written field by field. Unset sizes take their correct values.
struct Block {
    std::uint16_t signature = 0x4D42;
    std::optional<std::uint32_t> blockSize;
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bpp = 24;
    std::optional<std::uint32_t> imageSize;
    std::uint32_t coloursUsed = 0;
    std::optional<int> tableEntries;  // default 2^bpp
    std::vector<Rgb> table;           // missing entries are black
    std::string pixels;               // default: zero pixel rows of the right size

    std::int64_t stride() const { return ((std::int64_t{width} * bpp + 31) / 32) * 4; }
    int entries() const { return tableEntries ? *tableEntries : (bpp > 8 ? 0 : 1 << bpp); }

    std::string bytes() const {
        std::string body;
        le32(body, headerSize);
        le32(body, static_cast<std::uint32_t>(width));
        le32(body, static_cast<std::uint32_t>(height));
        le16(body, planes);
        le16(body, bpp);
        le32(body, 0);
        std::int64_t rows = width > 0 && height > 0 && width < 100000 && height < 100000 ? stride() * height : 0;
        le32(body, imageSize ? *imageSize : static_cast<std::uint32_t>(rows > 0 ? rows : 0));
        le32(body, 0);
        le32(body, 0);
        le32(body, coloursUsed);
        le32(body, 0);
        for (int i = 0; i < entries(); ++i) {
            Rgb c = i < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(i)] : Rgb{};
            body += static_cast<char>(c.b);
            body += static_cast<char>(c.g);
            body += static_cast<char>(c.r);
            body += '\0';
        }
        if (!pixels.empty() || rows > 4000000)
            body += pixels;
        else
            body += std::string(static_cast<std::size_t>(rows), '\0');
        std::string out;
        le16(out, signature);
        le32(out, blockSize ? *blockSize : static_cast<std::uint32_t>(14 + body.size()));
        le32(out, 0);
        le32(out, static_cast<std::uint32_t>(54 + 4 * entries()));
        return out + body;
    }
};

// The project side of registration, as a record of the calls.
class FakeImageProject : public ImageProject {
public:
    std::vector<std::string> images;  // paths of the project's bitmaps and icons

    std::string imagePathByBaseName(const std::string& name) const override {
        auto lower = [](std::string t) {
            for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return t;
        };
        for (const std::string& path : images) {
            std::string file = path.substr(path.rfind('/') + 1);
            if (lower(file.substr(0, file.rfind('.'))) == lower(name)) return path;
        }
        return {};
    }
    void addBitmapFile(const std::string& path) override { calls.push_back("bitmap " + path); }
    void setLargeIcon(const std::string& path) override { calls.push_back("large " + path); }
    void setSmallIcon(const std::string& path) override { calls.push_back("small " + path); }
    void markModified() override { calls.push_back("modified"); }

    std::vector<std::string> calls;
};

// A surface whose pixels are all different where the palette allows.
inline PixelBuffer patternSurface(int w, int h, const std::vector<Rgb>& colours) {
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.set(x, y, colours[static_cast<std::size_t>(x * 7 + y * 3) % colours.size()]);
    return p;
}

// The pixels netpbm's bmptopnm reads from a BMP file, or an error text.
inline std::variant<PixelBuffer, std::string> bmptopnmPixels(const std::string& bmpPath) {
    ProcessOutput out = runCommand("bmptopnm " + shellQuote(bmpPath) + " | pnmtoplainpnm");
    if (out.status != 0) return out.err;
    std::istringstream in(out.out);
    std::string magic;
    int w = 0, h = 0, maxval = 1;
    in >> magic >> w >> h;
    if (magic != "P1") in >> maxval;
    if (!in || (magic != "P1" && maxval != 255)) return "unexpected output: " + out.out.substr(0, 40);
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (magic == "P1") {
                char bit = '0';
                in >> bit;  // bits need not be separated
                p.set(x, y, bit == '1' ? kBlack : kWhite);
                continue;
            }
            int r = 0, g = 0, b = 0;
            in >> r;
            if (magic == "P3")
                in >> g >> b;
            else
                g = b = r;
            p.set(x, y, Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)});
        }
    if (!in) return "short output";
    return p;
}

inline bool haveBmptopnm() { return runCommand("command -v bmptopnm && command -v pnmtoplainpnm").status == 0; }

inline ::testing::AssertionResult bmptopnmSees(const std::string& bmpPath, const PixelBuffer& expected) {
    auto seen = bmptopnmPixels(bmpPath);
    if (auto* error = std::get_if<std::string>(&seen)) return ::testing::AssertionFailure() << *error;
    if (!(std::get<PixelBuffer>(seen) == expected)) return ::testing::AssertionFailure() << "other pixels read";
    return ::testing::AssertionSuccess();
}

}  // namespace varn::test

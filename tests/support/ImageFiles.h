// Image files for the tests that make or register them: a BMP block built
// field by field (good or broken on purpose), and a project that records the
// registrations the image code asks of it.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "image/ImageProject.h"
#include "image/Rgb.h"

namespace varn::test {

// A .bmp file, or one block of an image file. Unset sizes take their correct
// values; the table defaults to black, the pixels to a pattern picked by seed.
struct BmpBlock {
    std::uint16_t signature = 0x4D42;
    std::optional<std::uint32_t> blockSize;
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bpp = 24;
    std::uint32_t compression = 0;
    std::optional<std::uint32_t> imageSize;
    std::uint32_t coloursUsed = 0;
    std::optional<int> tableEntries;  // default 2^bpp up to 8 bits
    std::vector<Rgb> table;           // missing entries are black
    std::optional<std::string> pixels;
    std::string trailing;
    int seed = 0;

    int entries() const { return tableEntries ? *tableEntries : (bpp > 8 ? 0 : 1 << bpp); }
    std::string bytes() const {
        const std::int64_t rowsHigh = height < 0 ? -std::int64_t{height} : height;
        const std::int64_t stride = ((std::int64_t{width} * bpp + 31) / 32) * 4;
        const std::int64_t size = width > 0 && width < 100000 && rowsHigh < 100000 ? stride * rowsHigh : 0;
        std::string body;
        for (std::uint32_t v : {headerSize, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)})
            appendLe32(body, v);
        appendLe16(body, planes);
        appendLe16(body, bpp);
        for (std::uint32_t v : {compression, imageSize.value_or(static_cast<std::uint32_t>(size)), 0u, 0u, coloursUsed,
                                0u})
            appendLe32(body, v);
        if (headerSize > 40) body.resize(headerSize, '\0');
        for (int i = 0; i < entries(); ++i) {
            const Rgb c = i < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(i)] : Rgb{};
            body += std::string{static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r), '\0'};
        }
        if (pixels) body += *pixels;
        else
            for (std::int64_t i = 0; i < size; ++i) body += static_cast<char>((i * 31 + seed * 17) & 0xFF);
        body += trailing;
        std::string out;
        appendLe16(out, signature);
        appendLe32(out, blockSize.value_or(static_cast<std::uint32_t>(14 + body.size())));
        appendLe32(out, 0);
        appendLe32(out, static_cast<std::uint32_t>(14 + std::max<std::uint32_t>(headerSize, 40) + 4 * entries()));
        return out + body;
    }
};

// The project side of registration, as a record of the calls.
class FakeImageProject : public ImageProject {
public:
    std::vector<std::string> images;  // paths of the project's bitmaps and icons
    std::vector<std::string> calls;

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
};

}  // namespace varn::test

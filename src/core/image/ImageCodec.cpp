#include "image/ImageCodec.h"

#include <unordered_map>

#include "image/DevicePalette.h"

namespace varn {

namespace {

constexpr std::uint32_t kSixteenColours[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::vector<Rgb> defaultTable(int depth) {
    std::vector<Rgb> table;
    if (depth == 1) {
        table = {kBlack, kWhite};
    } else if (depth == 4) {
        for (std::uint32_t hex : kSixteenColours) table.push_back(Rgb::fromHex(hex));
    } else if (depth == 8) {
        const auto& entries = DevicePalette::palm().entries();
        table.assign(entries.begin(), entries.end());
    }
    return table;
}

// Nearest table entry, remembered per colour: a surface has few distinct colours.
class NearestEntry {
public:
    explicit NearestEntry(const std::vector<Rgb>& table) : table_(table) {}
    std::uint8_t operator()(Rgb c) {
        auto [it, added] = memo_.try_emplace(c.packed(), 0);
        if (added) {
            int best = 0;
            int bestDistance = colourDistance(c, table_[0]);
            for (std::size_t i = 1; i < table_.size() && bestDistance > 0; ++i) {
                int d = colourDistance(c, table_[i]);
                if (d < bestDistance) {
                    best = static_cast<int>(i);
                    bestDistance = d;
                }
            }
            it->second = static_cast<std::uint8_t>(best);
        }
        return it->second;
    }

private:
    const std::vector<Rgb>& table_;
    std::unordered_map<std::uint32_t, std::uint8_t> memo_;
};

}  // namespace

std::vector<Rgb> colourTableOf(const ImageDescriptor& d, const std::vector<std::uint8_t>& stored) {
    if (d.depth == 24) return {};
    std::size_t entries = static_cast<std::size_t>(d.tableBytes() / 4);
    if (stored.size() < kInfoHeaderBytes + entries * 4) return defaultTable(d.depth);
    std::vector<Rgb> table(entries);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint8_t* e = stored.data() + kInfoHeaderBytes + 4 * i;
        table[i] = Rgb{e[2], e[1], e[0]};
    }
    return table;
}

PixelBuffer decodeImage(const ImageRecord& record) {
    const ImageDescriptor& d = record.descriptor;
    if (!d.inRange()) return {};
    PixelBuffer out(d.width, d.height);
    if (!isImageDepth(d.depth) || record.stored.size() < static_cast<std::size_t>(d.storedSize())) return out;
    const std::vector<Rgb> table = colourTableOf(d, record.stored);
    const std::uint8_t* pixels = record.stored.data() + kInfoHeaderBytes + d.tableBytes();
    const std::int64_t stride = d.stride();
    for (int y = 0; y < d.height; ++y) {
        const std::uint8_t* row = pixels + stride * (d.height - 1 - y);
        for (int x = 0; x < d.width; ++x) {
            switch (d.depth) {
                case 24:
                    out.set(x, y, Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]});
                    break;
                case 8:
                    out.set(x, y, table[row[x]]);
                    break;
                case 4:
                    out.set(x, y, table[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F]);
                    break;
                default:
                    out.set(x, y, table[(row[x / 8] >> (7 - x % 8)) & 1]);
                    break;
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> encodeImage(const PixelBuffer& surface, const ImageDescriptor& d,
                                      const std::vector<std::uint8_t>& previous) {
    if (!d.inRange() || !isImageDepth(d.depth)) return {};
    std::vector<std::uint8_t> out(static_cast<std::size_t>(d.storedSize()), 0);
    std::uint8_t* h = out.data();
    put32(h, kInfoHeaderBytes);
    put32(h + 4, static_cast<std::uint32_t>(d.width));
    put32(h + 8, static_cast<std::uint32_t>(d.height));
    h[12] = 1;  // planes
    h[14] = static_cast<std::uint8_t>(d.depth);
    put32(h + 20, static_cast<std::uint32_t>(d.stride() * d.height));

    const std::vector<Rgb> table = d.depth == 1 ? defaultTable(1) : colourTableOf(d, previous);
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::uint8_t* e = h + kInfoHeaderBytes + 4 * i;
        e[0] = table[i].b;
        e[1] = table[i].g;
        e[2] = table[i].r;
    }

    std::uint8_t* pixels = h + kInfoHeaderBytes + d.tableBytes();
    const std::int64_t stride = d.stride();
    NearestEntry nearest(table);
    for (int y = 0; y < d.height; ++y) {
        std::uint8_t* row = pixels + stride * (d.height - 1 - y);
        for (int x = 0; x < d.width; ++x) {
            Rgb c = surface.pixel(x, y);
            switch (d.depth) {
                case 24:
                    row[3 * x] = c.b;
                    row[3 * x + 1] = c.g;
                    row[3 * x + 2] = c.r;
                    break;
                case 8:
                    row[x] = nearest(c);
                    break;
                case 4:
                    row[x / 2] |= static_cast<std::uint8_t>(nearest(c) << (x % 2 ? 0 : 4));
                    break;
                default:
                    row[x / 8] |= static_cast<std::uint8_t>(nearest(c) << (7 - x % 8));
                    break;
            }
        }
    }
    return out;
}

}  // namespace varn

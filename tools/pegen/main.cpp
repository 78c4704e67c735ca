// pegen: writes a small but valid Windows CE PE executable carrying the
// default VARN application icon (icon resources 1 = 32x32 and 2 = 16x16,
// 16 colours, and group icon 101), used as the bundled PocketPC runtime
// stand-in PocketPC/<cpu>/VARNppc.exe.
//
//   pegen arm|mips|sh3 <output.exe>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}
void add16(Bytes& b, std::uint32_t v) {
    b.resize(b.size() + 2);
    put16(b, b.size() - 2, v);
}
void add32(Bytes& b, std::uint32_t v) {
    b.resize(b.size() + 4);
    put32(b, b.size() - 4, v);
}

// Windows CE machine types.
constexpr std::uint16_t kMachineArm = 0x01c0;
constexpr std::uint16_t kMachineR4000 = 0x0166;
constexpr std::uint16_t kMachineSh3 = 0x01a2;

constexpr std::uint32_t kPeHeader = 0x80;
constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kTextRva = 0x1000, kTextRaw = 0x200;
constexpr std::uint32_t kRsrcRva = 0x2000, kRsrcRaw = 0x400;

// The 16-colour palette of the icons (blue, green, red, reserved).
const std::uint8_t kPalette[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                      {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                      {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                      {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

// A 4-bit icon image: a white tile with a blue "V", opaque everywhere.
Bytes iconDib(int side) {
    const int xorRow = (side * 4 + 31) / 32 * 4, andRow = (side + 31) / 32 * 4;
    Bytes b;
    add32(b, 40);
    add32(b, static_cast<std::uint32_t>(side));
    add32(b, static_cast<std::uint32_t>(side * 2));  // XOR and AND masks
    add16(b, 1);
    add16(b, 4);
    add32(b, 0);
    add32(b, static_cast<std::uint32_t>((xorRow + andRow) * side));
    for (int i = 0; i < 4; ++i) add32(b, 0);
    for (const auto& c : kPalette) {
        b.push_back(c[0]);
        b.push_back(c[1]);
        b.push_back(c[2]);
        b.push_back(0);
    }
    // Rows bottom-up; pixel (x, y) from the top.
    for (int row = side - 1; row >= 0; --row) {
        Bytes line(static_cast<std::size_t>(xorRow), 0);
        for (int x = 0; x < side; ++x) {
            // The two strokes of the V meet at the bottom middle.
            int y = row, left = y / 2, right = side - 1 - y / 2;
            bool stroke = y >= side / 8 && y < side - side / 8 &&
                          (std::abs(x - left - side / 8) <= side / 16 || std::abs(x - right + side / 8) <= side / 16);
            std::uint8_t colour = stroke ? 12 : 15;
            line[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 ? colour : colour << 4);
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    b.insert(b.end(), static_cast<std::size_t>(andRow * side), 0);
    return b;
}

struct Resource {
    std::uint16_t type, name, language;
    Bytes data;
};

// The resource section: a root directory of two types, their name
// directories, one language directory per name, the data entries and the
// data, in the usual layout.
Bytes resourceSection(const std::vector<Resource>& rs) {
    // Types in ascending order; the list is already sorted by type and name.
    std::vector<std::uint16_t> types;
    for (const Resource& r : rs)
        if (types.empty() || types.back() != r.type) types.push_back(r.type);
    auto namesOf = [&](std::uint16_t t) {
        std::size_t n = 0;
        for (const Resource& r : rs) n += r.type == t;
        return n;
    };
    const std::size_t rootSize = 16 + 8 * types.size();
    std::size_t nameDirsSize = 0;
    for (std::uint16_t t : types) nameDirsSize += 16 + 8 * namesOf(t);
    const std::size_t languageDirs = rootSize + nameDirsSize;
    const std::size_t dataEntries = languageDirs + rs.size() * 24;
    std::size_t dataAt = dataEntries + rs.size() * 16;
    std::size_t total = dataAt;
    for (const Resource& r : rs) total += (r.data.size() + 7) / 8 * 8;

    Bytes b(total, 0);
    put16(b, 14, static_cast<std::uint32_t>(types.size()));
    std::size_t nameDir = rootSize, index = 0;
    for (std::size_t ti = 0; ti < types.size(); ++ti) {
        put32(b, 16 + 8 * ti, types[ti]);
        put32(b, 16 + 8 * ti + 4, static_cast<std::uint32_t>(nameDir) | 0x80000000u);
        const std::size_t count = namesOf(types[ti]);
        put16(b, nameDir + 14, static_cast<std::uint32_t>(count));
        for (std::size_t ni = 0; ni < count; ++ni, ++index) {
            const Resource& r = rs[index];
            const std::size_t languageDir = languageDirs + index * 24, entry = dataEntries + index * 16;
            put32(b, nameDir + 16 + 8 * ni, r.name);
            put32(b, nameDir + 16 + 8 * ni + 4, static_cast<std::uint32_t>(languageDir) | 0x80000000u);
            put16(b, languageDir + 14, 1);
            put32(b, languageDir + 16, r.language);
            put32(b, languageDir + 20, static_cast<std::uint32_t>(entry));
            put32(b, entry, kRsrcRva + static_cast<std::uint32_t>(dataAt));
            put32(b, entry + 4, static_cast<std::uint32_t>(r.data.size()));
            std::copy(r.data.begin(), r.data.end(), b.begin() + static_cast<std::ptrdiff_t>(dataAt));
            dataAt += (r.data.size() + 7) / 8 * 8;
        }
        nameDir += 16 + 8 * count;
    }
    return b;
}

Bytes groupIcon(const Bytes& large, const Bytes& small) {
    Bytes g;
    add16(g, 0);
    add16(g, 1);
    add16(g, 2);
    auto entry = [&](int side, const Bytes& dib, std::uint16_t id) {
        g.push_back(static_cast<std::uint8_t>(side));
        g.push_back(static_cast<std::uint8_t>(side));
        g.push_back(16);
        g.push_back(0);
        add16(g, 1);
        add16(g, 4);
        add32(g, static_cast<std::uint32_t>(dib.size()));
        add16(g, id);
    };
    entry(32, large, 1);
    entry(16, small, 2);
    return g;
}

Bytes executable(std::uint16_t machine) {
    const Bytes large = iconDib(32), small = iconDib(16);
    const Bytes rsrc = resourceSection({{3, 1, 0x409, large}, {3, 2, 0x409, small}, {14, 101, 0x409, groupIcon(large, small)}});
    const std::uint32_t rsrcRawSize = static_cast<std::uint32_t>((rsrc.size() + kFileAlignment - 1) / kFileAlignment * kFileAlignment);
    const std::uint32_t rsrcVirtualEnd =
        kRsrcRva + static_cast<std::uint32_t>((rsrc.size() + kSectionAlignment - 1) / kSectionAlignment * kSectionAlignment);

    Bytes b(kRsrcRaw + rsrcRawSize, 0);
    b[0] = 'M';
    b[1] = 'Z';
    put32(b, 60, kPeHeader);
    std::memcpy(&b[kPeHeader], "PE\0\0", 4);

    const std::size_t fh = kPeHeader + 4, opt = fh + 20;
    put16(b, fh, machine);
    put16(b, fh + 2, 2);      // sections
    put16(b, fh + 16, 224);   // optional header size
    put16(b, fh + 18, 0x0103);  // relocations stripped, executable, 32-bit

    put16(b, opt, 0x10b);
    b[opt + 2] = 6;
    put32(b, opt + 4, kFileAlignment);  // size of code
    put32(b, opt + 8, rsrcRawSize);     // size of initialized data
    put32(b, opt + 16, kTextRva);       // entry point
    put32(b, opt + 20, kTextRva);       // base of code
    put32(b, opt + 24, kRsrcRva);       // base of data
    put32(b, opt + 28, 0x10000);        // image base
    put32(b, opt + 32, kSectionAlignment);
    put32(b, opt + 36, kFileAlignment);
    put16(b, opt + 40, 3);  // operating system 3.0
    put16(b, opt + 48, 3);  // subsystem 3.0
    put32(b, opt + 56, rsrcVirtualEnd);  // size of image
    put32(b, opt + 60, kTextRaw);         // size of headers
    put16(b, opt + 68, 9);               // Windows CE GUI
    put32(b, opt + 72, 0x10000);
    put32(b, opt + 76, 0x1000);
    put32(b, opt + 80, 0x100000);
    put32(b, opt + 84, 0x1000);
    put32(b, opt + 92, 16);  // data directories
    put32(b, opt + 96 + 8 * 2, kRsrcRva);
    put32(b, opt + 96 + 8 * 2 + 4, static_cast<std::uint32_t>(rsrc.size()));

    const std::size_t sections = opt + 224;
    std::memcpy(&b[sections], ".text", 5);
    put32(b, sections + 8, 8);
    put32(b, sections + 12, kTextRva);
    put32(b, sections + 16, kFileAlignment);
    put32(b, sections + 20, kTextRaw);
    put32(b, sections + 36, 0x60000020);  // code, execute, read
    std::memcpy(&b[sections + 40], ".rsrc", 5);
    put32(b, sections + 48, static_cast<std::uint32_t>(rsrc.size()));
    put32(b, sections + 52, kRsrcRva);
    put32(b, sections + 56, rsrcRawSize);
    put32(b, sections + 60, kRsrcRaw);
    put32(b, sections + 76, 0x40000040);  // initialized data, read

    // The entry point returns at once.
    if (machine == kMachineArm) {
        put32(b, kTextRaw, 0xe1a0f00e);  // mov pc, lr
    } else if (machine == kMachineR4000) {
        put32(b, kTextRaw, 0x03e00008);  // jr ra (and a nop in the delay slot)
    } else {
        put16(b, kTextRaw, 0x000b);  // rts
        put16(b, kTextRaw + 2, 0x0009);  // nop
    }
    std::copy(rsrc.begin(), rsrc.end(), b.begin() + kRsrcRaw);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: pegen arm|mips|sh3 <output.exe>\n";
        return 2;
    }
    const std::string cpu = argv[1];
    std::uint16_t machine;
    if (cpu == "arm") machine = kMachineArm;
    else if (cpu == "mips") machine = kMachineR4000;
    else if (cpu == "sh3") machine = kMachineSh3;
    else {
        std::cerr << "pegen: unknown processor " << cpu << "\n";
        return 2;
    }
    const Bytes b = executable(machine);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!out) {
        std::cerr << "pegen: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}

// Helpers of the icon and PE tests: pictures made with netpbm, .ico files made
// with icotool, resources listed and extracted with wrestool, and the bundled
// PocketPC runtimes written by pegen.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace varn::test {

inline bool haveTool(const std::string& name) { return runCommand("command -v " + name).status == 0; }

#define VARN_NEED_TOOLS(...)                \
    for (const char* tool_ : {__VA_ARGS__}) \
        if (!::varn::test::haveTool(tool_)) GTEST_SKIP() << tool_ << " is not installed"

// A side x side PNG of a few colours (a pattern picked by seed), through pnmtopng.
inline std::string makePng(const TempDir& dir, int side, int seed) {
    std::string ppm = "P6\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n";
    static const unsigned char colours[6][3] = {{255, 255, 255}, {0, 0, 255},   {255, 0, 0},
                                                {0, 128, 0},     {255, 255, 0}, {0, 0, 0}};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const unsigned char* c = colours[(x * (seed + 1) + y * (seed + 2) + (x * y) % (seed + 3)) % 6];
            ppm.append(reinterpret_cast<const char*>(c), 3);
        }
    std::string base = dir.file("p" + std::to_string(side) + "_" + std::to_string(seed));
    writeBytes(base + ".ppm", ppm);
    EXPECT_EQ(runCommand("pnmtopng " + shellQuote(base + ".ppm") + " > " + shellQuote(base + ".png")).status, 0);
    return base + ".png";
}

// An .ico of the given pictures at the bit depth, made by icotool.
inline std::string makeIco(const TempDir& dir, const std::string& name, const std::vector<std::string>& pngs,
                           int bitDepth) {
    std::string cmd = "icotool -c -b " + std::to_string(bitDepth) + " -o " + shellQuote(dir.file(name));
    for (const std::string& p : pngs) cmd += " " + shellQuote(p);
    ProcessOutput r = runCommand(cmd);
    EXPECT_EQ(r.status, 0) << r.err;
    return dir.file(name);
}

// The DIB of the ico's image with this side, read straight from the directory.
inline std::string icoImage(const std::string& ico, int side) {
    for (std::uint32_t i = 0; i < le16(ico, 4); ++i) {
        std::size_t e = 6 + 16 * i;
        if (static_cast<unsigned char>(ico.at(e)) == side && static_cast<unsigned char>(ico.at(e + 1)) == side)
            return ico.substr(le32(ico, e + 12), le32(ico, e + 8));
    }
    return {};
}

// wrestool's listing, and one resource's raw bytes as wrestool extracts it.
inline std::string wrestoolList(const std::string& exe) {
    ProcessOutput r = runCommand("wrestool -l " + shellQuote(exe));
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}
inline std::string wrestoolRaw(const std::string& exe, const std::string& type, const std::string& name) {
    ProcessOutput r = runCommand("wrestool -x --raw --type=" + shellQuote(type) + " --name=" + shellQuote(name) + " " +
                                 shellQuote(exe));
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

// The bundled runtime stand-in for ARM, MIPS or SH3.
inline std::string runtimePath(const std::string& cpu) {
    return std::string(VARN_SHARE_DIR) + "/PocketPC/" + cpu + "/VARNppc.exe";
}
inline std::string runtimeBytes(const std::string& cpu) { return readBytes(runtimePath(cpu)); }

// Offsets in a runtime's headers.
struct PeLayout {
    std::size_t fileHeader, optional, sections;
    unsigned sectionCount;
    explicit PeLayout(const std::string& b)
        : fileHeader(le32(b, 60) + 4),
          optional(fileHeader + 20),
          sections(optional + le16(b, fileHeader + 16)),
          sectionCount(le16(b, fileHeader + 2)) {}
    std::size_t section(const std::string& b, const std::string& name) const {
        for (unsigned i = 0; i < sectionCount; ++i)
            if (b.compare(sections + 40 * i, name.size(), name) == 0) return sections + 40 * i;
        return 0;
    }
};

}  // namespace varn::test

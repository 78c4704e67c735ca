#include "CabWriter.h"

#include <algorithm>
#include <ctime>

namespace cabwiz {

namespace {

constexpr std::size_t kBlock = 32768;
constexpr std::size_t kHeaderSize = 36;
constexpr std::size_t kFolderSize = 8;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kDataHeaderSize = 8;
constexpr std::uint16_t kArchive = 0x20;
constexpr std::uint16_t kNameIsUtf8 = 0x80;

void put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool isAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::uint32_t cabChecksum(const unsigned char* bytes, std::size_t count, std::uint32_t seed) {
    std::uint32_t sum = seed;
    std::size_t words = count / 4;
    for (std::size_t i = 0; i < words; ++i, bytes += 4) {
        sum ^= static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
               (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    }
    std::uint32_t tail = 0;
    switch (count & 3) {
        case 3: tail |= static_cast<std::uint32_t>(*bytes++) << 16; [[fallthrough]];
        case 2: tail |= static_cast<std::uint32_t>(*bytes++) << 8; [[fallthrough]];
        case 1: tail |= *bytes; break;
        default: break;
    }
    return sum ^ tail;
}

void dosDateTime(long long unixSeconds, std::uint16_t& date, std::uint16_t& time) {
    std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    if (!::localtime_r(&t, &tm) || tm.tm_year < 80) {
        date = 0x21;  // 1980-01-01
        time = 0;
        return;
    }
    date = static_cast<std::uint16_t>(((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
    time = static_cast<std::uint16_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
}

std::string buildCabinet(const std::vector<CabFile>& files, std::uint16_t setId) {
    if (files.size() > 0xFFFF) return {};
    // All files form one uncompressed stream cut into blocks.
    std::string stream;
    std::string entries;
    std::uint32_t offset = 0;
    for (const auto& f : files) {
        if (f.bytes.size() > 0x7FFF8000u - offset) return {};
        put32(entries, static_cast<std::uint32_t>(f.bytes.size()));
        put32(entries, offset);
        put16(entries, 0);  // folder 0
        put16(entries, f.dosDate);
        put16(entries, f.dosTime);
        put16(entries, static_cast<std::uint16_t>(kArchive | (isAscii(f.name) ? 0 : kNameIsUtf8)));
        entries += f.name;
        entries += '\0';
        offset += static_cast<std::uint32_t>(f.bytes.size());
        stream += f.bytes;
    }
    std::size_t blocks = (stream.size() + kBlock - 1) / kBlock;
    if (blocks > 0xFFFF) return {};
    const std::size_t dataStart = kHeaderSize + kFolderSize + entries.size();
    const std::size_t total = dataStart + blocks * kDataHeaderSize + stream.size();

    std::string out;
    out.reserve(total);
    out += "MSCF";
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(total));
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(kHeaderSize + kFolderSize));  // first file entry
    put32(out, 0);
    out += static_cast<char>(3);  // version 1.3
    out += static_cast<char>(1);
    put16(out, 1);  // folders
    put16(out, static_cast<std::uint16_t>(files.size()));
    put16(out, 0);  // flags: no reserve, no previous or next cabinet
    put16(out, setId);
    put16(out, 0);  // first cabinet of the set

    put32(out, static_cast<std::uint32_t>(dataStart));
    put16(out, static_cast<std::uint16_t>(blocks));
    put16(out, 0);  // no compression
    out += entries;

    for (std::size_t b = 0; b < blocks; ++b) {
        std::size_t at = b * kBlock;
        std::size_t n = std::min(kBlock, stream.size() - at);
        const auto* data = reinterpret_cast<const unsigned char*>(stream.data() + at);
        std::string sizes;
        put16(sizes, static_cast<std::uint16_t>(n));
        put16(sizes, static_cast<std::uint16_t>(n));
        std::uint32_t sum = cabChecksum(data, n, 0);
        sum = cabChecksum(reinterpret_cast<const unsigned char*>(sizes.data()), 4, sum);
        put32(out, sum);
        out += sizes;
        out.append(stream, at, n);
    }
    return out;
}

}  // namespace cabwiz

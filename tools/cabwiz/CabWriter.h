// Microsoft cabinet archives with one uncompressed folder: the header, the
// folder entry, the file entries and the data blocks of at most 32 KiB, each
// with its checksum.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cabwiz {

struct CabFile {
    std::string name;   // the name inside the cabinet
    std::string bytes;  // the file's contents
    std::uint16_t dosDate = 0x2821;  // 2000-01-01
    std::uint16_t dosTime = 0;
};

// The cabinet holding `files` in order; empty when it cannot hold them
// (more than 65535 files, or more data than one folder takes).
std::string buildCabinet(const std::vector<CabFile>& files, std::uint16_t setId);

// The data-block checksum of the cabinet format over `bytes`, starting from `seed`.
std::uint32_t cabChecksum(const unsigned char* bytes, std::size_t count, std::uint32_t seed);

// A file time as the DOS date and time fields.
void dosDateTime(long long unixSeconds, std::uint16_t& date, std::uint16_t& time);

}  // namespace cabwiz

// Writes a table read from a VARN data file as a PalmOS database (PDB) of type
// "USER": the 78-byte header, the record list, two bytes 0x00 0x01, the
// application info that describes the table, and the records. The bytes are
// produced front to back in one pass; the record list starts as zeros and is
// written again with the records' offsets once they have been written, so a
// writer can stream records to a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/VdiReader.h"
#include "platform/Result.h"

namespace varn {

inline constexpr std::uint16_t kPdbAttrBackup = 0x0008;
inline constexpr std::uint16_t kPdbAttrNonBeamable = 0x0040;
inline constexpr std::size_t kPdbHeaderBytes = 78;
inline constexpr std::size_t kPdbNameBytes = 32;      // name, zero-padded; 31 characters at most
inline constexpr std::size_t kPdbAppInfoFixed = 296;  // application info before the DSN name or field descriptors
inline constexpr std::uint32_t kPalmEpochOffset = 2082844800u;  // 1904-01-01 to 1970-01-01 in seconds

struct PdbHeaderInfo {
    std::string name;          // 31 bytes at most
    std::string creator;       // the first four characters are used, zero-padded
    std::uint16_t attributes = 0;
    std::uint32_t date = 0;    // creation, modification and backup date, seconds since 1904
};

// Seconds since 1970 → seconds since 1904, as the 32-bit field holds them.
std::uint32_t palmDate(std::int64_t unixSeconds);

// Offset of the application info: header, record list and the two bytes.
inline std::uint32_t pdbAppInfoOffset(std::uint32_t recordCount) { return 80 + 8 * recordCount; }

inline constexpr const char* kPdbTooLarge = "VDB file too large for a PDB file.";

// Everything before the first record: header, record list (offsets 0, or the
// DSN name's offset in DSN mode), the two bytes and the application info.
// In DSN mode this is the whole database. Fails for a name of 32 characters or more.
Result<std::string> pdbFront(const VdiTable& table, const PdbHeaderInfo& info);
// The record list holding these record offsets, to be written at kPdbHeaderBytes.
std::string pdbRecordList(const std::vector<std::uint32_t>& offsets);

// The whole database from the table's records. Fails only when the database would not fit the 32-bit
// offsets of the format, or when the name is 32 characters or longer.
Result<std::string> buildPdb(const VdiTable& table, const PdbHeaderInfo& info);

}  // namespace varn

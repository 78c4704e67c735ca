// Checks of the icon and bitmap data lines embedded in the option file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnc {

struct ImageLine {
    std::string kind;  // "icon", "smallicon" or "bitmap"
    std::string name;
    std::vector<std::uint8_t> bytes;  // the bitmap records, without the final 0
};

// Parses the text after the option name, "NAME[%06d]=$b,b,...,0", into
// `image`. Returns an empty string when the line is sound, else the first
// problem found: a bad name, a malformed count field, a count that does not
// match the entries, an entry that is not a byte, a missing final 0, or
// bitmap records that do not fit together (see checkRecords).
std::string parseImageLine(const std::string& kind, const std::string& value, ImageLine& image);

// Walks the PalmOS BitmapType version 2 records of a data line: each has a
// 16-byte header (width, height, row bytes, flags, pixel size, version 2,
// next-depth offset in 4-byte units, transparent index, compression 0, two
// reserved bytes; words high byte first), row bytes x height pixel bytes and
// zero padding to a multiple of 4. A record with a next-depth offset must
// be followed by another, and the offset must be its own padded size.
// Returns an empty string when they fit, else the problem.
std::string checkRecords(const std::vector<std::uint8_t>& bytes);

}  // namespace varnc

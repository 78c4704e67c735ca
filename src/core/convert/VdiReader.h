// Reads a VARN data file (.vdb, .vdi): the table description in its fixed
// lines (field count, record count, sync preference, then either a DSN line or
// one line per field) and the rows as comma-separated values, each row encoded
// into the bytes of one database record as the device's runtime reads them.
//
// The reader works on text in memory or streams a file line by line, and
// never reads past its input. Every
// count is checked against what the text can hold before anything is sized by
// it; every problem ends the reading with the text of the message to show.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace varn {

// Field type codes as the database stores them.
enum class VdiFieldType : std::uint16_t { Number = 0, String = 1, NumberArray = 2, ByteArray = 4 };

struct VdiField {
    VdiFieldType type = VdiFieldType::Number;
    std::uint16_t size = 0;  // array length for NA and BA, the declared size for N and S
};

struct VdiTable {
    std::uint16_t syncPreference = 0;  // code written to the database
    bool dsnMode = false;              // "#DSN": the table is an ODBC data source
    std::string dsnName;               // DSN mode only
    std::uint16_t fieldCount = 0;      // F as read (also in DSN mode)
    std::uint16_t recordCount = 0;     // R; 1 in DSN mode
    std::vector<VdiField> fields;      // row mode: F entries
    std::vector<std::string> records;  // row mode: R encoded records
};

// Sync preference keyword (any case) → code; -1 when unknown.
int vdiSyncPreferenceCode(std::string_view keyword);

// Type keyword (any case) → field type; false when unknown.
bool vdiFieldTypeOf(std::string_view keyword, VdiFieldType& type);

// Splits one row line into its values. A value ends at an unquoted comma or
// at the line end; a double quote toggles quoting and a doubled quote inside
// quotes is one quote; backslash + "n" is a line feed; a value beginning with
// two quotes followed by a comma or the line end is empty. False when the
// line ends inside quotes.
bool splitVdiValues(std::string_view line, std::vector<std::string>& values);

// A number value with the decimal separator rule: a leading quote counts as a
// blank; when the value does not hold `decimalSeparator`, its first "." or,
// failing that, its first "," is taken for it. Blanks around the number are
// allowed and a blank value is 0; anything else that is not a decimal number
// is refused.
bool parseVdiNumber(std::string_view value, std::string_view decimalSeparator, double& out);

// Exactly 2 × size hexadecimal digits (blanks around them allowed), each pair
// one byte, appended to out.
bool parseVdiHexBytes(std::string_view value, std::size_t size, std::string& out);

// Encodes one value of a field (NA fields take their values one by one).
void appendVdiDouble(std::string& out, double v);  // 8 bytes, big-endian IEEE 754
void appendVdiString(std::string& out, std::string_view text);  // text, 0, and a 0 more to make it even

// Lines of a data file without their ends ("\n", "\r\n"), numbered from 1:
// from a text in memory (copies read on independently), or read from an open
// file piece by piece, holding only the line being read.
class VdiLines {
public:
    explicit VdiLines(std::string_view text) : text_(text) {}
    explicit VdiLines(int fd) : fd_(fd) {}

    // The line stays valid until the next call.
    bool next(std::string_view& line);
    std::size_t number() const { return number_; }
    // The file could not be read to its end.
    bool failed() const { return failed_; }

private:
    bool fill();

    std::string_view text_;
    std::string buffer_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
    int fd_ = -1;
    bool eof_ = false, failed_ = false;
};

// How many of the lines still to come hold more than blanks, counting at most `limit`.
std::size_t countVdiRows(VdiLines& lines, std::size_t limit);

// The table description, up to the rows (a DSN table is then complete).
Result<VdiTable> readVdiDescription(VdiLines& lines);
// Reads up to the table's record count of rows and hands each encoded record
// to `take` in order; stops at the first problem, or at a failure of `take`.
// The rows are not stored.
Status readVdiRows(VdiLines& lines, const VdiTable& table, std::string_view decimalSeparator,
                   const std::function<Status(const std::string& record)>& take);

// Reads a whole data file. decimalSeparator is the user's locale's, taken by
// the caller at the start of the conversion.
Result<VdiTable> readVdi(std::string_view text, std::string_view decimalSeparator);

// Messages of the reader.
namespace vdimsg {
inline constexpr const char* kUnknownSync = "Unknown sync preference in VDB file.";
inline constexpr const char* kUnknownType = "Unknown field datatype in VDB file.";
inline constexpr const char* kMissingLines = "Unexpected end of VDB file.";
inline constexpr const char* kBadFieldCount = "Bad field count in VDB file.";
inline constexpr const char* kBadRecordCount = "Bad record count in VDB file.";
inline constexpr const char* kBadFieldSize = "Bad field size in VDB file.";
inline constexpr const char* kDsnTooLong = "DSN name too long in VDB file (31 characters at most).";
inline constexpr const char* kFewerRows = "Fewer rows in VDB file than its record count.";
// Row messages carry the line number: "... in line 12 of VDB file."
inline constexpr const char* kUnterminatedQuote = "Unterminated quote";
inline constexpr const char* kTooFewValues = "Too few values";
inline constexpr const char* kBadNumber = "Bad number";
inline constexpr const char* kBadByteArray = "Bad byte array value";
}  // namespace vdimsg

// "<what> in line <n> of VDB file."
std::string vdiLineMessage(const char* what, std::size_t lineNumber);

}  // namespace varn

// The messages of the debugger link: the codes, a payload writer and a
// bounds-checked payload reader, and one builder and one reader per payload
// layout. Counts and lines are 16-bit little-endian, texts end in one zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace varn {

struct Breakpoint;

// Message codes. Replies to 10-13, 19 and 20 carry the code of their request.
namespace DebugCode {
inline constexpr std::uint32_t kNothing = 1;        // local: nothing waiting
inline constexpr std::uint32_t kStopped = 4;        // R->I line; path
inline constexpr std::uint32_t kResume = 5;         // I->R
inline constexpr std::uint32_t kStepInto = 6;       // I->R
inline constexpr std::uint32_t kStepOver = 7;       // I->R
inline constexpr std::uint32_t kRunToLine = 8;      // I->R line; path
inline constexpr std::uint32_t kQuit = 9;           // I->R
inline constexpr std::uint32_t kWatchValue = 10;    // I->R name; R->I value
inline constexpr std::uint32_t kWatchAssign = 11;   // I->R name; value; R->I value
inline constexpr std::uint32_t kDisplayValue = 12;  // I->R name; R->I value
inline constexpr std::uint32_t kDisplayAssign = 13; // I->R name; value; R->I value
inline constexpr std::uint32_t kEnded = 14;         // R->I
inline constexpr std::uint32_t kFileList = 15;      // R->I count; paths
inline constexpr std::uint32_t kLocalsAck = 16;     // I->R
inline constexpr std::uint32_t kBreakpoints = 17;   // I->R count; (line, file index)
inline constexpr std::uint32_t kLocalNames = 18;    // R->I count; names
inline constexpr std::uint32_t kLocalValues = 19;   // I->R count; names / R->I count; (name, value)
inline constexpr std::uint32_t kWatchValues = 20;   // I->R count; names / R->I count; (name, value)
}  // namespace DebugCode

// Largest payload a message carries.
inline constexpr std::size_t kMaxPayload = 65535;

using Payload = std::vector<std::uint8_t>;

// Appends fields to a payload that never grows past kMaxPayload: a field
// that would not fit is not written and the call returns false.
class PayloadWriter {
public:
    bool u16(std::uint16_t value);
    // The text up to its first zero byte, then one zero.
    bool text(std::string_view value);
    // Overwrites a 16-bit field written earlier at `offset` (a count placeholder).
    void patchU16(std::size_t offset, std::uint16_t value);
    // Drops everything after the first `size` bytes.
    void truncate(std::size_t size);

    std::size_t size() const { return bytes_.size(); }
    const Payload& bytes() const& { return bytes_; }
    Payload bytes() && { return std::move(bytes_); }

private:
    Payload bytes_;
};

// Reads fields in order from a payload without ever looking past its end.
// A failed read leaves the position where it was.
class PayloadReader {
public:
    PayloadReader(const std::uint8_t* data, std::size_t length);
    explicit PayloadReader(const Payload& payload) : PayloadReader(payload.data(), payload.size()) {}

    std::optional<std::uint16_t> u16();
    // A text ended by a zero byte inside the payload; none without the zero.
    std::optional<std::string> text();

    std::size_t remaining() const { return length_ - pos_; }
    bool atEnd() const { return pos_ == length_; }

private:
    const std::uint8_t* data_;
    std::size_t length_;
    std::size_t pos_ = 0;
};

struct LineAndPath {
    int line = 0;  // from 1
    std::string path;
    bool operator==(const LineAndPath&) const = default;
};

struct NameValue {
    std::string name;
    std::string value;
    bool operator==(const NameValue&) const = default;
};

struct BreakpointPair {
    int line = 0;       // from 1
    int fileIndex = 0;  // into the last file list, from 0
    bool operator==(const BreakpointPair&) const = default;
};

// Builders. Lines outside 0..65535 are clamped; lists stop at the entry that
// would overflow the payload and their count says how many were written.

// Codes 4 and 8.
Payload buildLineAndPath(int line, std::string_view path);
// Codes 10 and 12 (name) and the replies to 10-13 (value text).
Payload buildText(std::string_view text);
// Codes 11 and 13.
Payload buildNameValue(std::string_view name, std::string_view value);
// Codes 15 and 18, and 19 and 20 from the IDE.
Payload buildTextList(const std::vector<std::string>& texts);
// Codes 19 and 20 from the runtime.
Payload buildNameValueList(const std::vector<NameValue>& pairs);
// Code 17 from pairs already resolved.
Payload buildBreakpointPairs(const std::vector<BreakpointPair>& pairs);
// Code 17 from the breakpoint list: only breakpoints whose file occurs in
// `fileList` (compared without regard to case); `written` receives the count.
Payload buildBreakpoints(const std::vector<Breakpoint>& breakpoints, const std::vector<std::string>& fileList,
                         std::size_t* written = nullptr);

// Readers: none when the payload is truncated, a text lacks its zero or a
// count promises more entries than the payload holds. Bytes after the last
// field are ignored (a second message read together with the first).
std::optional<LineAndPath> readLineAndPath(const std::uint8_t* data, std::size_t length);
std::optional<std::string> readText(const std::uint8_t* data, std::size_t length);
std::optional<NameValue> readNameValue(const std::uint8_t* data, std::size_t length);
std::optional<std::vector<std::string>> readTextList(const std::uint8_t* data, std::size_t length);
std::optional<std::vector<NameValue>> readNameValueList(const std::uint8_t* data, std::size_t length);
std::optional<std::vector<BreakpointPair>> readBreakpointPairs(const std::uint8_t* data, std::size_t length);

}  // namespace varn

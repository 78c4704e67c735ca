// The menu bar file: VARN source the compiler reads twice, forward references
// of every menu object in the first pass and their definitions in the second.
// The writer makes the whole text from the menu bars; the reader takes back
// only the definitions.
//
// Choices for input the writer never makes:
// - A line longer than 2047 characters keeps its first 2047; the rest up to
//   the line feed is dropped. A NUL byte ends the text of its line.
// - Without a "COMPILE_IF IDE__PASS=2;" line the file holds no menu bars.
// - A line in the definitions that is neither ignorable nor a menu bar header
//   (a stray "end;", a top whose bar is not the one just read) fails the load
//   like a missing "end;": the bars read before it stay.
// - A "display" line of a form other than the two the writer makes fails the
//   load. An "invokes" line without ";" takes the rest of the line.
// - Inside an object the lines are read as they come: a comment or a blank
//   line before its "end;" fails the load.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "menubar/CMenuBar.h"

namespace varn {

// The file text for `bars`, named `fileName` (name and extension) in its
// header, dated `when` with the C library's "%x" and "%X" conversions in
// local time. Every line ends with CR LF.
std::string writeMenuBarFile(const MenuBarList& bars, const std::string& fileName, std::time_t when);
// The same with the date and time lines given as they are to be written.
std::string writeMenuBarFile(const MenuBarList& bars, const std::string& fileName, const std::string& date,
                             const std::string& time);

struct MenuBarReadResult {
    MenuBarList bars;       // every menu bar read completely, in file order
    bool complete = true;  // false: a malformed definition ended reading
};

// Reads the definitions of a menu bar file. Never reads past `bytes`.
MenuBarReadResult readMenuBarFile(std::string_view bytes);

// Reads the lines of a menu bar file: bytes up to a line feed, carriage
// returns dropped, at most kMaxLine characters kept.
class MenuBarLineReader {
public:
    static constexpr std::size_t kMaxLine = 2047;

    explicit MenuBarLineReader(std::string_view bytes) : bytes_(bytes) {}
    // False at the end of the input.
    bool next(std::string& line);
    std::size_t position() const { return pos_; }
    void seek(std::size_t position) { pos_ = position < bytes_.size() ? position : bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace varn

// The form file reader: the line reader, the object and property readers and
// the document load that turns a .vff file back into control records.
//
// Choices for input the writer never produces:
// - A line longer than 2047 bytes, and a form that would need more records
//   than maxRecordsFor(file size), stop the load: the objects read so far
//   stay and "Corrupted form file" is shown. So memory grows with the file,
//   never with a count written in it.
// - A grid's display rows are repaired into 1..kMaxDisplayRows when it is
//   read (0 rows becomes 1 row).
// - A grid whose body ends with "end;" instead of the column section has no
//   columns; a column section left open at the end of the file keeps the
//   columns read.
// - A control array gets at most as many elements as it has position lines
//   (at least one); its array count is the number of elements made.
// - A NUL byte ends the text of its line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varn {

class CVARNfbDoc;
class Ui;
struct FormLoadResult;

inline constexpr const char* kCorruptedFormFile = "Corrupted form file";
inline constexpr std::size_t kBaseRecordsPerForm = 10000;
// Records (controls, array elements, grid cells) a file of `bytes` may give.
inline constexpr std::size_t maxRecordsFor(std::size_t bytes) { return kBaseRecordsPerForm + bytes; }
inline constexpr int kMaxDisplayRows = 1000;

// Reads CR LF lines. CR is not stored but lets a following LF end the line; a
// LF without CR before it is stored as CR and the line goes on. End of input,
// also inside a line, ends reading.
class FormLineReader {
public:
    static constexpr std::size_t kMaxLine = 2047;
    enum class Status { Line, End, TooLong };

    explicit FormLineReader(std::string_view bytes) : bytes_(bytes) {}
    Status next(std::string& line);
    std::size_t position() const { return pos_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Reads the bytes of a form file into `doc` (which should be empty).
FormLoadResult readFormFile(CVARNfbDoc& doc, std::string_view bytes, Ui& ui);

}  // namespace varn

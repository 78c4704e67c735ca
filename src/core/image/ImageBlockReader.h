// Reads the image blocks of a bitmap or icon file into image records, with
// every check of the format. Each problem is shown through the Ui as it is
// met; a short read is only a warning and the rest of the image stays zero.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Ui.h"
#include "image/ByteSource.h"
#include "image/ImageRecord.h"
#include "platform/Result.h"

namespace varn {

class ImageBlockReader {
public:
    // The most memory the stored bitmaps of one file may take together; a
    // file asking for more fails as "Out of memory". Two full-size colour
    // images need about 6 MB.
    static constexpr std::uint64_t kDefaultMemoryBudget = 64u << 20;

    explicit ImageBlockReader(Ui& ui, std::uint64_t memoryBudget = kDefaultMemoryBudget)
        : ui_(ui), budget_(memoryBudget) {}

    // The records of every block, in file order (none for an empty input). On
    // failure the error carries the text of the message that was shown.
    Result<std::vector<ImageRecord>> read(ByteSource& in);
    // The same for a file; "Could not open file" when it cannot be opened.
    Result<std::vector<ImageRecord>> readFile(const std::string& path);

private:
    enum class ReadOutcome { Complete, Short, Failed };
    ReadOutcome readChunk(ByteSource& in, std::uint64_t offset, std::uint8_t* out, std::size_t n);
    Error fail(const std::string& text, MsgIcon icon);

    Ui& ui_;
    std::uint64_t budget_;
};

}  // namespace varn

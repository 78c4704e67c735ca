// The data file read from an open file piece by piece: the same lines as the
// text in memory, whatever falls on the boundaries of the pieces read.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "TestSupport.h"
#include "convert/VdiReader.h"

using namespace varn;

namespace {

std::vector<std::string> linesOf(VdiLines& lines) {
    std::vector<std::string> out;
    std::string_view line;
    while (lines.next(line)) out.push_back(std::string(line) + "@" + std::to_string(lines.number()));
    return out;
}

}  // namespace

TEST(VdiStream, FileLinesMatchTheTextInMemory) {
    const std::string piece(65535, 'x');  // one byte short of the reader's chunk
    const std::string texts[] = {
        "",
        "\n",
        "a\r\nb",
        piece + "\r\n" + piece + "\n\n" + piece,  // a CR LF across the first boundary
        std::string(200000, 'y') + "\nlast\n",    // a line longer than several chunks
    };
    for (const std::string& text : texts) {
        test::TempDir tmp;
        test::writeBytes(tmp.file("in.vdi"), text);
        int fd = ::open(tmp.file("in.vdi").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        VdiLines fromFile(fd);
        VdiLines inMemory(text);
        EXPECT_EQ(linesOf(fromFile), linesOf(inMemory)) << text.size() << " bytes";
        EXPECT_FALSE(fromFile.failed());
        ::close(fd);
    }
}

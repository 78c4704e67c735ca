// The lines of a text file as the IDE's readers take them: split at LF, a CR
// before the LF dropped, a last line without a line end kept, nothing after
// a final line end.
#pragma once

#include <string>
#include <vector>

namespace varn {

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace varn

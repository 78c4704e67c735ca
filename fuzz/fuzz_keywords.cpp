// Fuzz target for the keyword list reader and the colour texts: any bytes
// must read without crashing; every keyword is a trimmed, non-empty line that
// is no comment, and a colour read and formatted reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/ColouringSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& word : varn::parseKeywords(text)) {
        if (word.empty() || word[0] == '#') std::abort();
        if (word.front() == ' ' || word.front() == '\t' || word.back() == ' ' || word.back() == '\t') std::abort();
        if (word.find('\n') != std::string::npos) std::abort();
    }
    varn::Rgb colour = varn::parseColour(text);
    if (varn::parseColour(varn::formatColour(colour)) != colour) std::abort();
    return 0;
}

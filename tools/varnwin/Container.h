// Reader of the compiler's output container (version 1): the target, the
// options, the image records, every source file with its text, the units
// of each pass and the declared functions. The reader checks every count
// against the bytes that are really there and never looks past the input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnwin {

struct ContainerFile {
    std::string path;
    std::string text;
};

struct ContainerUnit {
    int pass = 0;      // 1 or 2
    std::string role;  // main, form, menubar, source, include or c
    std::size_t file = 0;
};

struct ContainerFunction {
    std::size_t file = 0;
    long line = 0;       // of the header, from 1
    std::string header;  // "name(params)" as the compiler wrote it
};

struct Container {
    std::string target;   // pilot, win32 or ppc
    std::string creator;  // PocketPC only
    std::vector<std::string> options;
    std::vector<ContainerFile> files;  // by index
    std::vector<ContainerUnit> units;
    std::vector<ContainerFunction> functions;
};

// Parses `bytes`. On failure returns false and sets `error` to what is wrong
// and where ("byte <offset>: ...").
bool readContainer(std::string_view bytes, Container& out, std::string& error);

}  // namespace varnwin

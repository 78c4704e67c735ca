// Fuzz target for the desktop runtime's reader of the compiler's output
// container: any bytes must read or be refused with a message, never read
// past the input, and a container that reads has only files it indexed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Container.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    varnwin::Container container;
    std::string error;
    const bool ok = varnwin::readContainer(std::string_view(reinterpret_cast<const char*>(data), size), container, error);
    if (!ok && error.empty()) std::abort();
    if (ok) {
        for (const auto& unit : container.units)
            if (unit.file >= container.files.size()) std::abort();
        for (const auto& function : container.functions)
            if (function.file >= container.files.size() || function.line < 1) std::abort();
    }
    return 0;
}

// Fuzz target for the .ico reader: any input gives at most one message and
// either no image or one that lies inside the input with a usable bit count.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/RecordingUi.h"
#include "installer/IconFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (bool small : {false, true}) {
        varn::RecordingUi ui;
        auto image = varn::install::readIconImageFromBytes(ui, bytes, small);
        if (ui.messages.size() > 1) std::abort();
        if (image) {
            if (ui.messages.size() != 0 || image->size() < 16 || image->size() > size) std::abort();
            if (bytes.find(*image) == std::string_view::npos) std::abort();
            unsigned bits = static_cast<unsigned char>((*image)[14]) | (static_cast<unsigned char>((*image)[15]) << 8);
            if (bits >= 9) std::abort();
        }
    }
    return 0;
}

// Fuzz target for the .ico reader: any input gives at most one message and
// either no image or one that lies inside the input with a usable bit count.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/Ui.h"
#include "installer/IconFile.h"

namespace {

class CountingUi : public varn::Ui {
public:
    varn::Answer message(const varn::Message& m) override {
        ++count;
        return varn::defaultAnswerOf(m);
    }
    std::vector<std::string> openFiles(const varn::FileDialog&) override { return {}; }
    std::optional<std::string> saveFile(const varn::FileDialog&) override { return std::nullopt; }
    int count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (bool small : {false, true}) {
        CountingUi ui;
        auto image = varn::install::readIconImageFromBytes(ui, bytes, small);
        if (ui.count > 1) std::abort();
        if (image) {
            if (ui.count != 0 || image->size() < 16 || image->size() > size) std::abort();
            if (bytes.find(*image) == std::string_view::npos) std::abort();
            unsigned bits = static_cast<unsigned char>((*image)[14]) | (static_cast<unsigned char>((*image)[15]) << 8);
            if (bits >= 9) std::abort();
        }
    }
    return 0;
}

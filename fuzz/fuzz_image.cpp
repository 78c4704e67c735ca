// Fuzz target for the image block reader: any input must give its messages
// and never read out of bounds or allocate without limit. Whatever reads must
// also decode, and its records written again must read back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Ui.h"
#include "image/ByteSource.h"
#include "image/ImageBlockReader.h"
#include "image/ImageBlockWriter.h"
#include "image/ImageCodec.h"

namespace {

class QuietUi : public varn::Ui {
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
    QuietUi ui;
    varn::MemoryByteSource in(std::string_view(reinterpret_cast<const char*>(data), size));
    auto records = varn::ImageBlockReader(ui, 16u << 20).read(in);
    if (!records) return 0;
    for (const varn::ImageRecord& r : *records) {
        varn::PixelBuffer surface = varn::decodeImage(r);
        if (surface.width() != r.width() || surface.height() != r.height()) std::abort();
    }
    std::string again = varn::encodeImageFile(*records);
    QuietUi quiet;
    varn::MemoryByteSource in2(again);
    auto reread = varn::ImageBlockReader(quiet, 64u << 20).read(in2);
    if (!reread || quiet.count != 0 || reread->size() != records->size()) std::abort();
    for (std::size_t i = 0; i < records->size(); ++i)
        if ((*reread)[i].stored != (*records)[i].stored || !((*reread)[i].descriptor == (*records)[i].descriptor))
            std::abort();
    return 0;
}

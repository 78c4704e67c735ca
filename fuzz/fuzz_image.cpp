// Fuzz target for the image block reader: any input must give its messages
// and never read out of bounds or allocate without limit. Whatever reads must
// also decode, and its records written again must read back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/RecordingUi.h"
#include "image/ByteSource.h"
#include "image/ImageBlockReader.h"
#include "image/ImageBlockWriter.h"
#include "image/ImageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    varn::RecordingUi ui;
    varn::MemoryByteSource in(std::string_view(reinterpret_cast<const char*>(data), size));
    auto records = varn::ImageBlockReader(ui, 16u << 20).read(in);
    if (!records) return 0;
    for (const varn::ImageRecord& r : *records) {
        varn::PixelBuffer surface = varn::decodeImage(r);
        if (surface.width() != r.width() || surface.height() != r.height()) std::abort();
    }
    std::string again = varn::encodeImageFile(*records);
    varn::RecordingUi quiet;
    varn::MemoryByteSource in2(again);
    auto reread = varn::ImageBlockReader(quiet, 64u << 20).read(in2);
    if (!reread || quiet.messages.size() != 0 || reread->size() != records->size()) std::abort();
    for (std::size_t i = 0; i < records->size(); ++i)
        if ((*reread)[i].stored != (*records)[i].stored || !((*reread)[i].descriptor == (*records)[i].descriptor))
            std::abort();
    return 0;
}

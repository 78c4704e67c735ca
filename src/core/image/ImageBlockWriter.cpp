#include "image/ImageBlockWriter.h"

#include "image/ImageCodec.h"
#include "image/PixelBuffer.h"
#include "platform/FileSystem.h"

namespace varn {

namespace {

void put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string encodeImageFile(const std::vector<ImageRecord>& records) {
    std::string out;
    for (const ImageRecord& r : records) {
        const std::vector<std::uint8_t> blank = r.stored.empty()
                                                    ? encodeImage(PixelBuffer(r.width(), r.height()), r.descriptor)
                                                    : std::vector<std::uint8_t>{};
        const std::vector<std::uint8_t>& stored = r.stored.empty() ? blank : r.stored;
        put16(out, kBlockSignature);
        put32(out, static_cast<std::uint32_t>(kBlockHeaderBytes + stored.size()));
        put16(out, 0);
        put16(out, 0);
        put32(out, static_cast<std::uint32_t>(pixelOffset(r.depth())));
        out.append(reinterpret_cast<const char*>(stored.data()), stored.size());
    }
    return out;
}

Status writeImageFile(const std::string& path, const std::vector<ImageRecord>& records, Ui& ui) {
    Status written = fsys::writeFileAtomic(path, encodeImageFile(records));
    if (written) return {};
    const char* text = written.error().message.starts_with(fsys::kCannotCreate) ? "Can not create file" : "File write error";
    ui.error(text);
    return makeError(text, written.error().code);
}

}  // namespace varn

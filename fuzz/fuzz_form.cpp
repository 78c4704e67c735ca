// Feeds arbitrary bytes to the form file reader, then writes the form back,
// reads that text again and packs every record.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/RecordingUi.h"
#include "form/CVARNfbDoc.h"
#include "form/FormFileWriter.h"

namespace {

void packAll(const varn::CVARNFBControl& c) {
    const std::string block = c.pack();
    std::size_t offset = 0;
    if (!varn::CVARNFBControl::unpack(block, offset) || offset != block.size()) __builtin_trap();
    for (const auto& cell : c.cells) packAll(*cell);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    varn::FormEnvironment env;
    // Vary the units so the read factors are not always the scale.
    if (size > 0) env.previousDisplayWidth = 100 + data[0];
    varn::RecordingUi ui;
    varn::CVARNfbDoc doc(env);
    doc.loadBytes(bytes, ui);
    for (const auto& c : doc.controls()) packAll(*c);

    const std::string text = varn::writeFormFile(doc, "Fuzz.vff", 0);
    varn::CVARNfbDoc again(env);
    again.loadBytes(text, ui);
    (void)varn::writeFormFile(again, "Fuzz.vff", 0);
    return 0;
}

// Feeds arbitrary bytes to the designer's paste as a clipboard block: a bad
// block must be refused with its message, a good one pasted, written back as
// a block and read again to the same count.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/RecordingUi.h"
#include "form/FormDesigner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    unsigned error = 0;
    const auto items = varn::FormClipboardBlock::read(bytes, error);
    if (!items && error == 0) __builtin_trap();

    varn::RecordingUi ui;
    varn::MemoryClipboard clipboard;
    clipboard.block = bytes;
    varn::FormDesigner designer(std::make_unique<varn::CVARNfbDoc>(), ui);
    designer.setClipboard(&clipboard);
    const bool pasted = designer.paste();
    if (pasted != items.has_value()) __builtin_trap();
    if (!pasted) return 0;

    designer.copy();
    const auto again = varn::FormClipboardBlock::read(*clipboard.block, error);
    if (!again || again->size() != items->size()) __builtin_trap();
    while (designer.undo()) {
    }
    if (!designer.doc().controls().empty()) __builtin_trap();
    return 0;
}

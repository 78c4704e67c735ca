// Fuzz target for the recovery journal's index reader: any input must read
// without reading past it; an index that reads, written again, must read back
// the same and be written the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/RecoveryJournal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    varn::JournalEntryInfo info;
    if (!varn::RecoveryJournal::parseIndex(text, info)) return 0;
    const std::string written = varn::RecoveryJournal::formatIndex(info);
    varn::JournalEntryInfo again;
    if (!varn::RecoveryJournal::parseIndex(written, again)) std::abort();
    if (varn::RecoveryJournal::formatIndex(again) != written) std::abort();
    return 0;
}

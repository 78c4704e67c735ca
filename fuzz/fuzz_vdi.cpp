// Fuzz target for the VARN data-file reader: any text must give a table or a
// message, never read out of bounds, hang or allocate by a lying count. What
// reads must also make a database whose record list points at its records.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "convert/PdbWriter.h"
#include "convert/VdiReader.h"

namespace {

std::uint32_t be32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the decimal separator; the rest is the file.
    static const char* const kSeparators[] = {".", ",", "\xD9\xAB"};
    const char* separator = kSeparators[data[0] % 3];
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    varn::Result<varn::VdiTable> table = varn::readVdi(text, separator);
    if (!table) {
        if (table.error().message.empty()) std::abort();
        return 0;
    }
    const varn::VdiTable& t = *table;
    if (!t.dsnMode && (t.records.size() != t.recordCount || t.fields.size() != t.fieldCount)) std::abort();
    varn::PdbHeaderInfo info{"Fuzz", "Fuzz", 0, 0};
    varn::Result<std::string> pdb = varn::buildPdb(t, info);
    if (!pdb) return 0;
    const std::string& bytes = *pdb;
    const std::uint32_t appInfo = varn::pdbAppInfoOffset(t.recordCount);
    if (be32(bytes, 52) != appInfo) std::abort();
    if (t.dsnMode) {
        if (bytes.size() != appInfo + 296 + 32u) std::abort();
        return 0;
    }
    std::size_t at = appInfo + 306 + 6 * t.fields.size();
    for (std::size_t i = 0; i < t.records.size(); ++i) {
        if (be32(bytes, 78 + 8 * i) != at) std::abort();
        if (t.records[i].size() % 2 != 0) std::abort();  // every field keeps records even
        at += t.records[i].size();
    }
    if (at != bytes.size()) std::abort();
    return 0;
}

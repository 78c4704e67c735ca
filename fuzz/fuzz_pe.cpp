// Fuzz target for the PE resource parser and the section rebuild: whatever
// parses must take an update and rebuild into a file that parses again with
// the same entries, and every rebuild keeps the bytes before the section.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/PeResources.h"

using varn::install::PeResourceImage;
using varn::install::ResourceEntry;
using varn::install::ResourceId;

namespace {

bool sameEntries(const std::vector<ResourceEntry>& a, const std::vector<ResourceEntry>& b) {
    if (a.size() != b.size()) return false;
    for (const ResourceEntry& e : a) {
        bool found = false;
        for (const ResourceEntry& f : b)
            if (f.type.matches(e.type) && f.name.matches(e.name) && f.language == e.language && f.data == e.data)
                found = true;
        if (!found) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 20)) return 0;
    auto image = PeResourceImage::parse(std::string(reinterpret_cast<const char*>(data), size));
    if (!image) return 0;
    const std::string icon(744, '\x11');
    if (!image->update(std::uint16_t{3}, std::uint16_t{1}, 0x409, icon.data(), icon.size())) std::abort();
    if (!image->update(ResourceId::text("Name"), std::uint16_t{2}, 0, "xyz", 3)) std::abort();
    auto rebuilt = image->rebuild();
    if (!rebuilt) return 0;  // no room to grow: refused, nothing written
    auto again = PeResourceImage::parse(*rebuilt);
    if (!again) std::abort();
    if (!sameEntries(image->entries(), again->entries())) std::abort();
    auto twice = again->rebuild();
    if (!twice || *twice != *rebuilt) std::abort();
    return 0;
}

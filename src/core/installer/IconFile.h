// The .ico reader of the setup icon update: picks the 16x16 or 32x32 image of
// an icon file and returns its device-independent bitmap (information header,
// colour table, XOR and AND masks) as stored, after the file's checks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/Ui.h"

namespace varn::install {

// Random-access input of the reader: a file or bytes in memory.
class IconInput {
public:
    virtual ~IconInput() = default;
    virtual std::uint64_t length() const = 0;
    // Reads exactly n bytes at offset into out; false on a short read.
    virtual bool readAt(std::uint64_t offset, std::size_t n, std::string& out) = 0;
};

// The DIB bytes of the first 16x16 (small) or 32x32 image, or none. Broken
// files show their message (stop icon) through ui; a file that cannot be
// opened, or one without an image of the size, gives none without a message.
std::optional<std::string> readIconImage(Ui& ui, const std::string& icoPath, bool small);
std::optional<std::string> readIconImage(Ui& ui, IconInput& in, bool small);
std::optional<std::string> readIconImageFromBytes(Ui& ui, std::string_view bytes, bool small);

}  // namespace varn::install

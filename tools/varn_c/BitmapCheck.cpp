#include "BitmapCheck.h"

#include <cctype>

namespace varnc {

namespace {

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

unsigned word(const std::vector<std::uint8_t>& b, std::size_t at) { return (unsigned(b[at]) << 8) | b[at + 1]; }

}  // namespace

std::string checkRecords(const std::vector<std::uint8_t>& bytes) {
    std::size_t at = 0;
    int record = 1;
    while (at < bytes.size()) {
        const std::string which = "record " + std::to_string(record);
        if (bytes.size() - at < 16) return which + " is shorter than its 16-byte header";
        unsigned width = word(bytes, at), height = word(bytes, at + 2), rowBytes = word(bytes, at + 4);
        unsigned pixelSize = bytes[at + 8], version = bytes[at + 9], nextDepth = word(bytes, at + 10);
        unsigned compression = bytes[at + 13];
        if (version != 2) return which + " has version " + std::to_string(version) + ", not 2";
        if (pixelSize != 1 && pixelSize != 2 && pixelSize != 4 && pixelSize != 8 && pixelSize != 16)
            return which + " has pixel size " + std::to_string(pixelSize);
        if (width == 0 || height == 0) return which + " has an empty size";
        if (rowBytes % 2 != 0) return which + " has an odd row byte count " + std::to_string(rowBytes);
        unsigned needed = (width * pixelSize + 15) / 16 * 2;
        if (rowBytes < needed)
            return which + " has " + std::to_string(rowBytes) + " row bytes, " + std::to_string(needed) +
                   " needed for its width";
        if (compression != 0) return which + " is compressed";
        std::size_t size = 16 + std::size_t(rowBytes) * height;
        std::size_t padded = (size + 3) / 4 * 4;
        if (bytes.size() - at < padded)
            return which + " needs " + std::to_string(padded) + " bytes, " + std::to_string(bytes.size() - at) +
                   " are there";
        for (std::size_t i = at + size; i < at + padded; ++i)
            if (bytes[i] != 0) return which + " has a non-zero padding byte";
        at += padded;
        if (nextDepth != 0) {
            if (nextDepth * 4 != padded)
                return which + " has next-depth offset " + std::to_string(nextDepth) + ", its size gives " +
                       std::to_string(padded / 4);
            if (at >= bytes.size()) return which + " points to a next record that is not there";
        } else if (at < bytes.size()) {
            return which + " has no next-depth offset but " + std::to_string(bytes.size() - at) + " bytes follow";
        }
        ++record;
    }
    return {};
}

std::string parseImageLine(const std::string& kind, const std::string& value, ImageLine& image) {
    image = ImageLine{};
    image.kind = kind;
    std::size_t open = value.find('[');
    if (open == std::string::npos) return "has no count field";
    image.name = value.substr(0, open);
    if (image.name.empty()) return "has no name";
    for (char c : image.name)
        if (!isNameChar(c)) return "name \"" + image.name + "\" is not a valid name";
    // "[%06d]=$": six digits exactly.
    if (value.size() < open + 10 || value.compare(open + 7, 3, "]=$") != 0)
        return image.name + ": malformed count field";
    long count = 0;
    for (std::size_t i = open + 1; i < open + 7; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(value[i]))) return image.name + ": malformed count field";
        count = count * 10 + (value[i] - '0');
    }
    const std::string data = value.substr(open + 10);
    std::vector<long> entries;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = data.find(',', start);
        std::string item = data.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item.empty() || item.size() > 3) return image.name + ": entry " + std::to_string(entries.size() + 1) + " is not a byte value";
        long v = 0;
        for (char c : item) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return image.name + ": entry " + std::to_string(entries.size() + 1) + " is not a byte value";
            v = v * 10 + (c - '0');
        }
        if (v > 255) return image.name + ": entry " + std::to_string(entries.size() + 1) + " is not a byte value";
        entries.push_back(v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (static_cast<long>(entries.size()) != count)
        return image.name + ": count field says " + std::to_string(count) + " but " + std::to_string(entries.size()) +
               " entries follow";
    if (entries.back() != 0 || data.size() < 1 || data.back() != '0' ||
        (data.size() >= 2 && data[data.size() - 2] != ','))
        return image.name + ": data line does not end with 0";
    entries.pop_back();
    for (long v : entries) image.bytes.push_back(static_cast<std::uint8_t>(v));
    std::string problem = checkRecords(image.bytes);
    if (!problem.empty()) return image.name + ": " + problem;
    return {};
}

}  // namespace varnc

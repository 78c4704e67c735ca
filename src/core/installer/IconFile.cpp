#include "installer/IconFile.h"

#include <fstream>

#include "platform/FileSystem.h"

namespace varn::install {

namespace {

constexpr std::uint64_t kHeaderSize = 6;
constexpr std::uint64_t kEntrySize = 16;
constexpr unsigned kMaxImages = 64;
// Bits per pixel sit at byte 14 of the 40-byte information header.
constexpr std::size_t kBitCountOffset = 14;

unsigned get16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

std::uint32_t get32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(get16(b, at)) | (static_cast<std::uint32_t>(get16(b, at + 2)) << 16);
}

class MemoryIconInput : public IconInput {
public:
    explicit MemoryIconInput(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t length() const override { return bytes_.size(); }
    bool readAt(std::uint64_t offset, std::size_t n, std::string& out) override {
        if (offset > bytes_.size() || n > bytes_.size() - offset) return false;
        out.assign(bytes_.substr(static_cast<std::size_t>(offset), n));
        return true;
    }

private:
    std::string_view bytes_;
};

class FileIconInput : public IconInput {
public:
    explicit FileIconInput(const std::string& path) : in_(path, std::ios::binary) {
        if (!in_) return;
        in_.seekg(0, std::ios::end);
        auto end = in_.tellg();
        if (end < 0) {
            in_.setstate(std::ios::failbit);
            return;
        }
        length_ = static_cast<std::uint64_t>(end);
    }
    bool isOpen() const { return static_cast<bool>(in_); }
    std::uint64_t length() const override { return length_; }
    bool readAt(std::uint64_t offset, std::size_t n, std::string& out) override {
        if (offset > length_ || n > length_ - offset) return false;
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        out.assign(n, '\0');
        in_.read(out.data(), static_cast<std::streamsize>(n));
        return in_.gcount() == static_cast<std::streamsize>(n);
    }

private:
    std::ifstream in_;
    std::uint64_t length_ = 0;
};

}  // namespace

std::optional<std::string> readIconImage(Ui& ui, IconInput& in, bool small) {
    std::string header;
    if (!in.readAt(0, kHeaderSize, header)) {
        ui.error("Could not read icon header");
        return std::nullopt;
    }
    unsigned reserved = get16(header, 0), type = get16(header, 2), count = get16(header, 4);
    if (reserved != 0 || count == 0 || count > kMaxImages || type != 1) {
        ui.error("Invalid icon header");
        return std::nullopt;
    }

    std::string entries;
    if (!in.readAt(kHeaderSize, count * kEntrySize, entries)) {
        ui.error("Could not read icon descriptors");
        return std::nullopt;
    }

    // The images follow the directory back to back, in entry order, and end
    // within the file.
    std::uint64_t expected = kHeaderSize + count * kEntrySize;
    for (unsigned i = 0; i < count; ++i) {
        std::uint64_t size = get32(entries, i * kEntrySize + 8);
        std::uint64_t offset = get32(entries, i * kEntrySize + 12);
        if (offset != expected || offset + size > in.length()) {
            ui.error("Icon descriptors overlap");
            return std::nullopt;
        }
        expected = offset + size;
    }

    const unsigned side = small ? 16 : 32;
    for (unsigned i = 0; i < count; ++i) {
        std::size_t at = i * kEntrySize;
        unsigned width = static_cast<unsigned char>(entries[at]);
        unsigned height = static_cast<unsigned char>(entries[at + 1]);
        if (width != side || height != side) continue;
        std::uint32_t size = get32(entries, at + 8);
        std::uint32_t offset = get32(entries, at + 12);
        std::string dib;
        // An image too short to hold its bit count cannot be a bitmap.
        if (size <= kBitCountOffset + 1 || !in.readAt(offset, size, dib)) {
            ui.error("Could not read icon DIB");
            return std::nullopt;
        }
        if (get16(dib, kBitCountOffset) >= 9) {
            ui.error("Icons must use 256 or less colors");
            return std::nullopt;
        }
        return dib;
    }
    return std::nullopt;
}

std::optional<std::string> readIconImage(Ui& ui, const std::string& icoPath, bool small) {
    if (fsys::isDirectory(icoPath)) return std::nullopt;
    FileIconInput in(icoPath);
    if (!in.isOpen()) return std::nullopt;
    return readIconImage(ui, in, small);
}

std::optional<std::string> readIconImageFromBytes(Ui& ui, std::string_view bytes, bool small) {
    MemoryIconInput in(bytes);
    return readIconImage(ui, in, small);
}

}  // namespace varn::install

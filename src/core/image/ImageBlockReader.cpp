#include "image/ImageBlockReader.h"

#include <cstdio>
#include <new>

#include "image/ImageGeometry.h"

namespace varn {

namespace {

std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t u32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
std::int32_t i32(const std::uint8_t* p) { return static_cast<std::int32_t>(u32(p)); }

// Whether a non-zero image-size field equals stride × height, computed
// exactly: the unchecked width and height may be anything a file holds.
bool imageSizeMatches(std::uint32_t field, std::int64_t width, std::int64_t height, std::int64_t bpp) {
    const std::int64_t stride = rowStride(width, bpp);  // at most 2^36 in magnitude
    if (stride == 0 || height == 0 || (stride < 0) != (height < 0)) return false;
    const std::uint64_t s = static_cast<std::uint64_t>(stride < 0 ? -stride : stride);
    const std::uint64_t h = static_cast<std::uint64_t>(height < 0 ? -height : height);
    return h <= 0xFFFFFFFFull / s && s * h == field;
}

// Bookkeeping cost of one record beside its stored bitmap, so that a file of
// many tiny blocks is bounded by the budget too.
constexpr std::uint64_t kRecordOverhead = 64;

}  // namespace

Error ImageBlockReader::fail(const std::string& text, MsgIcon icon) {
    ui_.message({text, {}, icon, MsgButtons::Ok, {}});
    return makeError(text);
}

ImageBlockReader::ReadOutcome ImageBlockReader::readChunk(ByteSource& in, std::uint64_t offset, std::uint8_t* out,
                                                          std::size_t n) {
    std::int64_t got = in.readAt(offset, out, n);
    if (got < 0) return ReadOutcome::Failed;
    if (static_cast<std::uint64_t>(got) < n) {
        char text[96];
        std::snprintf(text, sizeof text, "File length is wrong. Expecting %d but read %d.", static_cast<int>(n),
                      static_cast<int>(got));
        ui_.warning(text);
        return ReadOutcome::Short;
    }
    return ReadOutcome::Complete;
}

Result<std::vector<ImageRecord>> ImageBlockReader::readFile(const std::string& path) {
    auto file = FileByteSource::open(path);
    if (!file) {
        Error e = fail("Could not open file", MsgIcon::Warning);
        e.code = file.error().code;
        return e;
    }
    return read(**file);
}

Result<std::vector<ImageRecord>> ImageBlockReader::read(ByteSource& in) {
    const std::uint64_t length = in.length();
    std::vector<ImageRecord> records;
    std::uint64_t used = 0;
    std::uint64_t offset = 0;

    while (offset < length) {
        std::uint8_t header[kBlockHeaderBytes] = {};
        if (readChunk(in, offset, header, sizeof header) == ReadOutcome::Failed)
            return fail("File read error", MsgIcon::Error);
        const std::uint32_t blockSize = u32(header + 2);
        // A block must move the reader on; a size of 0 would read the same block forever.
        if (u16(header) != kBlockSignature || blockSize == 0) return fail("Bitmap file format error", MsgIcon::Error);

        std::uint8_t info[kInfoHeaderBytes] = {};
        if (readChunk(in, offset + kBlockHeaderBytes, info, sizeof info) == ReadOutcome::Failed)
            return fail("File read error", MsgIcon::Error);
        const std::uint32_t headerSize = u32(info);
        const std::int64_t width = i32(info + 4);
        const std::int64_t height = i32(info + 8);
        const std::uint16_t planes = u16(info + 12);
        const std::uint16_t bpp = u16(info + 14);
        const std::uint32_t imageSize = u32(info + 20);
        if (headerSize != kInfoHeaderBytes || planes != 1 || !isImageDepth(bpp) ||
            (imageSize != 0 && !imageSizeMatches(imageSize, width, height, bpp)))
            return fail("Bad bitmap file", MsgIcon::Error);
        if (width > kMaxImageDimension || height > kMaxImageDimension) return fail("Bad bitmap size", MsgIcon::Error);

        ImageDescriptor d{static_cast<int>(width), static_cast<int>(height), bpp};
        if (!d.inRange()) {
            char text[64];
            std::snprintf(text, sizeof text, "Width/height must be in the range of 1-%d", kMaxImageDimension);
            return fail(text, MsgIcon::None);
        }

        const std::uint64_t size = static_cast<std::uint64_t>(d.storedSize());
        if (size + kRecordOverhead > budget_ - used) return fail("Out of memory", MsgIcon::Error);
        used += size + kRecordOverhead;
        ImageRecord record{d, {}};
        try {
            record.stored.assign(size, 0);
        } catch (const std::bad_alloc&) {
            return fail("Out of memory", MsgIcon::Error);
        }
        if (readChunk(in, offset + kBlockHeaderBytes, record.stored.data(), record.stored.size()) ==
            ReadOutcome::Failed)
            return fail("File read error", MsgIcon::Error);
        records.push_back(std::move(record));
        offset += blockSize;
    }
    return records;
}

}  // namespace varn

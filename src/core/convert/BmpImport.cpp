#include "convert/BmpImport.h"

#include <initializer_list>

#include "image/ImageGeometry.h"
#include "image/ImageRegistration.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

constexpr std::size_t kHeadersBytes = kBlockHeaderBytes + kInfoHeaderBytes;
constexpr std::uint64_t kMaxTrailingBytes = 4096;

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// The fields of one block's two headers.
struct BlockHeaders {
    std::uint16_t signature;
    std::uint32_t blockSize;
    std::uint32_t pixelOffset;
    std::uint32_t headerSize;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t planes;
    std::uint16_t bpp;
    std::uint32_t compression;
    std::uint32_t imageSize;
    std::uint32_t coloursUsed;
};

bool readHeaders(ByteSource& in, std::uint64_t offset, BlockHeaders& h) {
    std::uint8_t b[kHeadersBytes];
    if (in.readAt(offset, b, sizeof b) != static_cast<std::int64_t>(sizeof b)) return false;
    h.signature = le16(b);
    h.blockSize = le32(b + 2);
    h.pixelOffset = le32(b + 10);
    h.headerSize = le32(b + 14);
    h.width = static_cast<std::int32_t>(le32(b + 18));
    h.height = static_cast<std::int32_t>(le32(b + 22));
    h.planes = le16(b + 26);
    h.bpp = le16(b + 28);
    h.compression = le32(b + 30);
    h.imageSize = le32(b + 34);
    h.coloursUsed = le32(b + 46);
    return true;
}

// Fills the "%s" and "%d" places of a message in order.
std::string format(const char* pattern, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && (p[1] == 's' || p[1] == 'd') && next != args.end()) {
            out += *next++;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

bool fail(Ui& ui, const std::string& text) {
    ui.error(text);
    return false;
}

}  // namespace

ImageBlockScan scanImageBlocks(ByteSource& in) {
    ImageBlockScan scan;
    std::uint64_t offset = 0;
    BlockHeaders h{};
    while (offset < in.length() && readHeaders(in, offset, h)) {
        ++scan.blocks;
        if (h.bpp == 1) scan.hasMonochrome = true;
        else if (h.bpp > 1) scan.hasColour = true;
        scan.width = h.width;
        scan.height = h.height;
        if (h.blockSize == 0) break;
        offset += h.blockSize;
    }
    return scan;
}

std::string bmpImportProblem(ByteSource& bmp) {
    BlockHeaders h{};
    if (!readHeaders(bmp, 0, h) || h.signature != kBlockSignature) return "it is not a BMP file";
    if (h.headerSize != kInfoHeaderBytes) return "its information header must be the 40-byte Windows header";
    if (h.planes != 1 || !isImageDepth(h.bpp)) return "it must have one plane and 1, 4, 8 or 24 bits per pixel";
    if (h.compression != 0) return "it must be uncompressed";
    if (h.width < 1 || h.width > kMaxImageDimension || h.height < 1 || h.height > kMaxImageDimension)
        return "it must be stored bottom-up and be 1 to 1000 pixels wide and high";
    const std::int64_t table = colourTableBytes(h.bpp);
    const std::uint64_t fullTable = h.bpp == 24 ? 0 : std::uint64_t{1} << h.bpp;
    if ((h.coloursUsed != 0 && h.coloursUsed != fullTable) || h.pixelOffset != kHeadersBytes + table)
        return h.bpp == 24 ? "it must have no colour table" : "its colour table must hold all 2, 16 or 256 entries";
    const std::int64_t pixels = pixelBytes(h.width, h.height, h.bpp);
    if (h.imageSize != 0 && h.imageSize != pixels) return "its image size field does not match its size";
    const std::uint64_t needed = static_cast<std::uint64_t>(kBlockHeaderBytes + storedBitmapSize(h.width, h.height, h.bpp));
    // A few bytes after the pixel rows are tolerated (some writers pad the file).
    if (h.blockSize != bmp.length() || bmp.length() < needed || bmp.length() - needed > kMaxTrailingBytes)
        return "its length does not match its headers";
    return {};
}

std::string defaultImageFileFor(const std::string& bmpPath) {
    std::string folder = paths::folderOf(bmpPath);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + paths::baseName(bmpPath) + ".vbm";
}

bool importBmpFile(const std::string& bmpPath, const std::string& imageFile, Ui& ui, ImageProject* project,
                   std::string* written) {
    auto opened = FileByteSource::open(bmpPath);
    if (!opened || fsys::isDirectory(bmpPath)) return fail(ui, format(importmsg::kCannotOpenImport, {bmpPath}));
    ByteSource& bmp = **opened;
    const ImageBlockScan imported = scanImageBlocks(bmp);
    const std::string problem = bmpImportProblem(bmp);
    if (!problem.empty()) return fail(ui, format(importmsg::kNotAcceptable, {bmpPath, problem}));

    if (!followsImageNameRule(imageBaseName(imageFile))) return fail(ui, importmsg::kBadName);
    std::string path = imageFile;
    if (paths::fileName(path).find('.') == std::string::npos) path += ".vbm";

    std::string existing;
    ImageBlockScan current;
    const bool exists = fsys::exists(path);
    if (exists) {
        Result<std::string> bytes = fsys::readFile(path);
        if (!bytes) return fail(ui, format(importmsg::kCannotOpenImage, {path}));
        existing = std::move(*bytes);
        MemoryByteSource in(existing);
        current = scanImageBlocks(in);
    }
    if (current.blocks == 0) {
        // A new (or empty) image file takes the imported size.
        current.width = imported.width;
        current.height = imported.height;
    }
    if (current.hasColour && current.hasMonochrome) return fail(ui, importmsg::kBothKinds);
    if (current.width != imported.width || current.height != imported.height)
        return fail(ui, format(importmsg::kSizeDiffers,
                               {std::to_string(imported.width), std::to_string(imported.height),
                                std::to_string(current.width), std::to_string(current.height)}));
    if ((imported.hasColour && current.hasColour) || (imported.hasMonochrome && current.hasMonochrome))
        existing.clear();  // the import replaces the image of its kind

    const std::uint64_t length = bmp.length();
    std::string data(static_cast<std::size_t>(length), '\0');
    if (bmp.readAt(0, reinterpret_cast<std::uint8_t*>(data.data()), data.size()) != static_cast<std::int64_t>(length))
        return fail(ui, format(importmsg::kCannotRead, {bmpPath}));

    if ((exists && fsys::isReadOnly(path)) || !fsys::writeFileAtomic(path, existing + data))
        return fail(ui, format(importmsg::kCannotWrite, {path}));
    if (written) *written = path;
    if (project) {
        project->addBitmapFile(path);
        project->markModified();
    }
    ui.info(importmsg::kComplete);
    return true;
}

}  // namespace varn

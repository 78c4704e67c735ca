#include "installer/PeResources.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/FileSystem.h"

namespace varn::install {

namespace {

// Offsets in the headers.
constexpr std::size_t kPeOffsetField = 60;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr unsigned kPe32Magic = 0x10b;
constexpr unsigned kPe32PlusMagic = 0x20b;
constexpr std::size_t kResourceDirectoryIndex = 2;
constexpr std::size_t kCertificateDirectoryIndex = 4;
constexpr std::uint32_t kInitializedData = 0x40;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDataAlignment = 8;
// Beyond this a section or file no longer fits the 32-bit fields safely.
constexpr std::uint64_t kMaxFileSize = 0x7fffffffu;

std::uint32_t get16(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
}

std::uint32_t get32(std::string_view b, std::size_t at) { return get16(b, at) | (get16(b, at + 2) << 16); }

void put16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}

std::uint64_t alignUp(std::uint64_t v, std::uint64_t a) { return (v + a - 1) / a * a; }

bool isPowerOfTwo(std::uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

char16_t upper(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= 0xe0 && c <= 0xfe && c != 0xf7) return static_cast<char16_t>(c - 32);
    return c;
}

std::u16string upper(const std::u16string& s) {
    std::u16string u = s;
    for (char16_t& c : u) c = upper(c);
    return u;
}

Error fail(int code, const std::string& text) { return makeError(text, code); }

struct SectionHeader {
    std::uint32_t virtualSize, virtualAddress, rawSize, rawPointer;
};

SectionHeader readSection(std::string_view file, std::size_t at) {
    return {get32(file, at + 8), get32(file, at + 12), get32(file, at + 16), get32(file, at + 20)};
}

// Reads the directory tree of a resource section into entries.
class DirectoryParser {
public:
    DirectoryParser(std::string_view section, std::uint32_t rva)
        : section_(section), rva_(rva), budget_(section.size() / 8 + 1) {}

    bool parse(std::vector<ResourceEntry>& out) { return walk(0, 0, out); }

private:
    bool readName(std::uint32_t field, ResourceId& id) {
        if (!(field & kHighBit)) {
            if (field > 0xffff) return false;
            id = ResourceId(static_cast<std::uint16_t>(field));
            return true;
        }
        std::uint64_t at = field & ~kHighBit;
        if (at + 2 > section_.size()) return false;
        std::uint64_t length = get16(section_, at);
        if (at + 2 + 2 * length > section_.size()) return false;
        std::u16string name;
        for (std::uint64_t i = 0; i < length; ++i)
            name.push_back(static_cast<char16_t>(get16(section_, at + 2 + 2 * i)));
        id = ResourceId(std::move(name));
        return true;
    }

    bool walk(std::uint64_t at, int level, std::vector<ResourceEntry>& out) {
        if (at + 16 > section_.size()) return false;
        std::uint64_t count = get16(section_, at + 12) + get16(section_, at + 14);
        if (at + 16 + 8 * count > section_.size()) return false;
        // Each entry of a well-formed tree has its own eight bytes: more
        // visits than that means directories are shared or looped.
        if (count > budget_) return false;
        budget_ -= count;
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint64_t e = at + 16 + 8 * i;
            std::uint32_t nameField = get32(section_, e), target = get32(section_, e + 4);
            ResourceId id(std::uint16_t{0});
            if (!readName(nameField, id)) return false;
            if (level == 0) current_.type = id;
            if (level == 1) current_.name = id;
            if (level < 2) {
                if (!(target & kHighBit)) return false;
                if (!walk(target & ~kHighBit, level + 1, out)) return false;
                continue;
            }
            // Language level: an integer ID pointing at a data entry.
            if (id.isName() || (target & kHighBit)) return false;
            if (static_cast<std::uint64_t>(target) + 16 > section_.size()) return false;
            std::uint32_t dataRva = get32(section_, target), size = get32(section_, target + 4);
            if (dataRva < rva_) return false;
            std::uint64_t offset = dataRva - rva_;
            if (offset > section_.size() || size > section_.size() - offset) return false;
            current_.language = id.id();
            current_.data.assign(section_.substr(offset, size));
            out.push_back(current_);
        }
        return true;
    }

    std::string_view section_;
    std::uint32_t rva_;
    std::uint64_t budget_;
    ResourceEntry current_;
};

void appendUtf16(std::u16string& out, std::uint32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xd800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xdc00 + (cp & 0x3ff)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

// The PE checksum: 16-bit one's-complement style sum with carries folded,
// the checksum field counted as zero, plus the file length.
std::uint32_t peChecksum(std::string_view file, std::size_t checksumField) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < file.size(); i += 2) {
        if (i >= checksumField && i < checksumField + 4) continue;
        std::uint32_t word = static_cast<unsigned char>(file[i]);
        if (i + 1 < file.size()) word |= static_cast<std::uint32_t>(static_cast<unsigned char>(file[i + 1])) << 8;
        sum += word;
        sum = (sum & 0xffff) + (sum >> 16);
    }
    sum = (sum & 0xffff) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + file.size());
}

}  // namespace

ResourceId ResourceId::text(std::string_view utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        int extra = c < 0x80 ? 0 : (c & 0xe0) == 0xc0 ? 1 : (c & 0xf0) == 0xe0 ? 2 : (c & 0xf8) == 0xf0 ? 3 : -1;
        std::uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1f) : extra == 2 ? (c & 0x0f) : (c & 0x07);
        bool good = extra >= 0 && i + extra < utf8.size();
        for (int k = 1; good && k <= extra; ++k) {
            unsigned char d = static_cast<unsigned char>(utf8[i + k]);
            if ((d & 0xc0) != 0x80) good = false;
            else cp = (cp << 6) | (d & 0x3f);
        }
        if (!good || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) {
            out.push_back(u'\ufffd');
            ++i;
            continue;
        }
        appendUtf16(out, cp);
        i += 1 + extra;
    }
    return ResourceId(std::move(out));
}

bool ResourceId::matches(const ResourceId& other) const {
    if (named_ != other.named_) return false;
    if (!named_) return id_ == other.id_;
    return upper(name_) == upper(other.name_);
}

bool ResourceId::before(const ResourceId& other) const {
    if (named_ != other.named_) return named_;
    if (!named_) return id_ < other.id_;
    std::u16string a = upper(name_), b = upper(other.name_);
    if (a != b) return a < b;
    return name_ < other.name_;
}

Result<PeResourceImage> PeResourceImage::parse(std::string fileBytes) {
    PeResourceImage img;
    img.file_ = std::move(fileBytes);
    const std::string_view f = img.file_;
    if (f.size() > kMaxFileSize) return fail(kErrorBadExeFormat, "The file is too large");
    if (f.size() < kPeOffsetField + 4) return fail(kErrorResourceDataNotFound, "Not a PE file");
    std::uint64_t pe = get32(f, kPeOffsetField);
    if (pe + 4 > f.size() || f.substr(pe, 4) != std::string_view("PE\0\0", 4))
        return fail(kErrorResourceDataNotFound, "Not a PE file");

    img.fileHeader_ = pe + 4;
    if (img.fileHeader_ + kFileHeaderSize > f.size()) return fail(kErrorBadExeFormat, "Truncated file header");
    img.sectionCount_ = get16(f, img.fileHeader_ + 2);
    std::uint64_t optionalSize = get16(f, img.fileHeader_ + 16);
    img.optionalHeader_ = img.fileHeader_ + kFileHeaderSize;
    img.sectionTable_ = img.optionalHeader_ + optionalSize;
    if (img.sectionTable_ + img.sectionCount_ * kSectionHeaderSize > f.size())
        return fail(kErrorBadExeFormat, "Truncated section table");

    // The optional header must hold the alignments, the image size and the
    // resource directory entry that end update fixes.
    if (optionalSize < 2) return fail(kErrorBadExeFormat, "No optional header");
    unsigned magic = get16(f, img.optionalHeader_);
    std::size_t directories;
    if (magic == kPe32Magic) directories = 96;
    else if (magic == kPe32PlusMagic) directories = 112;
    else return fail(kErrorBadExeFormat, "Unknown optional header");
    if (optionalSize < directories) return fail(kErrorBadExeFormat, "Short optional header");
    img.dataDirectoryCount_ = get32(f, img.optionalHeader_ + directories - 4);
    if (img.dataDirectoryCount_ <= kResourceDirectoryIndex ||
        directories + 8 * std::min<std::uint64_t>(img.dataDirectoryCount_, kResourceDirectoryIndex + 1) >
            optionalSize)
        return fail(kErrorBadExeFormat, "No resource directory entry");
    img.dataDirectories_ = img.optionalHeader_ + directories;
    std::uint32_t sectionAlignment = get32(f, img.optionalHeader_ + 32);
    std::uint32_t fileAlignment = get32(f, img.optionalHeader_ + 36);
    if (!isPowerOfTwo(sectionAlignment) || !isPowerOfTwo(fileAlignment))
        return fail(kErrorBadExeFormat, "Bad alignment");

    bool found = false;
    for (unsigned i = 0; i < img.sectionCount_; ++i) {
        std::size_t at = img.sectionTable_ + i * kSectionHeaderSize;
        static const char kName[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
        bool same = true;
        for (int k = 0; k < 8 && same; ++k)
            same = std::tolower(static_cast<unsigned char>(f[at + k])) == static_cast<unsigned char>(kName[k]);
        if (same) {
            img.rsrcHeader_ = at;
            found = true;
            break;
        }
    }
    if (!found) return fail(kErrorResourceDataNotFound, "No resource section");

    SectionHeader rs = readSection(f, img.rsrcHeader_);
    if (static_cast<std::uint64_t>(rs.rawPointer) + rs.rawSize > f.size())
        return fail(kErrorBadExeFormat, "The resource section lies beyond the end of the file");
    if (rs.rawPointer < img.sectionTable_ + img.sectionCount_ * kSectionHeaderSize)
        return fail(kErrorBadExeFormat, "The resource section lies in the headers");
    DirectoryParser parser(f.substr(rs.rawPointer, rs.rawSize), rs.virtualAddress);
    std::vector<ResourceEntry> parsed;
    if (!parser.parse(parsed)) return fail(kErrorInvalidData, "Broken resource directory");
    // A tree naming the same resource twice keeps the first.
    for (ResourceEntry& e : parsed)
        if (!img.find(e.type, e.name, e.language)) img.entries_.push_back(std::move(e));
    return img;
}

const ResourceEntry* PeResourceImage::find(const ResourceId& type, const ResourceId& name,
                                           std::uint16_t language) const {
    for (const ResourceEntry& e : entries_)
        if (e.language == language && e.type.matches(type) && e.name.matches(name)) return &e;
    return nullptr;
}

Status PeResourceImage::update(const ResourceId& type, const ResourceId& name, std::uint16_t language,
                               const void* data, std::size_t size) {
    if (data && size > kMaxFileSize) return fail(kErrorInvalidData, "Resource too large");
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const ResourceEntry& e) {
        return e.language == language && e.type.matches(type) && e.name.matches(name);
    });
    if (!data) {
        if (it != entries_.end()) entries_.erase(it);
        return {};
    }
    std::string bytes(static_cast<const char*>(data), size);
    if (it != entries_.end()) {
        it->data = std::move(bytes);
        return {};
    }
    entries_.push_back(ResourceEntry{type, name, language, std::move(bytes)});
    return {};
}

std::string PeResourceImage::buildSection(const std::vector<ResourceEntry>& entries, std::uint32_t sectionRva) {
    std::vector<const ResourceEntry*> sorted;
    for (const ResourceEntry& e : entries) sorted.push_back(&e);
    std::stable_sort(sorted.begin(), sorted.end(), [](const ResourceEntry* a, const ResourceEntry* b) {
        if (!a->type.matches(b->type)) return a->type.before(b->type);
        if (!a->name.matches(b->name)) return a->name.before(b->name);
        return a->language < b->language;
    });

    // Group into the three levels: type -> name -> language.
    struct NameNode {
        const ResourceId* id;
        std::vector<const ResourceEntry*> languages;
    };
    struct TypeNode {
        const ResourceId* id;
        std::vector<NameNode> names;
    };
    std::vector<TypeNode> types;
    for (const ResourceEntry* e : sorted) {
        if (types.empty() || !types.back().id->matches(e->type)) types.push_back({&e->type, {}});
        auto& names = types.back().names;
        if (names.empty() || !names.back().id->matches(e->name)) names.push_back({&e->name, {}});
        names.back().languages.push_back(e);
    }

    // Sizes of the parts in their order: directories by level, data entries,
    // texts, then the data, each aligned.
    std::size_t size = 16 + 8 * types.size();
    std::size_t nameDirs = size;
    for (const TypeNode& t : types) size += 16 + 8 * t.names.size();
    std::size_t languageDirs = size;
    std::size_t leaves = 0;
    for (const TypeNode& t : types)
        for (const NameNode& n : t.names) {
            size += 16 + 8 * n.languages.size();
            leaves += n.languages.size();
        }
    std::size_t dataEntries = size;
    size += 16 * leaves;
    std::size_t texts = size;
    for (const TypeNode& t : types) {
        if (t.id->isName()) size += 2 + 2 * t.id->name().size();
        for (const NameNode& n : t.names)
            if (n.id->isName()) size += 2 + 2 * n.id->name().size();
    }
    size = alignUp(size, kDataAlignment);
    std::size_t data = size;
    for (const ResourceEntry* e : sorted) size = alignUp(size + e->data.size(), kDataAlignment);

    std::string out(size, '\0');
    std::size_t textAt = texts;
    auto nameField = [&](const ResourceId& id) -> std::uint32_t {
        if (!id.isName()) return id.id();
        std::uint32_t field = static_cast<std::uint32_t>(textAt) | kHighBit;
        put16(out, textAt, static_cast<std::uint32_t>(id.name().size()));
        for (std::size_t i = 0; i < id.name().size(); ++i) put16(out, textAt + 2 + 2 * i, id.name()[i]);
        textAt += 2 + 2 * id.name().size();
        return field;
    };
    auto directory = [&](std::size_t at, const auto& children, auto idOf) {
        std::uint32_t named = 0;
        for (const auto& c : children) named += idOf(c).isName() ? 1 : 0;
        put16(out, at + 12, named);
        put16(out, at + 14, static_cast<std::uint32_t>(children.size()) - named);
    };

    directory(0, types, [](const TypeNode& t) -> const ResourceId& { return *t.id; });
    std::size_t nameAt = nameDirs, languageAt = languageDirs, leafAt = dataEntries, dataAt = data;
    for (std::size_t ti = 0; ti < types.size(); ++ti) {
        const TypeNode& t = types[ti];
        put32(out, 16 + 8 * ti, nameField(*t.id));
        put32(out, 16 + 8 * ti + 4, static_cast<std::uint32_t>(nameAt) | kHighBit);
        directory(nameAt, t.names, [](const NameNode& n) -> const ResourceId& { return *n.id; });
        for (std::size_t ni = 0; ni < t.names.size(); ++ni) {
            const NameNode& n = t.names[ni];
            put32(out, nameAt + 16 + 8 * ni, nameField(*n.id));
            put32(out, nameAt + 16 + 8 * ni + 4, static_cast<std::uint32_t>(languageAt) | kHighBit);
            put16(out, languageAt + 14, static_cast<std::uint32_t>(n.languages.size()));
            for (std::size_t li = 0; li < n.languages.size(); ++li) {
                const ResourceEntry* e = n.languages[li];
                put32(out, languageAt + 16 + 8 * li, e->language);
                put32(out, languageAt + 16 + 8 * li + 4, static_cast<std::uint32_t>(leafAt));
                put32(out, leafAt, sectionRva + static_cast<std::uint32_t>(dataAt));
                put32(out, leafAt + 4, static_cast<std::uint32_t>(e->data.size()));
                std::copy(e->data.begin(), e->data.end(), out.begin() + static_cast<std::ptrdiff_t>(dataAt));
                dataAt = alignUp(dataAt + e->data.size(), kDataAlignment);
                leafAt += 16;
            }
            languageAt += 16 + 8 * n.languages.size();
        }
        nameAt += 16 + 8 * t.names.size();
    }
    return out;
}

Result<std::string> PeResourceImage::rebuild() const {
    const std::string_view f = file_;
    const std::size_t opt = optionalHeader_;
    const std::uint32_t sectionAlignment = get32(f, opt + 32);
    const std::uint32_t fileAlignment = get32(f, opt + 36);
    const SectionHeader rs = readSection(f, rsrcHeader_);

    std::uint64_t total = 0;
    for (const ResourceEntry& e : entries_) total += e.data.size() + 64;
    if (total > kMaxFileSize) return fail(kErrorInvalidData, "The resources are too large");
    std::string section = buildSection(entries_, rs.virtualAddress);

    const std::uint64_t oldRaw = rs.rawSize;
    const std::uint64_t oldEnd = static_cast<std::uint64_t>(rs.rawPointer) + oldRaw;
    std::uint64_t delta = 0;
    if (section.size() > oldRaw) delta = alignUp(section.size() - oldRaw, fileAlignment);
    const std::uint64_t newRaw = oldRaw + delta;
    if (f.size() + delta > kMaxFileSize) return fail(kErrorInvalidData, "The file would be too large");

    // The section's new memory range must not run into another section.
    const std::uint64_t newVirtualEnd = alignUp(static_cast<std::uint64_t>(rs.virtualAddress) +
                                                    std::max<std::uint64_t>(section.size(), rs.virtualSize),
                                                sectionAlignment);
    if (newVirtualEnd > 0xffffffffu) return fail(kErrorInvalidData, "The image would be too large");
    for (unsigned i = 0; i < sectionCount_; ++i) {
        std::size_t at = sectionTable_ + i * kSectionHeaderSize;
        if (at == rsrcHeader_) continue;
        SectionHeader s = readSection(f, at);
        if (s.virtualAddress >= rs.virtualAddress && s.virtualAddress < newVirtualEnd)
            return fail(kErrorInvalidData, "No room to grow the resource section");
        // Another section's data inside the resource section's would be overwritten.
        if (s.rawSize != 0 && s.rawPointer < oldEnd &&
            static_cast<std::uint64_t>(s.rawPointer) + s.rawSize > rs.rawPointer)
            return fail(kErrorInvalidData, "Sections overlap in the file");
    }

    // Room made after the old section: everything behind it in the file moves.
    std::string out;
    out.reserve(f.size() + delta);
    out.append(f.substr(0, rs.rawPointer));
    out.append(section);
    out.append(newRaw - section.size(), '\0');
    out.append(f.substr(oldEnd));

    bool wraps = false;
    auto shift = [&](std::size_t field) {
        std::uint64_t v = get32(out, field);
        if (!delta || v == 0 || v < oldEnd) return;
        if (v + delta > 0xffffffffu) wraps = true;
        put32(out, field, static_cast<std::uint32_t>(v + delta));
    };
    for (unsigned i = 0; i < sectionCount_; ++i) {
        std::size_t at = sectionTable_ + i * kSectionHeaderSize;
        if (at == rsrcHeader_) continue;
        shift(at + 20);  // raw data
        shift(at + 24);  // relocations
        shift(at + 28);  // line numbers
    }
    shift(fileHeader_ + 8);  // symbol table
    if (dataDirectoryCount_ > kCertificateDirectoryIndex &&
        dataDirectories_ + 8 * (kCertificateDirectoryIndex + 1) <= sectionTable_)
        shift(dataDirectories_ + 8 * kCertificateDirectoryIndex);  // a file offset, unlike the others
    // A file offset pushed past 32 bits would point back into the file.
    if (wraps) return fail(kErrorInvalidData, "A file offset would overflow");

    put32(out, rsrcHeader_ + 8, static_cast<std::uint32_t>(section.size()));
    put32(out, rsrcHeader_ + 16, static_cast<std::uint32_t>(newRaw));
    put32(out, dataDirectories_ + 8 * kResourceDirectoryIndex, rs.virtualAddress);
    put32(out, dataDirectories_ + 8 * kResourceDirectoryIndex + 4, static_cast<std::uint32_t>(section.size()));
    if (delta && (get32(f, rsrcHeader_ + 36) & kInitializedData))
        put32(out, opt + 8, static_cast<std::uint32_t>(get32(f, opt + 8) + delta));
    std::uint64_t imageSize = get32(f, opt + 56);
    if (newVirtualEnd > imageSize) put32(out, opt + 56, static_cast<std::uint32_t>(newVirtualEnd));
    if (get32(f, opt + 64) != 0) put32(out, opt + 64, peChecksum(out, opt + 64));
    return out;
}

Result<std::unique_ptr<ResourceUpdate>> ResourceUpdate::begin(const std::string& exePath) {
    if (fsys::isDirectory(exePath) || ::access(exePath.c_str(), R_OK | W_OK) != 0 || fsys::isReadOnly(exePath)) {
        int code = errno == ENOENT ? 2 : kErrorAccessDenied;
        return fail(code, "Could not open " + exePath);
    }
    auto bytes = fsys::readFile(exePath);
    if (!bytes) return bytes.error();
    auto image = PeResourceImage::parse(std::move(*bytes));
    if (!image) return image.error();
    return std::unique_ptr<ResourceUpdate>(new ResourceUpdate(exePath, std::move(*image)));
}

Status ResourceUpdate::update(const ResourceId& type, const ResourceId& name, std::uint16_t language,
                              const void* data, std::size_t size) {
    if (ended_) return fail(6, "The update has ended");
    return image_.update(type, name, language, data, size);
}

Status ResourceUpdate::end(bool discard) {
    if (ended_) return fail(6, "The update has ended");
    ended_ = true;
    if (discard) return {};
    auto rebuilt = image_.rebuild();
    if (!rebuilt) return rebuilt.error();
    return fsys::writeFileAtomic(path_, *rebuilt);
}

}  // namespace varn::install

// A small resource updater for PE executables (the Windows CE runtimes the
// installer copies): begin update reads the file and parses its ".rsrc"
// section into entries, update resource replaces, adds or deletes entries,
// end update rebuilds the section in the resource directory layout and
// writes the file back whole, growing the section and the image when needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace varn::install {

// Platform error codes the updater fails with.
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorInvalidData = 13;
inline constexpr int kErrorBadExeFormat = 193;
inline constexpr int kErrorResourceDataNotFound = 1812;

// Resource type or name: a 16-bit integer ID or a text.
class ResourceId {
public:
    ResourceId(std::uint16_t id) : id_(id) {}  // NOLINT: IDs convert implicitly
    explicit ResourceId(std::u16string name) : name_(std::move(name)), named_(true) {}
    // A text given in UTF-8.
    static ResourceId text(std::string_view utf8);

    bool isName() const { return named_; }
    std::uint16_t id() const { return id_; }
    const std::u16string& name() const { return name_; }

    // Same ID, or same text without regard to case.
    bool matches(const ResourceId& other) const;
    // Directory order: texts first (by their upper-case form), then IDs ascending.
    bool before(const ResourceId& other) const;

private:
    std::uint16_t id_ = 0;
    std::u16string name_;
    bool named_ = false;
};

struct ResourceEntry {
    ResourceId type{std::uint16_t{0}};
    ResourceId name{std::uint16_t{0}};
    std::uint16_t language = 0;
    std::string data;
};

// A PE image held in memory with its resource entries.
class PeResourceImage {
public:
    // Checks the headers and parses the ".rsrc" section. Fails with 1812 when
    // the file is not a PE file or has no resource section, with 193 when its
    // headers or sections do not fit in the file, and with 13 when the
    // resource directory is broken.
    static Result<PeResourceImage> parse(std::string fileBytes);

    const std::vector<ResourceEntry>& entries() const { return entries_; }
    // The entry with the type, name and language, or nullptr.
    const ResourceEntry* find(const ResourceId& type, const ResourceId& name, std::uint16_t language) const;

    // Replaces the entry with the same type, name and language, or adds one;
    // with data == nullptr the entry is deleted.
    Status update(const ResourceId& type, const ResourceId& name, std::uint16_t language, const void* data,
                  std::size_t size);

    // The whole file with the rebuilt section and the fixed headers. Fails
    // (and changes nothing) when the section cannot grow in place.
    Result<std::string> rebuild() const;

    const std::string& bytes() const { return file_; }

    // The resource directory tree and data for the entries, as placed at the
    // relative virtual address sectionRva.
    static std::string buildSection(const std::vector<ResourceEntry>& entries, std::uint32_t sectionRva);

private:
    std::string file_;
    std::vector<ResourceEntry> entries_;
    std::size_t optionalHeader_ = 0;  // file offset
    std::size_t dataDirectories_ = 0;  // file offset of the data directory array
    std::uint32_t dataDirectoryCount_ = 0;
    std::size_t sectionTable_ = 0;
    unsigned sectionCount_ = 0;
    std::size_t rsrcHeader_ = 0;  // file offset of the ".rsrc" section header
    std::size_t fileHeader_ = 0;
};

// The begin/update/end handle on one executable file.
class ResourceUpdate {
public:
    // Opens the file for reading and writing and parses it (see PeResourceImage::parse).
    static Result<std::unique_ptr<ResourceUpdate>> begin(const std::string& exePath);

    Status update(const ResourceId& type, const ResourceId& name, std::uint16_t language, const void* data,
                  std::size_t size);
    // Unless discarding, rebuilds the section and writes the file atomically;
    // on failure the file is left as it was. The handle is spent either way.
    Status end(bool discard);

    const PeResourceImage& image() const { return image_; }

private:
    ResourceUpdate(std::string path, PeResourceImage image) : path_(std::move(path)), image_(std::move(image)) {}
    std::string path_;
    PeResourceImage image_;
    bool ended_ = false;
};

}  // namespace varn::install

#include "convert/VdiConverter.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <ctime>

#include "convert/PdbWriter.h"
#include "convert/VdiReader.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

bool failWith(Ui& ui, const std::string& text) {
    ui.message({text, kConvertErrorCaption, MsgIcon::Error, MsgButtons::Ok, {}});
    return false;
}

}  // namespace

std::string pdbPathFor(const std::string& input) {
    std::string folder = paths::folderOf(input);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + paths::baseName(input) + ".PDB";
}

std::string pdbNameFor(const std::string& input) {
    std::string name = paths::fileName(input);
    return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

std::string userDecimalSeparator() {
    locale_t loc = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return ".";
    const char* radix = ::nl_langinfo_l(RADIXCHAR, loc);
    std::string sep = (radix && *radix) ? radix : ".";
    ::freelocale(loc);
    return sep;
}

namespace {

// The input file, open for the two passes over it.
class InputFile {
public:
    explicit InputFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~InputFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    bool ok() const { return fd_ >= 0; }
    // The file's lines from its start.
    VdiLines lines() {
        ::lseek(fd_, 0, SEEK_SET);
        return VdiLines(fd_);
    }

private:
    int fd_;
};

}  // namespace

bool convertVdiToPdb(const VdiConversion& c, Ui& ui) {
    const std::string separator = c.decimalSeparator ? *c.decimalSeparator : userDecimalSeparator();
    const std::int64_t now = c.clock ? c.clock() : static_cast<std::int64_t>(std::time(nullptr));

    InputFile input(c.input);
    if (!input.ok() || fsys::isDirectory(c.input)) return failWith(ui, convertmsg::kCannotOpenVdb);

    PdbHeaderInfo info;
    info.name = pdbNameFor(c.input);
    if (info.name.empty()) return failWith(ui, convertmsg::kNameTooShort);
    if (info.name.size() >= kPdbNameBytes) return failWith(ui, convertmsg::kNameTooLong);
    info.creator = c.creator.substr(0, 4);
    info.attributes = static_cast<std::uint16_t>((c.nonBeamable ? kPdbAttrNonBeamable : 0) |
                                                 (c.backup ? kPdbAttrBackup : 0));
    info.date = palmDate(now);

    // First pass: the description, and enough rows for the record count.
    VdiLines check = input.lines();
    Result<VdiTable> table = readVdiDescription(check);
    if (!table && check.failed()) return failWith(ui, convertmsg::kCannotOpenVdb);
    if (!table) return failWith(ui, table.error().message);
    if (!table->dsnMode) {
        const bool enough = countVdiRows(check, table->recordCount) >= table->recordCount;
        if (check.failed()) return failWith(ui, convertmsg::kCannotOpenVdb);
        if (!enough) return failWith(ui, vdimsg::kFewerRows);
    }

    Result<std::string> front = pdbFront(*table, info);
    if (!front) return failWith(ui, front.error().message);
    Result<fsys::AtomicFile> out = fsys::AtomicFile::create(c.output);
    if (!out || !out->write(*front)) return failWith(ui, convertmsg::kCannotOpenPdb);

    // Second pass: each row is encoded and written as it is read.
    if (!table->dsnMode) {
        VdiLines rows = input.lines();
        (void)readVdiDescription(rows);
        std::vector<std::uint32_t> offsets;
        std::uint64_t at = front->size();
        bool writeFailed = false;
        Status read = readVdiRows(rows, *table, separator, [&](const std::string& record) -> Status {
            if (at + record.size() > 0xFFFFFFFFu) return makeError(kPdbTooLarge);
            offsets.push_back(static_cast<std::uint32_t>(at));
            at += record.size();
            Status written = out->write(record);
            writeFailed = !written;
            return written;
        });
        if (rows.failed()) return failWith(ui, convertmsg::kCannotOpenVdb);
        if (!read) return failWith(ui, writeFailed ? std::string(convertmsg::kCannotOpenPdb) : read.error().message);
        if (!out->writeAt(kPdbHeaderBytes, pdbRecordList(offsets))) return failWith(ui, convertmsg::kCannotOpenPdb);
    }
    if (!out->commit()) return failWith(ui, convertmsg::kCannotOpenPdb);
    return true;
}

}  // namespace varn

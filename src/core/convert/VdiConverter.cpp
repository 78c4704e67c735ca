#include "convert/VdiConverter.h"

#include <langinfo.h>
#include <locale.h>

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

bool convertVdiToPdb(const VdiConversion& c, Ui& ui) {
    const std::string separator = c.decimalSeparator ? *c.decimalSeparator : userDecimalSeparator();
    const std::int64_t now = c.clock ? c.clock() : static_cast<std::int64_t>(std::time(nullptr));

    Result<std::string> text = fsys::readFile(c.input);
    if (!text || fsys::isDirectory(c.input)) return failWith(ui, convertmsg::kCannotOpenVdb);

    PdbHeaderInfo info;
    info.name = pdbNameFor(c.input);
    if (info.name.empty()) return failWith(ui, convertmsg::kNameTooShort);
    if (info.name.size() >= kPdbNameBytes) return failWith(ui, convertmsg::kNameTooLong);
    info.creator = c.creator.substr(0, 4);
    info.attributes = static_cast<std::uint16_t>((c.nonBeamable ? kPdbAttrNonBeamable : 0) |
                                                 (c.backup ? kPdbAttrBackup : 0));
    info.date = palmDate(now);

    Result<VdiTable> table = readVdi(*text, separator);
    if (!table) return failWith(ui, table.error().message);
    Result<std::string> pdb = buildPdb(*table, info);
    if (!pdb) return failWith(ui, pdb.error().message);
    if (!fsys::writeFileAtomic(c.output, *pdb)) return failWith(ui, convertmsg::kCannotOpenPdb);
    return true;
}

}  // namespace varn

// Helpers shared by the tests of the stand-in tools: running a tool in a
// folder, reading its log, and reading a PalmOS resource database back both
// with our own strict reader and with Perl's Palm::PDB as an outside peer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace varn::tooltest {

namespace fs = std::filesystem;
using varn::test::ProcessOutput;
using varn::test::readBytes;
using varn::test::runCommand;
using varn::test::shellQuote;
using varn::test::writeBytes;

inline std::string sharePath(const std::string& name) { return std::string(VARN_SHARE_DIR) + "/" + name; }
inline std::string compiler() { return sharePath("varn_c.exe"); }
inline std::string converter() { return sharePath("VARNprc.exe"); }
inline std::string cBuildScript() { return sharePath("C_Build/C_Build.bat"); }

// Runs `program` with already quoted `arguments` in `folder`.
inline ProcessOutput runIn(const std::string& folder, const std::string& program, const std::string& arguments) {
    return runCommand("cd " + shellQuote(folder) + " && " + shellQuote(program) + " " + arguments);
}

// Writes `lines` (CR LF ends) as the option file varn_c.opt of `folder` and
// runs the compiler on it there.
inline ProcessOutput compileIn(const std::string& folder, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    writeBytes(folder + "/varn_c.opt", text);
    return runIn(folder, compiler(), shellQuote(folder + "/varn_c.opt"));
}

// The option lines the IDE writes for the bundled samples' settings on
// `platform`: its form sizes, the samples' definitions, the main source
// between the pass markers; `optimized` for a C build.
inline std::vector<std::string> sampleOptions(const std::string& platform, const std::string& output,
                                              const std::string& main, bool debugger, bool optimized = false) {
    std::vector<std::string> opt = {platform, "-enable_bitmap_segments", "-output=" + output};
    if (platform == "-pilot") {
        opt.insert(opt.end(), {"-screensize_x:160", "-screensize_y:160"});
    } else {
        opt.insert(opt.end(), {platform == "-win32" ? "-screensize_x:320" : "-screensize_x:240", "-screensize_y:320",
                               "-basefont:Arial Narrow"});
    }
    opt.insert(opt.end(), {"-varnsize_x:160", "-varnsize_y:160", "-option:0",
                           std::string("-define:_VARN_C_=") + (optimized ? "1" : "0")});
    if (optimized) opt.push_back("-define:_VARN_DBCREATOR_ID_=\"VARN\"");
    opt.insert(opt.end(), {"-define:string greeting = \"Hello from VARN\"", "-define:numeric count = 3",
                           "-define:IDE__PASS=1", main, "-define:IDE__PASS=2"});
    if (debugger) opt.push_back("-debugger");
    return opt;
}

// The lines of a tool log, CR LF or LF ends removed.
inline std::vector<std::string> logLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string text = fs::exists(path) ? readBytes(path) : std::string();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return lines;
}

// Only the error lines ("File <path>, Line <n>: <message>").
inline std::vector<std::string> errorLines(const std::string& path) {
    std::vector<std::string> errors;
    for (const auto& l : logLines(path))
        if (l.rfind("File ", 0) == 0 && l.find(", Line ") != std::string::npos) errors.push_back(l);
    return errors;
}

inline std::string errorLine(const std::string& file, long line, const std::string& message) {
    return "File " + file + ", Line " + std::to_string(line) + ": " + message;
}

inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& l : lines) all += l + "\n";
    return all;
}

struct PrcResource {
    std::string type;
    unsigned id = 0;
    std::string data;
};

struct Prc {
    std::string name;
    unsigned attributes = 0, version = 0;
    std::uint32_t created = 0, modified = 0;
    std::string type, creator;
    std::vector<PrcResource> resources;
};

inline unsigned be16(const std::string& b, std::size_t at) {
    return (unsigned(static_cast<unsigned char>(b[at])) << 8) | static_cast<unsigned char>(b[at + 1]);
}
inline std::uint32_t be32(const std::string& b, std::size_t at) {
    return (std::uint32_t(be16(b, at)) << 16) | be16(b, at + 2);
}

// Reads a resource database and checks its layout on the way: the 78-byte
// header with zero fields where nothing is stored, the 10-byte entries, the
// two zero bytes, and data offsets that follow each other without gaps up
// to the end of the file.
inline ::testing::AssertionResult readPrc(const std::string& bytes, Prc& prc) {
    if (bytes.size() < 80) return ::testing::AssertionFailure() << "only " << bytes.size() << " bytes";
    std::size_t nul = bytes.find('\0');
    if (nul == std::string::npos || nul >= 32) return ::testing::AssertionFailure() << "name without NUL";
    prc.name = bytes.substr(0, nul);
    for (std::size_t i = nul; i < 32; ++i)
        if (bytes[i] != '\0') return ::testing::AssertionFailure() << "name padding not zero";
    prc.attributes = be16(bytes, 32);
    prc.version = be16(bytes, 34);
    prc.created = be32(bytes, 36);
    prc.modified = be32(bytes, 40);
    for (std::size_t at : {44u, 48u, 52u, 56u, 68u, 72u})
        if (be32(bytes, at) != 0) return ::testing::AssertionFailure() << "header field at " << at << " not zero";
    prc.type = bytes.substr(60, 4);
    prc.creator = bytes.substr(64, 4);
    unsigned count = be16(bytes, 76);
    std::size_t dataStart = 78 + 10 * std::size_t(count) + 2;
    if (bytes.size() < dataStart) return ::testing::AssertionFailure() << "resource list cut short";
    if (bytes[dataStart - 2] != '\0' || bytes[dataStart - 1] != '\0')
        return ::testing::AssertionFailure() << "pad bytes not zero";
    std::size_t expected = dataStart;
    for (unsigned i = 0; i < count; ++i) {
        std::size_t entry = 78 + 10 * std::size_t(i);
        PrcResource r;
        r.type = bytes.substr(entry, 4);
        r.id = be16(bytes, entry + 4);
        std::size_t offset = be32(bytes, entry + 6);
        if (offset != expected)
            return ::testing::AssertionFailure() << "resource " << i << " at " << offset << ", expected " << expected;
        std::size_t end = i + 1 < count ? be32(bytes, entry + 16) : bytes.size();
        if (end < offset || end > bytes.size()) return ::testing::AssertionFailure() << "resource " << i << " overruns";
        r.data = bytes.substr(offset, end - offset);
        expected = end;
        prc.resources.push_back(r);
    }
    if (expected != bytes.size()) return ::testing::AssertionFailure() << "bytes after the last resource";
    return ::testing::AssertionSuccess();
}

inline const PrcResource* findResource(const Prc& prc, const std::string& type, unsigned id) {
    for (const auto& r : prc.resources)
        if (r.type == type && r.id == id) return &r;
    return nullptr;
}

inline bool havePalmPdb() { return runCommand("perl -MPalm::PDB -MPalm::Raw -e 1").status == 0; }

// What Palm::PDB makes of a database: a first line
// "name|type|creator|version|attribute names sorted", then one line
// "type|id|length|hex of the first 16 bytes" per resource.
inline ProcessOutput palmPdbDump(const std::string& path) {
    const std::string script =
        "&Palm::PDB::RegisterPRCHandlers('Palm::Raw', ''); my $p = Palm::PDB->new; $p->Load($ARGV[0]) or die; "
        "print join('|', $p->{name}, $p->{type}, $p->{creator}, $p->{version}, join(',', sort keys "
        "%{$p->{attributes}})), \"\\n\"; "
        "for my $r (@{$p->{resources}}) { print join('|', $r->{type}, $r->{id}, length($r->{data}), "
        "unpack('H*', substr($r->{data}, 0, 16))), \"\\n\"; }";
    return runCommand("perl -MPalm::PDB -MPalm::Raw -e " + shellQuote(script) + " " + shellQuote(path));
}

inline std::string hexPrefix(const std::string& data) {
    static const char* digits = "0123456789abcdef";
    std::string h;
    for (std::size_t i = 0; i < data.size() && i < 16; ++i) {
        unsigned char c = static_cast<unsigned char>(data[i]);
        h += digits[c >> 4];
        h += digits[c & 15];
    }
    return h;
}

}  // namespace varn::tooltest

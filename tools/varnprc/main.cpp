// VARNprc.exe: the stand-in PRC converter.
//
//   VARNprc.exe "<input>" 0x<creator> -n "<name>" -v "<version>" -t "<type>"
//               -b yes|no -bak yes|no [-i "<icon>"] [-gcc]
//
// Run by the IDE in the output folder. The input is the compiled program
// (".vsm", a container starting "VARNOUT 1") or, with -gcc, the code image
// the C build script leaves (".prc", starting "VARNCODE 1"). It writes the
// PalmOS resource database "<input base name>.PRC" and the log "VARNprc.log"
// into its working folder; the log uses the compiler log's line form,
// "File <path>, Line <n>: <message>" for errors, and ends with
// "PRC complete: <n> error(s)". With -gcc the lines of the C build's log
// "C_Build.log" come first, so its "make: ***" lines reach the IDE.
//
// Database layout (all numbers big-endian):
//   0   name, 32 bytes, NUL-padded (at most 31 characters)
//   32  attributes: 0x0001 resource database, 0x0008 backup ("-bak yes"),
//       0x0040 copy prevention ("-b no")
//   34  version: the leading number of -v, 1 when there is none
//   36  creation and 40 modification time (seconds since 1904; the
//       SOURCE_DATE_EPOCH environment variable fixes them), 44 last backup 0
//   48  modification number, 52 app info, 56 sort info: 0
//   60  type (4 characters: "Application" -> appl, "Library" -> libr)
//   64  creator (4 characters from the 8 hexadecimal digits)
//   68  unique id seed 0, 72 next record list 0, 76 resource count
//   78  resource list: type (4), id (2), data offset (4) per resource
//       then two zero bytes, then the resource data in list order.
// Resources: tAIN 1000 the name with a final NUL; tver 1000 the version
// with a final NUL (when -v is not empty); VARN 1 the compiled program, or
// code 1 the code image after its first line for -gcc; vicn 1000 the icon
// file as it stands (with -i).

#include "ToolSupport.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

using namespace varntool;

struct Resource {
    std::string type;
    std::uint16_t id;
    std::string data;
};

struct Arguments {
    std::string input;
    std::string creator;
    std::string name;
    std::string version;
    std::string type = "Application";
    bool beam = true;
    bool backup = false;
    std::string icon;
    bool gcc = false;
};

const char* const programMagic = "VARNOUT 1\n";
const char* const codeMagic = "VARNCODE 1\n";

void put16(std::string& out, unsigned v) {
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v >> 16);
    put16(out, v & 0xFFFF);
}

std::uint32_t palmTime() {
    std::time_t now = std::time(nullptr);
    if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH")) now = static_cast<std::time_t>(std::strtoll(fixed, nullptr, 10));
    // PalmOS counts from 1904-01-01, 2082844800 seconds before 1970.
    return static_cast<std::uint32_t>(static_cast<long long>(now) + 2082844800LL);
}

// "0x" and eight hexadecimal digits, two per printable character.
bool parseCreator(const std::string& arg, std::string& creator, std::string& why) {
    if (arg.size() < 2 || arg[0] != '0' || (arg[1] != 'x' && arg[1] != 'X')) {
        why = "does not begin with 0x";
        return false;
    }
    const std::string hex = arg.substr(2);
    if (hex.size() != 8) {
        why = "needs 8 hexadecimal digits, has " + std::to_string(hex.size());
        return false;
    }
    creator.clear();
    for (std::size_t i = 0; i < 8; i += 2) {
        if (!std::isxdigit(static_cast<unsigned char>(hex[i])) || !std::isxdigit(static_cast<unsigned char>(hex[i + 1]))) {
            why = "holds a character that is not a hexadecimal digit";
            return false;
        }
        int byte = std::stoi(hex.substr(i, 2), nullptr, 16);
        if (byte < 0x20 || byte > 0x7E) {
            why = "holds a character that cannot be printed";
            return false;
        }
        creator += static_cast<char>(byte);
    }
    return true;
}

bool parseType(const std::string& text, std::string& type) {
    if (equalsNoCase(text, "Application")) type = "appl";
    else if (equalsNoCase(text, "Library")) type = "libr";
    else if (text.size() == 4) type = text;
    else return false;
    return true;
}

unsigned headerVersion(const std::string& version) {
    unsigned v = 0;
    std::size_t i = 0;
    for (; i < version.size() && std::isdigit(static_cast<unsigned char>(version[i])) && v < 65536; ++i)
        v = v * 10 + unsigned(version[i] - '0');
    return (i == 0 || v > 65535) ? 1 : v;
}

std::string database(const std::string& name, unsigned attributes, unsigned version, const std::string& type,
                     const std::string& creator, const std::vector<Resource>& resources) {
    std::string out;
    std::string paddedName = name.substr(0, 31);
    paddedName.resize(32, '\0');
    out += paddedName;
    put16(out, attributes);
    put16(out, version);
    const std::uint32_t now = palmTime();
    put32(out, now);  // created
    put32(out, now);  // modified
    put32(out, 0);    // last backup
    put32(out, 0);    // modification number
    put32(out, 0);    // app info
    put32(out, 0);    // sort info
    out += type;
    out += creator;
    put32(out, 0);  // unique id seed
    put32(out, 0);  // next record list
    put16(out, static_cast<unsigned>(resources.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(78 + 10 * resources.size() + 2);
    for (const auto& r : resources) {
        out += r.type;
        put16(out, r.id);
        put32(out, offset);
        offset += static_cast<std::uint32_t>(r.data.size());
    }
    out += std::string(2, '\0');
    for (const auto& r : resources) out += r.data;
    return out;
}

// The input file: the exact path, else a name that differs only in case.
// The C build on a case-sensitive system leaves "<base>.prc" where the IDE
// names "<Base>.PRC", which may also be an earlier result of this tool; the
// first candidate that starts with the expected header is taken.
std::optional<std::string> findInput(const std::string& input, const std::string& magic) {
    fs::path p(nativePath(input));
    if (p.is_relative()) p = fs::current_path() / p;
    std::vector<std::string> candidates;
    if (isFile(p)) candidates.push_back(p.string());
    std::optional<std::string> folder = resolvePath(p.parent_path().string());
    std::error_code ec;
    if (folder) {
        for (fs::directory_iterator it(*folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (equalsNoCase(it->path().filename().string(), p.filename().string()) && isFile(it->path()) &&
                !(isFile(p) && fs::equivalent(it->path(), p, ec)))
                candidates.push_back(it->path().string());
        }
    }
    for (const auto& c : candidates) {
        std::string head;
        if (readFile(c, head) && head.compare(0, magic.size(), magic) == 0) return c;
    }
    if (!candidates.empty()) return candidates.front();
    return std::nullopt;
}

class Converter {
public:
    int run(int argc, char** argv);

private:
    bool parseArguments(int argc, char** argv);
    void fail(const std::string& message) { log_.error(errorPath(), 0, message); }
    std::string errorPath() const { return args_.input.empty() ? std::string("VARNprc.exe") : args_.input; }

    Arguments args_;
    ToolLog log_;
};

bool Converter::parseArguments(int argc, char** argv) {
    if (argc < 3) {
        if (argc == 2) args_.input = argv[1];
        fail("usage: VARNprc.exe \"input\" 0xCREATOR -n \"name\" -v \"version\" -t \"type\" -b yes|no -bak yes|no "
             "[-i \"icon\"] [-gcc]");
        return false;
    }
    args_.input = argv[1];
    args_.creator = argv[2];
    bool named = false;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc) {
                fail("option " + a + " needs a value");
                return false;
            }
            target = argv[++i];
            return true;
        };
        auto yesNo = [&](bool& target) {
            std::string v;
            if (!value(v)) return false;
            if (equalsNoCase(v, "yes")) target = true;
            else if (equalsNoCase(v, "no")) target = false;
            else {
                fail("option " + a + " takes yes or no, not " + v);
                return false;
            }
            return true;
        };
        bool ok = true;
        if (a == "-n") {
            ok = value(args_.name);
            named = true;
        } else if (a == "-v") ok = value(args_.version);
        else if (a == "-t") ok = value(args_.type);
        else if (a == "-b") ok = yesNo(args_.beam);
        else if (a == "-bak") ok = yesNo(args_.backup);
        else if (a == "-i") ok = value(args_.icon);
        else if (a == "-gcc") args_.gcc = true;
        else {
            fail("unknown argument " + a);
            ok = false;
        }
        if (!ok) return false;
    }
    if (!named || trim(args_.name).empty()) {
        fail("the application name (-n) is empty");
        return false;
    }
    return true;
}

int Converter::run(int argc, char** argv) {
    bool ok = parseArguments(argc, argv);
    if (ok && args_.gcc) {
        // The C build's messages come first in this log.
        std::string buildLog;
        if (auto found = resolvePath("C_Build.log"); found && readFile(*found, buildLog))
            for (const auto& line : splitLines(buildLog))
                if (!line.empty()) log_.note(line);
    }
    std::string creator, type, why;
    if (ok && !parseCreator(args_.creator, creator, why)) {
        fail("bad creator ID " + args_.creator + ": it " + why);
        ok = false;
    }
    if (ok && !parseType(args_.type, type)) {
        fail("unknown database type " + args_.type + " (Application, Library or four characters)");
        ok = false;
    }

    const std::string magic = args_.gcc ? codeMagic : programMagic;
    std::optional<std::string> input;
    std::string program;
    if (ok) {
        input = findInput(args_.input, magic);
        if (!input || !readFile(*input, program)) {
            fail(std::string("cannot open the input file") +
                 (args_.gcc ? "; the C build did not leave it" : ""));
            ok = false;
        } else if (program.compare(0, magic.size(), magic) != 0) {
            fail(args_.gcc ? "the input is not a code image of the C build" : "the input is not a compiled VARN program");
            ok = false;
        }
    }
    std::string iconData;
    if (ok && !args_.icon.empty()) {
        auto icon = resolvePath(args_.icon);
        if (!icon || !isFile(*icon) || !readFile(*icon, iconData)) {
            log_.error(args_.icon, 0, "cannot open the icon file");
            ok = false;
        }
    }

    const std::string base = fs::path(nativePath(args_.input)).stem().string();
    const fs::path output = fs::current_path() / (base.empty() ? std::string("VARN.PRC") : base + ".PRC");
    std::error_code ec;
    if (ok) {
        std::vector<Resource> resources;
        resources.push_back({"tAIN", 1000, args_.name.substr(0, 31) + '\0'});
        if (!args_.version.empty()) resources.push_back({"tver", 1000, args_.version + '\0'});
        if (args_.gcc) resources.push_back({"code", 1, program.substr(magic.size())});
        else resources.push_back({"VARN", 1, program});
        if (!args_.icon.empty()) resources.push_back({"vicn", 1000, iconData});
        unsigned attributes = 0x0001;
        if (args_.backup) attributes |= 0x0008;
        if (!args_.beam) attributes |= 0x0040;
        const std::string bytes =
            database(args_.name, attributes, headerVersion(args_.version), type, creator, resources);
        if (!writeFile(output.string(), bytes)) {
            fail("cannot write " + output.string());
            ok = false;
        } else {
            log_.note("Wrote " + output.string() + ": " + std::to_string(resources.size()) + " resources, " +
                      std::to_string(bytes.size()) + " bytes");
            // The result takes the place of the C build's code image, as it
            // does where names are compared without regard to case.
            if (args_.gcc && input && !fs::equivalent(*input, output, ec)) fs::remove(*input, ec);
        }
    } else if (!(input && fs::exists(output, ec) && fs::equivalent(*input, output, ec))) {
        fs::remove(output, ec);
    }
    log_.note("PRC complete: " + std::to_string(log_.errors()) + " error(s)");
    if (!log_.save("VARNprc.log")) {
        std::fprintf(stderr, "VARNprc: cannot write VARNprc.log\n");
        return 2;
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Converter converter;
    return converter.run(argc, argv);
}

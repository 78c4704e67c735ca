// Stand-in for the Windows CE cabinet wizard, installed as CabWiz.exe:
//
//   CabWiz.exe <file.inf> [/err <log>] [/cpu <cpu>...]
//
// Reads the CAB definition file, checks its sections and the files it lists,
// writes its findings to the error log (one "Error: " or "Warning: " line
// each, CR LF; an empty log when all is well) and, for each processor type,
// writes "<inf name>.<cpu>.CAB" beside the .inf: a Microsoft cabinet with
// one uncompressed folder holding the files of the copy sections under their
// destination names. A processor type with an error gets no cabinet; the
// exit status is 1 when any error was found.
#include <sys/stat.h>

#include <cstdio>
#include <map>
#include <set>

#include "CabWriter.h"
#include "ToolSupport.h"

using namespace varntool;

namespace {

struct Line {
    std::string key;                  // empty for a line without "="
    std::vector<std::string> fields;  // the value (or the line) split at commas, unquoted
    std::string text;                 // the line as written
};

struct Section {
    std::string name;
    std::vector<Line> lines;
};

// Splits at commas outside double quotes and removes the quotes.
std::vector<std::string> splitFields(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            out.push_back(trim(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(trim(cur));
    return out;
}

std::string unquote(const std::string& s) {
    std::string t = trim(s);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') return t.substr(1, t.size() - 2);
    return t;
}

class Inf {
public:
    bool read(const std::string& path) {
        std::string bytes;
        if (!readFile(path, bytes)) return false;
        Section* current = nullptr;
        for (const auto& raw : splitLines(bytes)) {
            std::string line = trim(raw);
            if (line.empty() || line[0] == ';') continue;
            if (line.front() == '[') {
                std::size_t close = line.find(']');
                sections_.push_back({trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
                current = &sections_.back();
                continue;
            }
            if (!current) {
                stray_.push_back(line);
                continue;
            }
            Line l;
            l.text = line;
            std::size_t eq = std::string::npos;
            bool quoted = false;
            for (std::size_t i = 0; i < line.size(); ++i) {
                if (line[i] == '"') quoted = !quoted;
                if (line[i] == '=' && !quoted) {
                    eq = i;
                    break;
                }
            }
            if (eq != std::string::npos) {
                l.key = unquote(line.substr(0, eq));
                l.fields = splitFields(line.substr(eq + 1));
            } else {
                l.fields = splitFields(line);
            }
            current->lines.push_back(std::move(l));
        }
        return true;
    }

    const Section* section(const std::string& name) const {
        for (const auto& s : sections_)
            if (equalsNoCase(s.name, name)) return &s;
        return nullptr;
    }

    // The first field of a key in a section, or nothing.
    std::optional<std::string> value(const std::string& sectionName, const std::string& key) const {
        const Section* s = section(sectionName);
        if (!s) return std::nullopt;
        for (const auto& l : s->lines)
            if (!l.key.empty() && equalsNoCase(l.key, key)) return l.fields.empty() ? std::string() : l.fields[0];
        return std::nullopt;
    }

    const std::vector<std::string>& stray() const { return stray_; }

private:
    std::vector<Section> sections_;
    std::vector<std::string> stray_;
};

class Findings {
public:
    void error(const std::string& m) { lines_ += "Error: " + m + "\r\n"; ++errors_; }
    void warning(const std::string& m) { lines_ += "Warning: " + m + "\r\n"; }
    int errors() const { return errors_; }
    const std::string& text() const { return lines_; }

private:
    std::string lines_;
    int errors_ = 0;
};

std::vector<std::string> listOf(const std::string& text) {
    std::vector<std::string> out;
    for (const auto& f : splitFields(text))
        if (!f.empty()) out.push_back(f);
    return out;
}

// The files of one processor type's cabinet, checked against the .inf.
bool collectFiles(const Inf& inf, const std::string& cpu, const std::string& infFolder, Findings& findings,
                  std::vector<cabwiz::CabFile>& files) {
    int errorsBefore = findings.errors();
    std::map<std::string, std::string> diskOfFile;  // lower-case name -> disk id
    if (const Section* s = inf.section("SourceDisksFiles")) {
        for (const auto& l : s->lines) {
            if (l.key.empty() || l.fields.empty()) {
                findings.error("[SourceDisksFiles] line without a disk: " + l.text);
                continue;
            }
            diskOfFile[lower(l.key)] = l.fields[0];
        }
    }
    auto diskPath = [&](const std::string& disk) -> std::optional<std::string> {
        for (const std::string& name : {"SourceDisksNames." + cpu, std::string("SourceDisksNames")}) {
            const Section* s = inf.section(name);
            if (!s) continue;
            for (const auto& l : s->lines)
                if (l.key == disk) return l.fields.size() >= 4 ? l.fields[3] : std::string(".");
        }
        return std::nullopt;
    };

    std::vector<std::string> copySections;
    if (auto copy = inf.value("DefaultInstall", "CopyFiles")) copySections = listOf(*copy);
    std::set<std::string> taken;
    for (const auto& name : copySections) {
        const Section* s = inf.section(name);
        if (!s) {
            findings.error("the copy section [" + name + "] is missing");
            continue;
        }
        for (const auto& l : s->lines) {
            if (!l.key.empty()) {
                findings.error("[" + name + "] line is not a file entry: " + l.text);
                continue;
            }
            std::string target = l.fields[0];
            std::string source = l.fields.size() > 1 && !l.fields[1].empty() ? l.fields[1] : target;
            auto disk = diskOfFile.find(lower(source));
            if (disk == diskOfFile.end()) {
                findings.error("\"" + source + "\" is not listed in [SourceDisksFiles]");
                continue;
            }
            auto folder = diskPath(disk->second);
            if (!folder) {
                findings.error("disk " + disk->second + " of \"" + source + "\" is not named for " + cpu);
                continue;
            }
            auto path = resolvePath(nativePath(*folder) + "/" + source, infFolder);
            std::string bytes;
            if (!path || !isFile(*path) || !readFile(*path, bytes)) {
                findings.error("file not found for " + cpu + ": " + nativePath(*folder) + "/" + source);
                continue;
            }
            if (!taken.insert(lower(target)).second) {
                findings.warning("\"" + target + "\" is listed twice for " + cpu + "; the first is kept");
                continue;
            }
            cabwiz::CabFile f;
            f.name = target;
            f.bytes = std::move(bytes);
            struct stat st;
            if (::stat(path->c_str(), &st) == 0) cabwiz::dosDateTime(st.st_mtime, f.dosDate, f.dosTime);
            files.push_back(std::move(f));
        }
    }
    return findings.errors() == errorsBefore;
}

}  // namespace

int main(int argc, char** argv) {
    std::string infArg, errLog;
    std::vector<std::string> cpus;
    bool inCpus = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (equalsNoCase(a, "/err") || equalsNoCase(a, "-err")) {
            inCpus = false;
            if (i + 1 < argc) errLog = argv[++i];
        } else if (equalsNoCase(a, "/cpu") || equalsNoCase(a, "-cpu")) {
            inCpus = true;
        } else if (inCpus) {
            cpus.push_back(a);
        } else if (infArg.empty()) {
            infArg = a;
        }
    }
    if (infArg.empty()) {
        std::fprintf(stderr, "usage: CabWiz.exe <file.inf> [/err <log>] [/cpu <cpu>...]\n");
        return 2;
    }

    Findings findings;
    Inf inf;
    auto infPath = resolvePath(infArg);
    if (!infPath || !inf.read(*infPath)) {
        findings.error("cannot read " + infArg);
    } else {
        for (const auto& line : inf.stray()) findings.error("text outside any section: " + line);
        for (const char* required : {"Version", "CEStrings", "SourceDisksNames", "SourceDisksFiles", "DefaultInstall",
                                     "DestinationDirs"}) {
            if (!inf.section(required)) findings.error(std::string("the section [") + required + "] is missing");
        }
        if (inf.value("Version", "Signature").value_or("") != "$Windows NT$")
            findings.error("[Version] needs Signature = \"$Windows NT$\"");
        if (inf.value("Version", "CESignature").value_or("") != "$Windows CE$")
            findings.error("[Version] needs CESignature = \"$Windows CE$\"");
        if (!inf.value("Version", "Provider")) findings.warning("[Version] names no Provider");
        if (!inf.value("CEStrings", "AppName")) findings.error("[CEStrings] needs AppName");
        if (!inf.value("CEStrings", "InstallDir")) findings.error("[CEStrings] needs InstallDir");
        if (!inf.value("DefaultInstall", "CopyFiles")) findings.error("[DefaultInstall] needs CopyFiles");
        for (const char* named : {"AddReg", "CEShortcuts"}) {
            if (auto v = inf.value("DefaultInstall", named))
                for (const auto& s : listOf(*v))
                    if (!inf.section(s)) findings.error("the section [" + s + "] named by " + named + " is missing");
        }
        if (cpus.empty()) findings.warning("no /cpu given; one cabinet without a processor type is made");
    }
    const bool headerOk = findings.errors() == 0;

    int written = 0;
    if (headerOk) {
        std::string folder = folderOf(*infPath);
        std::string base = fs::path(*infPath).stem().string();
        std::vector<std::string> targets = cpus.empty() ? std::vector<std::string>{""} : cpus;
        for (const auto& cpu : targets) {
            if (!cpu.empty() && !inf.section("CEDevice." + cpu))
                findings.warning("no [CEDevice." + cpu + "] section");
            std::vector<cabwiz::CabFile> files;
            if (!collectFiles(inf, cpu, folder, findings, files)) continue;
            std::string cab = cabwiz::buildCabinet(files, static_cast<std::uint16_t>(0x5641 + written));
            std::string name = base + (cpu.empty() ? "" : "." + cpu) + ".CAB";
            if (cab.empty() || !writeFile(folder + "/" + name, cab)) {
                findings.error("cannot write " + name);
                continue;
            }
            ++written;
        }
    }
    if (!errLog.empty()) writeFile(errLog, findings.text());
    return findings.errors() == 0 ? 0 : 1;
}

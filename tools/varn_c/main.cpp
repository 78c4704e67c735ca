// varn_c.exe: the stand-in VARN compiler.
//
//   varn_c.exe <option file>
//
// Run by the IDE in the project folder on the option file varn_c.opt. It
// checks the options, the embedded icon and bitmap data lines and the
// listed sources as far as that is possible without the language's grammar,
// and writes into its working folder:
//   varn_c.log   one message per line; problems as "File <path>, Line <n>:
//                <message>"; last line "Compile complete: <n> error(s)"
//   symbols.txt  "name;function;params;description", one per declared function
// and, when no error was found, the output file named by "-output=" (the
// container below) and, for a C build ("-define:_VARN_C_=1"), a C file of
// the same name with the extension ".c" for the C build script.
//
// Output container, version 1. Text lines end in LF; a record that carries
// bytes gives their count on its line and is followed by exactly those
// bytes and one LF.
//   VARNOUT 1
//   target <pilot|win32|ppc> [creator text]
//   option <option line>          every option line except the images, in order
//   image <icon|smallicon|bitmap> <name> <n>
//   <n bytes: the BitmapType records of the data line, without its final 0>
//   file <index> <n> <path>       each distinct source, numbered from 0
//   <n bytes: the file's text>
//   unit <pass> <role> <index>    what each pass compiles, in order; role is
//                                 main, form, menubar, source, include or c
//   function <index> <line> <name(params)>
//   end
// Paths stand last on their line and may hold blanks.

#include "BitmapCheck.h"
#include "SourceCheck.h"
#include "ToolSupport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace varntool;
using varnc::ImageLine;

struct Unit {
    int pass;
    std::string role;
    std::size_t file;
};

struct SourceFile {
    std::string path;
    std::string text;
};

struct Symbol {
    std::string name, params, description;
    std::size_t file;
    long line;
};

bool parseInt(const std::string& s, long& value) {
    if (s.empty() || s.size() > 9) return false;
    std::size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    long v = 0;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
        v = v * 10 + (s[i] - '0');
    }
    value = s[0] == '-' ? -v : v;
    return true;
}

std::string extensionOf(const std::string& path) { return lower(fs::path(nativePath(path)).extension().string()); }

class Compiler {
public:
    int run(int argc, char** argv);

private:
    void readOptions(const std::string& text);
    void option(const std::string& line, long lineNo);
    void fileLine(const std::string& line, long lineNo);
    std::size_t addFile(const std::string& path, const std::string& text);
    void compileSource(std::size_t index, int pass);
    void writeOutputs();
    std::string container() const;
    std::string cTranslation(const std::string& program) const;
    void writeSymbols() const;

    std::string optPath_;
    ToolLog log_;
    std::string target_, creator_;
    std::string output_;
    long outputLine_ = 0;
    long lineCount_ = 0;
    int pass_ = 0;
    bool cBuild_ = false;
    std::string dbCreator_ = "VARN";
    std::vector<std::string> options_;
    std::vector<ImageLine> images_;
    std::set<std::string> imageNames_;
    std::vector<SourceFile> files_;
    std::map<std::string, std::size_t> fileIndex_;
    std::set<std::size_t> checked_;
    std::vector<Unit> units_;
    std::vector<Symbol> symbols_;
    bool haveMain_ = false;
};

void Compiler::option(const std::string& line, long lineNo) {
    auto bad = [&](const std::string& message) { log_.error(optPath_, lineNo, message); };
    std::size_t sep = line.find_first_of(":=");
    const std::string name = line.substr(0, sep);
    const std::string value = sep == std::string::npos ? std::string() : line.substr(sep + 1);
    const char sepChar = sep == std::string::npos ? '\0' : line[sep];

    auto flag = [&](const char* expected) {
        if (line != expected) bad(std::string("option ") + expected + " takes no value");
    };
    auto platform = [&](const std::string& which) {
        if (!target_.empty()) bad("a second target platform option " + line + " (already " + target_ + ")");
        else target_ = which;
    };
    auto number = [&](long min, long max) {
        long v = 0;
        if (sepChar != ':' || !parseInt(value, v) || v < min || v > max)
            bad("option " + name + " needs a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    };

    if (name == "-pilot") {
        flag("-pilot");
        platform("pilot");
    } else if (name == "-win32") {
        flag("-win32");
        platform("win32");
    } else if (name == "-ppc") {
        if (sepChar != ':' || value.empty()) bad("option -ppc: needs the creator text");
        creator_ = value;
        platform("ppc");
    } else if (name == "-force_color" || name == "-enable_bitmap_segments" || name == "-debugger") {
        flag(name.c_str());
    } else if (name == "-output") {
        if (sepChar != '=' || value.empty()) bad("option -output= needs a file path");
        else if (!output_.empty()) bad("a second -output= option");
        else {
            output_ = value;
            outputLine_ = lineNo;
        }
    } else if (name == "-screensize_x" || name == "-screensize_y" || name == "-varnsize_x" || name == "-varnsize_y") {
        number(1, 10000);
    } else if (name == "-option") {
        number(0, 1);
    } else if (name == "-basefont" || name == "-splash") {
        if (sepChar != ':' || trim(value).empty()) bad("option " + name + ": needs a name");
    } else if (name == "-define") {
        std::size_t eq = value.find('=');
        std::string defName = eq == std::string::npos ? std::string() : trim(value.substr(0, eq));
        std::string defValue = eq == std::string::npos ? std::string() : trim(value.substr(eq + 1));
        // "string greeting = ..." names greeting.
        std::size_t blank = defName.find_last_of(" \t");
        if (blank != std::string::npos) defName = defName.substr(blank + 1);
        if (sepChar != ':' || defName.empty()) {
            bad("option -define: needs name=value");
        } else if (defName == "IDE__PASS") {
            if (defValue == "1" && pass_ == 0) pass_ = 1;
            else if (defValue == "2" && pass_ == 1) pass_ = 2;
            else bad("unexpected pass marker IDE__PASS=" + defValue);
        } else if (defName == "_VARN_C_") {
            if (defValue != "0" && defValue != "1") bad("_VARN_C_ must be 0 or 1");
            cBuild_ = defValue == "1";
        } else if (defName == "_VARN_DBCREATOR_ID_") {
            if (defValue.size() < 2 || defValue.front() != '"' || defValue.back() != '"' || defValue.size() > 6)
                bad("_VARN_DBCREATOR_ID_ must be up to four characters in double quotes");
            else
                dbCreator_ = defValue.substr(1, defValue.size() - 2);
        } else if (std::count(defValue.begin(), defValue.end(), '"') % 2 != 0) {
            bad("unterminated string in the definition of " + defName);
        }
    } else if (name == "-icon" || name == "-smallicon" || name == "-bitmap") {
        ImageLine image;
        std::string problem = sepChar == ':' ? varnc::parseImageLine(name.substr(1), value, image)
                                             : std::string("needs a name and a data line");
        if (!problem.empty()) {
            bad(name.substr(1) + " " + problem);
        } else if (!imageNames_.insert(lower(name + ":" + image.name)).second) {
            bad(name.substr(1) + " " + image.name + " is listed twice");
        } else {
            images_.push_back(std::move(image));
        }
        return;  // images are kept apart from the option list
    } else {
        bad("unknown option " + name);
    }
    options_.push_back(line);
}

std::size_t Compiler::addFile(const std::string& path, const std::string& text) {
    auto [it, added] = fileIndex_.emplace(path, files_.size());
    if (added) files_.push_back({path, text});
    return it->second;
}

void Compiler::fileLine(const std::string& line, long lineNo) {
    const std::string ext = extensionOf(line);
    std::string role = ext == ".vsl" ? "main" : ext == ".vff" ? "form" : ext == ".ini" ? "menubar" : ext == ".c" ? "c" : "source";
    if (pass_ == 0) {
        log_.error(optPath_, lineNo, "source " + line + " listed before -define:IDE__PASS=1");
        return;
    }
    if (role == "main" && pass_ != 1) log_.error(optPath_, lineNo, "main source " + line + " listed in pass 2");
    if (role == "c" && pass_ != 2) log_.error(optPath_, lineNo, "C file " + line + " listed in pass 1");
    std::optional<std::string> found = resolvePath(line);
    std::string text;
    if (!found || !isFile(*found) || !readFile(*found, text)) {
        log_.error(optPath_, lineNo, "cannot open " + line);
        return;
    }
    if (role == "main") haveMain_ = true;
    std::size_t index = addFile(*found, text);
    units_.push_back({pass_, role, index});
    if (role != "c") compileSource(index, pass_);
}

// Checks one VARN source (once, however often it is listed) and follows its
// include lines, each relative to the including file's folder, else to the
// project folder.
void Compiler::compileSource(std::size_t index, int pass) {
    if (!checked_.insert(index).second) return;
    const std::string path = files_[index].path;
    log_.note("Compiling " + path);
    varnc::SourceReport report = varnc::checkSource(files_[index].text);
    for (const auto& p : report.problems) log_.error(path, p.line, p.message);
    for (const auto& f : report.functions) symbols_.push_back({f.name, f.params, f.description, index, f.line});
    for (const auto& inc : report.includes) {
        std::optional<std::string> found = resolvePath(inc.name, folderOf(path));
        if (!found || !isFile(*found)) found = resolvePath(inc.name);
        std::string text;
        if (!found || !isFile(*found) || !readFile(*found, text)) {
            log_.error(path, inc.line, "cannot open include file \"" + inc.name + "\"");
            continue;
        }
        std::size_t included = addFile(*found, text);
        if (checked_.count(included)) continue;
        units_.push_back({pass, "include", included});
        compileSource(included, pass);
    }
}

void Compiler::readOptions(const std::string& text) {
    const std::vector<std::string> lines = splitLines(text);
    lineCount_ = static_cast<long>(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const long lineNo = static_cast<long>(i) + 1;
        const std::string line = trim(lines[i]);
        if (line.empty()) continue;
        if (line[0] == '-') option(line, lineNo);
        else fileLine(line, lineNo);
    }
    const long last = lineCount_ > 0 ? lineCount_ : 1;
    if (target_.empty()) log_.error(optPath_, 1, "no target platform option (-pilot, -win32 or -ppc:)");
    if (output_.empty()) log_.error(optPath_, last, "no -output= option");
    if (!haveMain_) log_.error(optPath_, last, "no main source (.vsl) listed");
    if (pass_ != 2) log_.error(optPath_, last, "the pass markers IDE__PASS=1 and IDE__PASS=2 are missing");
    if (!output_.empty() && !target_.empty()) {
        const std::string want = target_ == "win32" ? ".vsp" : target_ == "ppc" ? ".vce" : ".vsm";
        if (extensionOf(output_) != want)
            log_.error(optPath_, outputLine_, "the output file of a " + target_ + " build must end in " + want);
    }
}

std::string Compiler::container() const {
    std::string out = "VARNOUT 1\n";
    out += "target " + target_ + (creator_.empty() ? "" : " " + creator_) + "\n";
    for (const auto& o : options_) out += "option " + o + "\n";
    for (const auto& img : images_) {
        out += "image " + img.kind + " " + img.name + " " + std::to_string(img.bytes.size()) + "\n";
        out.append(img.bytes.begin(), img.bytes.end());
        out += "\n";
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        out += "file " + std::to_string(i) + " " + std::to_string(files_[i].text.size()) + " " + files_[i].path + "\n";
        out += files_[i].text + "\n";
    }
    for (const auto& u : units_)
        out += "unit " + std::to_string(u.pass) + " " + u.role + " " + std::to_string(u.file) + "\n";
    for (const auto& s : symbols_)
        out += "function " + std::to_string(s.file) + " " + std::to_string(s.line) + " " + s.params + "\n";
    out += "end\n";
    return out;
}

// The C translation handed to the C build: the program as a byte array,
// the database creator and the project's C files, named for the build.
std::string Compiler::cTranslation(const std::string& program) const {
    std::string c = "/* Written by the VARN compiler for the C build; do not edit. */\n";
    c += "/* VARN_C_BUILD 1 */\n";
    c += "#define VARN_DBCREATOR_ID \"" + dbCreator_ + "\"\n";
    for (const auto& u : units_)
        if (u.role == "c") c += "/* C file: " + files_[u.file].path + " */\n";
    c += "const unsigned long varn_program_size = " + std::to_string(program.size()) + "UL;\n";
    c += "const unsigned char varn_program[] = {";
    char buf[8];
    for (std::size_t i = 0; i < program.size(); ++i) {
        if (i % 16 == 0) c += "\n ";
        std::snprintf(buf, sizeof buf, " 0x%02x,", static_cast<unsigned char>(program[i]));
        c += buf;
    }
    c += "\n  0x00\n};\n";
    return c;
}

void Compiler::writeSymbols() const {
    std::string text;
    std::set<std::string> seen;
    for (const auto& s : symbols_) {
        if (!seen.insert(lower(s.name)).second) continue;
        std::string description = s.description.empty()
                                      ? "Declared in " + fs::path(files_[s.file].path).filename().string() + ", line " +
                                            std::to_string(s.line) + "."
                                      : s.description;
        text += s.name + ";function;" + s.params + ";" + description + "\r\n";
    }
    if (!writeFile("symbols.txt", text)) std::fprintf(stderr, "varn_c: cannot write symbols.txt\n");
}

void Compiler::writeOutputs() {
    // The output folder may exist under another case; the file keeps its name.
    std::string outPath = nativePath(output_);
    if (fs::path parent = fs::path(outPath).parent_path(); !parent.empty() && !fs::exists(parent))
        if (std::optional<std::string> found = resolvePath(parent.string()))
            outPath = (fs::path(*found) / fs::path(outPath).filename()).string();
    std::error_code ec;
    fs::path cPath = fs::path(outPath).replace_extension(".c");
    if (log_.errors() > 0) {
        fs::remove(outPath, ec);
        if (cBuild_) fs::remove(cPath, ec);
        return;
    }
    fs::path parent = fs::path(outPath).parent_path();
    if (!parent.empty()) fs::create_directories(parent, ec);
    const std::string program = container();
    if (!writeFile(outPath, program)) {
        log_.error(optPath_, outputLine_, "cannot write the output file " + outPath);
        return;
    }
    log_.note("Output written to " + outPath);
    if (cBuild_) {
        if (!writeFile(cPath.string(), cTranslation(program)))
            log_.error(optPath_, outputLine_, "cannot write the C file " + cPath.string());
        else
            log_.note("C translation written to " + cPath.string());
    }
}

int Compiler::run(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        optPath_ = "varn_c.opt";
        log_.error(optPath_, 0, "usage: varn_c.exe <option file>");
    } else {
        optPath_ = argv[1];
        std::string text;
        std::optional<std::string> found = resolvePath(optPath_);
        if (!found || !isFile(*found) || !readFile(*found, text)) {
            log_.error(optPath_, 0, "cannot open the option file");
        } else {
            readOptions(text);
            writeOutputs();
            writeSymbols();
        }
    }
    log_.note("Compile complete: " + std::to_string(log_.errors()) + " error(s)");
    if (!log_.save("varn_c.log")) {
        std::fprintf(stderr, "varn_c: cannot write varn_c.log\n");
        return 2;
    }
    return log_.errors() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Compiler compiler;
    return compiler.run(argc, argv);
}

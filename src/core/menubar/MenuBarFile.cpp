#include "menubar/MenuBarFile.h"

#include <cctype>

namespace varn {

namespace {

constexpr const char* kEol = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trim(std::string_view s) {
    s = trimLeft(s);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && lowered(s.substr(0, prefix.size())) == lowered(prefix);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && lowered(a) == lowered(b);
}

// ------------------------------------------------------------------ writer

class Writer {
public:
    void line(std::string_view text) {
        out_ += text;
        out_ += kEol;
    }

    void banner(const std::string& name, const char* title) {
        line("");
        line("#");
        line("# " + name);
        line("#");
        line(std::string("# ") + title);
        line("#");
    }

    void display(bool isExpression, const std::string& text) {
        std::string_view shown = trim(text);
        if (shown.empty()) return;
        if (isExpression)
            line("  display " + std::string(shown) + "; #Expr#");
        else
            line("  display \"" + std::string(shown) + "\";");
    }

    void invokes(const std::string& text) {
        std::string_view shown = trim(text);
        if (!shown.empty()) line("  invokes " + std::string(shown) + ";");
    }

    void pass(const MenuBarList& bars, bool definitions) {
        for (const CMenuBar& bar : bars) {
            banner(bar.name, definitions ? "MenuBar Definition" : "MenuBar Forward Reference");
            line("menu_bar " + bar.name + ";");
            line("end;");
            for (const CMenuTop& top : bar.tops) {
                banner(top.name, definitions ? "MenuTop Definition" : "MenuTop Forward Reference");
                line("menu_top " + top.name + "," + bar.name + ";");
                if (definitions) display(top.displayIsExpression, top.display);
                line("end;");
                for (const CMenuItem& item : top.items) {
                    banner(item.name, definitions ? "MenuItem Definition" : "MenuItem Forward Reference");
                    line("menu_item " + item.name + "," + top.name + ";");
                    if (definitions) {
                        display(item.displayIsExpression, item.display);
                        invokes(item.invokes);
                    }
                    line("end;");
                }
            }
        }
    }

    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

// ------------------------------------------------------------------ reader

enum class Read { Object, None, Failed };

class Parser {
public:
    explicit Parser(std::string_view bytes) : in_(bytes) {}

    MenuBarReadResult run() {
        MenuBarReadResult result;
        if (!skipToDefinitions()) return result;
        for (;;) {
            std::size_t start = 0;
            std::string line;
            if (!nextObjectLine(line, start)) break;
            in_.seek(start);
            CMenuBar bar;
            if (readBar(bar) != Read::Object) {
                result.complete = false;
                break;
            }
            result.bars.push_back(std::move(bar));
        }
        return result;
    }

private:
    bool skipToDefinitions() {
        std::string line;
        while (in_.next(line))
            if (startsWithNoCase(trimLeft(line), "COMPILE_IF IDE__PASS=2;")) return true;
        return false;
    }

    static bool ignorable(std::string_view line) {
        std::string_view t = trim(line);
        return t.empty() || t.front() == '#' || startsWithNoCase(t, "COMPILE_IF") ||
               equalsNoCase(t, "COMPILE_END_IF;") || equalsNoCase(t, "COMPILE_ELSE;");
    }

    // The next line that is not ignorable, and where it starts.
    bool nextObjectLine(std::string& line, std::size_t& start) {
        for (;;) {
            start = in_.position();
            if (!in_.next(line)) return false;
            if (!ignorable(line)) return true;
        }
    }

    // An object header "keyword name,parent;" ("keyword name;" for a bar):
    // the name, lower-cased. Leaves the reader at the line's start when the
    // line is not such a header.
    bool header(std::string_view keyword, const std::string& parent, std::string& name) {
        std::string line;
        std::size_t start = 0;
        if (!nextObjectLine(line, start)) return false;
        std::string low = lowered(trim(line));
        std::string end = lowered(parent) + ";";
        if (low.compare(0, keyword.size(), keyword) != 0 || low.size() < end.size() ||
            low.compare(low.size() - end.size(), end.size(), end) != 0) {
            in_.seek(start);
            return false;
        }
        std::string_view rest;
        if (keyword.size() + 1 < low.size()) rest = std::string_view(low).substr(keyword.size() + 1);
        std::size_t cut = rest.find(',');
        if (cut == std::string_view::npos) cut = rest.find(';');
        name = std::string(trim(rest.substr(0, cut)));
        return true;
    }

    bool bodyLine(std::string& line) {
        if (!in_.next(line)) return false;
        line = std::string(trim(line));
        return true;
    }

    static bool isEnd(const std::string& line) { return equalsNoCase(line, "end;"); }

    // A display line: false when the line is one but of no known form.
    static bool display(const std::string& line, bool& isExpression, std::string& text) {
        std::string_view rest = trim(std::string_view(line).substr(7));
        static constexpr std::string_view kExpr = "; #Expr#";
        std::size_t at = rest.find(kExpr);
        if (at != std::string_view::npos) {
            isExpression = true;
            text = std::string(trim(rest.substr(0, at)));
            return true;
        }
        if (rest.size() < 3 || rest.front() != '"' || rest.substr(rest.size() - 2) != "\";") return false;
        isExpression = false;
        text = std::string(rest.substr(1, rest.size() - 3));
        return true;
    }

    Read readBar(CMenuBar& bar) {
        if (!header("menu_bar", {}, bar.name)) return Read::Failed;
        std::string line;
        if (!bodyLine(line) || !isEnd(line)) return Read::Failed;
        for (;;) {
            CMenuTop top;
            Read r = readTop(bar.name, top);
            if (r == Read::Failed) return Read::Failed;
            if (r == Read::None) return Read::Object;
            bar.tops.push_back(std::move(top));
        }
    }

    Read readTop(const std::string& barName, CMenuTop& top) {
        if (!header("menu_top", barName, top.name)) return Read::None;
        std::string line;
        if (!bodyLine(line)) return Read::Failed;
        if (startsWithNoCase(line, "display")) {
            if (!display(line, top.displayIsExpression, top.display) || !bodyLine(line)) return Read::Failed;
        }
        if (!isEnd(line)) return Read::Failed;
        for (;;) {
            CMenuItem item;
            Read r = readItem(top.name, item);
            if (r == Read::Failed) return Read::Failed;
            if (r == Read::None) return Read::Object;
            top.items.push_back(std::move(item));
        }
    }

    Read readItem(const std::string& topName, CMenuItem& item) {
        if (!header("menu_item", topName, item.name)) return Read::None;
        std::string line;
        if (!bodyLine(line)) return Read::Failed;
        if (startsWithNoCase(line, "display")) {
            if (!display(line, item.displayIsExpression, item.display) || !bodyLine(line)) return Read::Failed;
        }
        if (startsWithNoCase(line, "invokes")) {
            std::string_view rest = std::string_view(line).substr(7);
            item.invokes = std::string(trim(rest.substr(0, rest.find(';'))));
            if (!bodyLine(line)) return Read::Failed;
        }
        return isEnd(line) ? Read::Object : Read::Failed;
    }

    MenuBarLineReader in_;
};

}  // namespace

bool MenuBarLineReader::next(std::string& line) {
    line.clear();
    if (pos_ >= bytes_.size()) return false;
    bool ended = false;  // a NUL ended the text; the rest of the line is dropped
    while (pos_ < bytes_.size()) {
        char c = bytes_[pos_++];
        if (c == '\n') break;
        if (c == '\r' || ended) continue;
        if (c == '\0') {
            ended = true;
            continue;
        }
        if (line.size() < kMaxLine) line += c;
    }
    return true;
}

std::string writeMenuBarFile(const MenuBarList& bars, const std::string& fileName, std::time_t when) {
    std::tm tm{};
    localtime_r(&when, &tm);
    char date[128] = "";
    char time[128] = "";
    std::strftime(date, sizeof date, "%x", &tm);
    std::strftime(time, sizeof time, "%X", &tm);
    return writeMenuBarFile(bars, fileName, date, time);
}

std::string writeMenuBarFile(const MenuBarList& bars, const std::string& fileName, const std::string& date,
                             const std::string& time) {
    Writer w;
    w.line("#");
    w.line("# VARN MenuBar Form File");
    w.line("#");
    w.line("# MenuBar Form: " + fileName);
    w.line("#");
    w.line("# Date: " + date);
    w.line("# Time: " + time);
    w.line("#");
    w.line("# Please do not edit this file");
    w.line("#");
    w.line("");
    w.line("#");
    w.line("# MenuBar forward references");
    w.line("#");
    w.line("COMPILE_IF IDE__PASS=1;");
    w.pass(bars, false);
    w.line("");
    w.line("COMPILE_END_IF;");
    w.line("");
    w.line("#");
    w.line("# MenuBar Definitions");
    w.line("#");
    w.line("COMPILE_IF IDE__PASS=2;");
    w.pass(bars, true);
    w.line("");
    w.line("COMPILE_END_IF;");
    return w.take();
}

MenuBarReadResult readMenuBarFile(std::string_view bytes) { return Parser(bytes).run(); }

}  // namespace varn

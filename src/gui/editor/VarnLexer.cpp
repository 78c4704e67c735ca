#include "editor/VarnLexer.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cctype>

namespace varn {

namespace {

QColor colourOf(const Rgb& c) { return QColor(c.r, c.g, c.b); }

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The line state keeps the open block comment (low two bits) and the fold
// depth after the line (the rest).
constexpr int kCommentBits = 3;
int depthOf(int state) { return state >> 2; }
int commentOf(int state) { return state & kCommentBits; }

}  // namespace

VarnLexer::VarnLexer(QObject* parent) : QsciLexerCustom(parent) {
    section_ = EditorSection{};
    wordChars_ = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
}

bool VarnLexer::configure(const EditorSection& section, const std::vector<std::string>& keywords) {
    // Colours and "Chroma" only change how the styles look; comment texts,
    // case, word characters and keywords change which text gets which style.
    const bool restyle = !configured_ || section.caseSensitive != section_.caseSensitive ||
                         section.commentStart1 != section_.commentStart1 || section.commentEnd1 != section_.commentEnd1 ||
                         section.commentStart2 != section_.commentStart2 || section.commentEnd2 != section_.commentEnd2 ||
                         section.extraWordChars != section_.extraWordChars || keywords != keywordList_;
    configured_ = true;
    section_ = section;
    if (restyle) {
        keywordList_ = keywords;
        keywords_.clear();
        for (const std::string& k : keywords) keywords_.insert(section_.caseSensitive ? k : lower(k));
        wordChars_ = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_" + section_.extraWordChars;
    }
    for (int s = 0; s < StyleCount; ++s) {
        setColor(defaultColor(s), s);
        setPaper(defaultPaper(s), s);
    }
    setDefaultPaper(colourOf(section_.background));
    setDefaultColor(colourOf(section_.defaultText));
    return restyle;
}

void VarnLexer::setBaseFont(const QFont& font) {
    font_ = font;
    setDefaultFont(font);
    for (int s = 0; s < StyleCount; ++s) setFont(font, s);
}

QString VarnLexer::description(int style) const {
    switch (style) {
    case Default: return QStringLiteral("Default Text");
    case Comment: return QStringLiteral("Comment");
    case Keyword: return QStringLiteral("Keyword");
    case Quote: return QStringLiteral("Quote");
    case SQuote: return QStringLiteral("SQuote");
    default: return {};
    }
}

QColor VarnLexer::defaultColor(int style) const {
    if (!section_.chroma) return colourOf(section_.defaultText);
    switch (style) {
    case Comment: return colourOf(section_.comment);
    case Keyword: return colourOf(section_.keyword);
    case Quote: return colourOf(section_.quote);
    case SQuote: return colourOf(section_.squote);
    default: return colourOf(section_.defaultText);
    }
}

QColor VarnLexer::defaultPaper(int) const { return colourOf(section_.background); }

QFont VarnLexer::defaultFont(int) const { return font_; }

bool VarnLexer::isKeyword(const std::string& word) const {
    if (keywords_.empty()) return false;
    return keywords_.count(section_.caseSensitive ? word : lower(word)) != 0;
}

bool VarnLexer::startsWith(const std::string& text, std::size_t pos, const std::string& what) const {
    if (what.empty() || pos + what.size() > text.size()) return false;
    if (section_.caseSensitive) return text.compare(pos, what.size(), what) == 0;
    for (std::size_t i = 0; i < what.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[pos + i])) != std::tolower(static_cast<unsigned char>(what[i])))
            return false;
    return true;
}

void VarnLexer::styleText(int start, int end) {
    QsciScintilla* e = editor();
    if (!e) return;
    const int firstLine = static_cast<int>(e->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, start));
    const int lastLine = static_cast<int>(e->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, std::max(start, end - 1)));
    styleLines(firstLine, lastLine);
}

void VarnLexer::styleLines(int firstLine, int lastLine) {
    QsciScintilla* e = editor();
    int state = firstLine > 0 ? static_cast<int>(e->SendScintilla(QsciScintilla::SCI_GETLINESTATE, firstLine - 1)) : 0;
    const long lineStart = e->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, firstLine);
    startStyling(static_cast<int>(lineStart));
    std::string text;
    for (int line = firstLine; line <= lastLine; ++line) {
        // The line's bytes with its line end, read into the one reused buffer.
        const long length = e->SendScintilla(QsciScintilla::SCI_LINELENGTH, static_cast<unsigned long>(line));
        text.resize(static_cast<std::size_t>(std::max(0L, length)) + 1);
        e->SendScintilla(QsciScintilla::SCI_GETLINE, static_cast<unsigned long>(line), text.data());
        text.resize(static_cast<std::size_t>(std::max(0L, length)));
        const int depthBefore = depthOf(state);
        const int comment = styleLine(text, commentOf(state));
        // Folding: a "function" line opens a block, an "end;" line closes it;
        // braces outside comments count for C.
        std::size_t first = text.find_first_not_of(" \t");
        int depth = depthBefore;
        bool header = false;
        if (first != std::string::npos) {
            const std::string head = lower(text.substr(first, 9));
            if (head.rfind("function", 0) == 0 && (head.size() == 8 || !std::isalnum(static_cast<unsigned char>(head[8])))) {
                ++depth;
                header = true;
            } else if (head.rfind("end;", 0) == 0 && depth > 0) {
                --depth;
            }
        }
        const int opens = static_cast<int>(std::count(text.begin(), text.end(), '{'));
        const int closes = static_cast<int>(std::count(text.begin(), text.end(), '}'));
        if (commentOf(state) == 0 && comment == 0 && section_.commentStart1 == "/*") {
            depth = std::max(0, depth + opens - closes);
            header = header || opens > closes;
        }
        int level = (QsciScintilla::SC_FOLDLEVELBASE + depthBefore);
        if (header) level |= QsciScintilla::SC_FOLDLEVELHEADERFLAG;
        if (first == std::string::npos) level |= QsciScintilla::SC_FOLDLEVELWHITEFLAG;
        e->SendScintilla(QsciScintilla::SCI_SETFOLDLEVEL, static_cast<unsigned long>(line), static_cast<long>(level));
        state = (std::min(depth, 0xFFFF) << 2) | comment;
        e->SendScintilla(QsciScintilla::SCI_SETLINESTATE, static_cast<unsigned long>(line), static_cast<long>(state));
    }
}

// Styles one line's bytes; returns the block comment still open at its end.
int VarnLexer::styleLine(const std::string& text, int state) {
    // Styles are set with colouring off too; its colours then all read as default text.
    const std::size_t n = text.size();
    std::size_t i = 0;
    auto put = [this](std::size_t count, int style) {
        if (count) setStyling(static_cast<int>(count), style);
    };
    const std::string* ends[3] = {nullptr, &section_.commentEnd1, &section_.commentEnd2};
    while (i < n) {
        if (state != 0) {
            const std::string& endText = *ends[state];
            std::size_t j = i;
            while (j < n && !startsWith(text, j, endText)) ++j;
            if (j < n) {
                put(j + endText.size() - i, Comment);
                i = j + endText.size();
                state = 0;
                continue;
            }
            put(n - i, Comment);
            return state;
        }
        const char c = text[i];
        int opened = 0;
        if (startsWith(text, i, section_.commentStart1)) opened = 1;
        else if (startsWith(text, i, section_.commentStart2)) opened = 2;
        if (opened) {
            const std::string& startText = opened == 1 ? section_.commentStart1 : section_.commentStart2;
            if (ends[opened]->empty()) {
                // Runs to the end of the line (the line end keeps the default style).
                std::size_t stop = text.find_first_of("\r\n", i);
                if (stop == std::string::npos) stop = n;
                put(stop - i, Comment);
                put(n - stop, Default);
                return 0;
            }
            put(startText.size(), Comment);
            i += startText.size();
            state = opened;
            continue;
        }
        if (c == '"' || c == '\'') {
            std::size_t j = i + 1;
            while (j < n && text[j] != c && text[j] != '\r' && text[j] != '\n') ++j;
            if (j < n && text[j] == c) ++j;
            put(j - i, c == '"' ? Quote : SQuote);
            i = j;
            continue;
        }
        if (wordChars_.find(c) != std::string::npos && c != '\0') {
            std::size_t j = i;
            while (j < n && text[j] != '\0' && wordChars_.find(text[j]) != std::string::npos) ++j;
            put(j - i, isKeyword(text.substr(i, j - i)) ? Keyword : Default);
            i = j;
            continue;
        }
        std::size_t j = i + 1;
        while (j < n && text[j] != '"' && text[j] != '\'' && (text[j] == '\0' || wordChars_.find(text[j]) == std::string::npos) &&
               !startsWith(text, j, section_.commentStart1) && !startsWith(text, j, section_.commentStart2))
            ++j;
        put(j - i, Default);
        i = j;
    }
    return state;
}

}  // namespace varn

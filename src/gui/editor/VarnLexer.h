// The colouring of source views: comments, quoted texts and keywords of one
// editor section (VARN sources, C build files or other text), with folding of
// "function ... end;" blocks and C braces. Styles only what the view shows.
#pragma once

#include <Qsci/qscilexercustom.h>

#include <QColor>
#include <QFont>

#include <string>
#include <unordered_set>
#include <vector>

#include "editor/ColouringSettings.h"

namespace varn {

class VarnLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    enum Style { Default = 0, Comment = 1, Keyword = 2, Quote = 3, SQuote = 4, StyleCount };

    explicit VarnLexer(QObject* parent = nullptr);

    // Takes the section's settings and keyword list. True when the text must
    // be styled again; a change of colours only recolours the styles.
    bool configure(const EditorSection& section, const std::vector<std::string>& keywords);
    void setBaseFont(const QFont& font);
    const EditorSection& section() const { return section_; }

    const char* language() const override { return "VARN"; }
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QColor defaultPaper(int style) const override;
    QFont defaultFont(int style) const override;
    const char* wordCharacters() const override { return wordChars_.c_str(); }
    bool caseSensitive() const override { return section_.caseSensitive; }
    void styleText(int start, int end) override;

    // True when `word` is a keyword under the section's case rule.
    bool isKeyword(const std::string& word) const;

private:
    // Styles whole lines; each line's state carries the open block comment
    // (0 none, 1 or 2) and the fold depth into the next.
    void styleLines(int firstLine, int lastLine);
    int styleLine(const std::string& text, int state);
    bool startsWith(const std::string& text, std::size_t pos, const std::string& what) const;

    EditorSection section_;
    std::unordered_set<std::string> keywords_;
    std::vector<std::string> keywordList_;
    bool configured_ = false;
    std::string wordChars_;
    QFont font_;
};

}  // namespace varn

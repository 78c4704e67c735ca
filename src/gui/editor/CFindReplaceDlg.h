// The source views' Find and Replace dialog: modeless, it searches the active
// view from the caret with the engine's own search (case, whole word, regular
// expression, direction) and replaces one match or all of them.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varn {

class CVarnIdeView;

class CFindReplaceDlg : public QDialog {
    Q_OBJECT
public:
    // `activeView` gives the view to search (null when no source view is active).
    CFindReplaceDlg(std::function<CVarnIdeView*()> activeView, QWidget* parent = nullptr);

    // Shows the dialog for finding (replace fields hidden) or replacing, with
    // the word at the caret or the selection as the text to find.
    void showFor(bool replace);
    // Finds the next match; false (and a note in the dialog) when none.
    bool findNext();
    bool replaceOne();
    // Replaces every match in the view in one undo step; returns the count.
    int replaceAll();

    QLineEdit* findField() const { return find_; }
    QLineEdit* replaceField() const { return replace_; }
    QCheckBox* matchCase() const { return case_; }
    QCheckBox* wholeWord() const { return word_; }
    QCheckBox* regularExpression() const { return regex_; }

private:
    bool search(CVarnIdeView& v, bool fromSelectionStart);

    std::function<CVarnIdeView*()> activeView_;
    QLineEdit* find_;
    QLineEdit* replace_;
    QLabel* replaceLabel_;
    QCheckBox* case_;
    QCheckBox* word_;
    QCheckBox* regex_;
    QCheckBox* up_;
    QPushButton* replaceButton_;
    QPushButton* replaceAllButton_;
    QLabel* note_;
};

}  // namespace varn

// The "Selection List" dialog: the items of a dropdown's or selector's list
// in the in-place list editor, with their Count and the list's declared
// Size, kept in step by core's SelectionList.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "form/SelectionList.h"

class QLabel;
class QSpinBox;

namespace varn {

class CVARNfbListBoxEditor;
class Ui;

class CSelectionListDlg : public QDialog {
    Q_OBJECT
public:
    // `title` is the caller's, such as "Dropdown List".
    CSelectionListDlg(const std::string& title, std::vector<std::string> items, int size, Ui& ui,
                      QWidget* parent = nullptr);

    const SelectionList& model() const { return model_; }
    CVARNfbListBoxEditor* editor() const { return editor_; }
    QSpinBox* sizeBox() const { return size_; }
    QLabel* countLabel() const { return count_; }

    // Shows the dialog; on OK the items and size take the list's values.
    static bool run(QWidget* parent, const std::string& title, std::vector<std::string>& items, int& size, Ui& ui);

private:
    void sizeEntered(int size);
    void refresh(bool lines);

    SelectionList model_;
    Ui& ui_;
    CVARNfbListBoxEditor* editor_;
    QSpinBox* size_;
    QLabel* count_;
};

}  // namespace varn

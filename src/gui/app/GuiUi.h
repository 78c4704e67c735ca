// The Ui of the window layer: message boxes and file choosers as Qt dialogs,
// parented to the main window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/Ui.h"

namespace varn {

class GuiUi : public Ui {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }

    Answer message(const Message& m) override;
    std::vector<std::string> openFiles(const FileDialog& d) override;
    std::optional<std::string> saveFile(const FileDialog& d) override;
    void setWaitCursor(bool on) override;

    // "Name (*.x)|*.x|...||" as a Qt name filter list ("Name (*.x);;...").
    static QString qtFilter(const std::string& filter);

private:
    QPointer<QWidget> parent_;
};

}  // namespace varn

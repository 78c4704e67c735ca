// A line edit that shows a value the user cannot change: read-only, and drawn
// on the window's colour so that it does not look like a place to type.
#pragma once

#include <QLineEdit>
#include <QPalette>

namespace varn {

inline void showReadOnly(QLineEdit* edit) {
    edit->setReadOnly(true);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    edit->setPalette(p);
}

}  // namespace varn

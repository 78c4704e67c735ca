#include "app/GuiUi.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/CVarnIdeApp.h"

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

QString GuiUi::qtFilter(const std::string& filter) {
    QStringList parts = q(filter).split(QLatin1Char('|'));
    QStringList names;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        names << parts[i];
    }
    return names.join(QStringLiteral(";;"));
}

Answer GuiUi::message(const Message& m) {
    QMessageBox box(parent_);
    box.setWindowTitle(q(m.caption.empty() ? std::string(CVarnIdeApp::kAppName) : m.caption));
    box.setText(q(m.text));
    switch (m.icon) {
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (m.buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (defaultAnswerOf(m)) {
    case Answer::Ok: box.setDefaultButton(QMessageBox::Ok); break;
    case Answer::Cancel: box.setDefaultButton(QMessageBox::Cancel); break;
    case Answer::Yes: box.setDefaultButton(QMessageBox::Yes); break;
    case Answer::No: box.setDefaultButton(QMessageBox::No); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default:
        if (m.buttons == MsgButtons::YesNoCancel) return Answer::Cancel;
        return m.buttons == MsgButtons::YesNo ? Answer::No : Answer::Ok;
    }
}

std::vector<std::string> GuiUi::openFiles(const FileDialog& d) {
    std::vector<std::string> out;
    if (d.multiple) {
        for (const QString& f : QFileDialog::getOpenFileNames(parent_, q(d.title), q(d.initialFolder), qtFilter(d.filter)))
            out.push_back(f.toStdString());
        return out;
    }
    QString f = QFileDialog::getOpenFileName(parent_, q(d.title), q(d.initialFolder), qtFilter(d.filter));
    if (!f.isEmpty()) out.push_back(f.toStdString());
    return out;
}

std::optional<std::string> GuiUi::saveFile(const FileDialog& d) {
    QString start = q(d.initialFolder);
    if (!d.fileName.empty()) start += QLatin1Char('/') + q(d.fileName);
    QFileDialog::Options options;
    if (!d.confirmOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    QString f = QFileDialog::getSaveFileName(parent_, q(d.title), start, qtFilter(d.filter), nullptr, options);
    if (f.isEmpty()) return std::nullopt;
    if (!d.defaultExtension.empty() && !f.contains(QLatin1Char('.'))) {
        QString ext = q(d.defaultExtension);
        if (!ext.startsWith(QLatin1Char('.'))) ext.prepend(QLatin1Char('.'));
        f += ext;
    }
    return f.toStdString();
}

void GuiUi::setWaitCursor(bool on) {
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

}  // namespace varn

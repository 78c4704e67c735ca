// What the window tests share: a private copy of the bundled VARN folder and
// of a sample project, a workspace manager that opened the project, and the
// real main window on it.
#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>

#include "app/CMainFrame.h"
#include "app/RecordingUi.h"
#include "editor/CVarnIdeView.h"
#include "platform/SettingsStore.h"
#include "project/SymbolList.h"
#include "project/VARNWorkspaceManager.h"

namespace varn::guitest {

inline bool copyTree(const QString& from, const QString& to) {
    QDir src(from);
    if (!QDir().mkpath(to)) return false;
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + fi.fileName();
        if (fi.isDir()) {
            if (!copyTree(fi.filePath(), target)) return false;
        } else if (!QFile::copy(fi.filePath(), target)) {
            return false;
        } else {
            QFile::setPermissions(target, fi.permissions() | QFileDevice::WriteOwner);
        }
    }
    return true;
}

inline QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeText(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// With VARN_SCREENSHOTS naming a folder, a picture of the widget is saved there.
inline void screenshot(QWidget& w, const QString& name) {
    const QString folder = qEnvironmentVariable("VARN_SCREENSHOTS");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    QVERIFY(w.grab().save(folder + QLatin1Char('/') + name));
}

// Runs `f` on the next modal dialog as soon as it is up.
inline void onNextModal(std::function<void(QWidget*)> f, int triesLeft = 200) {
    QTimer::singleShot(10, [f = std::move(f), triesLeft]() mutable {
        if (QWidget* w = QApplication::activeModalWidget())
            f(w);
        else if (triesLeft > 0)
            onNextModal(std::move(f), triesLeft - 1);
    });
}

// Runs the event loop until `done` holds or 10 seconds pass.
inline bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 10000) QTest::qWait(10);
    return done();
}

// A line edit that refuses typing and is drawn so: on the window's colour.
inline bool looksReadOnly(const QLineEdit* e) {
    return e->isReadOnly() && e->palette().color(QPalette::Base) == e->palette().color(QPalette::Window);
}

// The first line (from 0) of a source view that holds `text`; -1 when none.
inline int lineOf(CVarnIdeView& v, const std::string& text) {
    for (int line = 0; line < v.lineCount(); ++line)
        if (v.lineText(line).find(text) != std::string::npos) return line;
    return -1;
}

// The installation folder (a copy of the bundled one, with the stand-in
// compiler) and one sample project copied beside it, opened quietly.
struct Workspace {
    QTemporaryDir tmp;
    QString install;
    QString projectFolder;
    RecordingUi ui;
    SettingsStore settings;
    SymbolList symbols;
    std::unique_ptr<VARNWorkspaceManager> manager;

    explicit Workspace(const QString& sample = QString()) {
        install = tmp.path() + QStringLiteral("/varn");
        copyTree(QStringLiteral(VARN_SHARE_DIR), install);
        manager = std::make_unique<VARNWorkspaceManager>(ui, settings, symbols, install.toStdString());
        if (!sample.isEmpty()) {
            projectFolder = tmp.path() + QLatin1Char('/') + sample;
            copyTree(install + QStringLiteral("/samples/") + sample, projectFolder);
            manager->openWorkspace(projectPath(sample).toStdString(), true);
        }
    }
    QString projectPath(const QString& sample) const {
        return projectFolder + QLatin1Char('/') + sample + QStringLiteral(".vpj");
    }
    QString file(const QString& name) const { return projectFolder + QLatin1Char('/') + name; }
    ProjectModel& model() { return manager->project(); }
};

// A workspace in the real main window, shown.
struct Window : Workspace {
    CMainFrame frame{*manager, ui, settings};
    explicit Window(const QString& sample = QString()) : Workspace(sample) { frame.show(); }
};

}  // namespace varn::guitest

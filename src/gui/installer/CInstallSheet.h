// The "Application Install Settings" sheet: the install settings of the open
// project for the platform of its active configuration, on five pages —
// Application Information, Setup Dialogs, File Groups, Synchronization (PalmOS
// and PocketPC only) and Build. The rules (platform, file name, groups and
// their extensions, creator ID, read-only refusal) are core's InstallSettings;
// the Build page runs core's InstallerBuild. OK saves, Cancel discards.
#pragma once

#include <QDialog>
#include <QTreeWidget>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "installer/InstallSettings.h"
#include "installer/InstallerBuild.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QUrl;

namespace varn {

class Ui;
class VARNWorkspaceManager;
struct ProjectModel;

// A file field: caption, text and a browse button using `filter`.
struct CInstallFileField {
    QLabel* label = nullptr;
    QLineEdit* edit = nullptr;
    QPushButton* browse = nullptr;
};

class CInstallAppinfoPage : public QWidget {
    Q_OBJECT
public:
    CInstallAppinfoPage(TargetPlatform platform, const std::string& projectFolder, Ui& ui,
                        QWidget* parent = nullptr);
    void fill(const install::InstallSettings& s);
    void read(install::InstallSettings& s) const;

    QLineEdit* applicationNameEdit() const { return name_; }
    QLineEdit* companyNameEdit() const { return company_; }
    QLineEdit* versionEdit() const { return version_; }
    const CInstallFileField& iconField() const { return icon_; }

private:
    QLineEdit* name_ = nullptr;
    QLineEdit* company_ = nullptr;
    QLineEdit* version_ = nullptr;
    CInstallFileField icon_;
};

class CInstallDialogsPage : public QWidget {
    Q_OBJECT
public:
    CInstallDialogsPage(const std::string& projectFolder, Ui& ui, QWidget* parent = nullptr);
    void fill(const install::InstallSettings& s);
    void read(install::InstallSettings& s) const;

    QCheckBox* showProgressBox() const { return progress_; }
    const CInstallFileField& licenseField() const { return license_; }
    const CInstallFileField& prologField() const { return prolog_; }
    const CInstallFileField& epilogField() const { return epilog_; }
    const CInstallFileField& welcomeBitmapField() const { return bitmap_; }

private:
    QCheckBox* progress_ = nullptr;
    CInstallFileField license_, prolog_, epilog_, bitmap_;
};

// The group tree: one top-level item per group of the platform, its files as
// children. Files come by drops from the file manager or through addFiles.
class CInstallFileGroupTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    static constexpr int kGroupRole = Qt::UserRole;  // index into the views; on group items only

    explicit CInstallFileGroupTreeCtrl(TargetPlatform platform, QWidget* parent = nullptr);

    const std::vector<install::GroupView>& views() const { return views_; }
    QTreeWidgetItem* groupItem(install::FileGroup g) const;
    // The group a target item stands for: itself, or the group of a file item.
    QTreeWidgetItem* groupOf(QTreeWidgetItem* item) const;
    const install::GroupView* viewOf(QTreeWidgetItem* groupItem) const;

    void fill(const install::InstallSettings& s);
    void read(install::InstallSettings& s) const;
    // Adds the files the target's group accepts (others are ignored
    // silently); returns how many were added.
    int addFiles(QTreeWidgetItem* target, const QStringList& paths);
    // Removes the current item when it is a file item.
    bool deleteCurrent();

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    std::vector<install::GroupView> views_;
};

class CInstallFilesPage : public QWidget {
    Q_OBJECT
public:
    CInstallFilesPage(TargetPlatform platform, const std::string& projectFolder, Ui& ui,
                      QWidget* parent = nullptr);
    void fill(const install::InstallSettings& s) { tree_->fill(s); }
    void read(install::InstallSettings& s) const { tree_->read(s); }

    CInstallFileGroupTreeCtrl* tree() const { return tree_; }
    QPushButton* locateButton() const { return locate_; }
    QPushButton* addFilesButton() const { return add_; }
    // How the project folder is opened (default QDesktopServices::openUrl).
    void setUrlOpener(std::function<bool(const QUrl&)> f) { opener_ = std::move(f); }

    // The file dialog filter of a group.
    static std::string filterOf(const install::GroupView& view);

private:
    void updateAddButton();
    void addThroughDialog();

    std::string projectFolder_;
    Ui& ui_;
    CInstallFileGroupTreeCtrl* tree_ = nullptr;
    QPushButton* locate_ = nullptr;
    QPushButton* add_ = nullptr;
    std::function<bool(const QUrl&)> opener_;
};

class CInstallSyncPage : public QWidget {
    Q_OBJECT
public:
    CInstallSyncPage(TargetPlatform platform, const ProjectSettings& project, QWidget* parent = nullptr);
    void fill(const install::InstallSettings& s);
    void read(install::InstallSettings& s) const;

    QLineEdit* creatorIdEdit() const { return creator_; }
    QLineEdit* syncNameEdit() const { return name_; }
    QLineEdit* syncDirectoryEdit() const { return directory_; }
    QLabel* syncDirectoryLabel() const { return directoryLabel_; }
    QCheckBox* installConduitBox() const { return conduit_; }

private:
    TargetPlatform platform_;
    const ProjectSettings& project_;
    QLineEdit* creator_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* directory_ = nullptr;
    QLabel* directoryLabel_ = nullptr;
    QCheckBox* conduit_ = nullptr;
};

class CInstallBuildPage : public QWidget {
    Q_OBJECT
public:
    CInstallBuildPage(TargetPlatform platform, Ui& ui, QWidget* parent = nullptr);
    void fill(const install::InstallSettings& s);
    void read(install::InstallSettings& s) const;

    QCheckBox* createCabBox() const { return cab_; }
    QPushButton* buildButton() const { return build_; }
    QPushButton* testButton() const { return test_; }
    QPlainTextEdit* resultsText() const { return results_; }
    // Shows core's results ("\r\n" line ends shown as line breaks).
    void setResults(const std::string& results);
    // What the page does when it becomes active.
    void activated();

signals:
    void buildRequested();
    void testRequested();

private:
    void updateTestButton();

    TargetPlatform platform_;
    Ui& ui_;
    QCheckBox* cab_ = nullptr;
    QPushButton* build_ = nullptr;
    QPushButton* test_ = nullptr;
    QPlainTextEdit* results_ = nullptr;
};

class CInstallSheet : public QDialog {
    Q_OBJECT
public:
    enum class StartPage { First, Build };

    CInstallSheet(ProjectModel& model, const std::string& ideDirectory, Ui& ui, StartPage start = StartPage::First,
                  bool buildNow = false, QWidget* parent = nullptr);
    ~CInstallSheet() override;

    // Shows the sheet for the open project; true when it closed with OK and
    // the settings were saved. With `buildNow` the build runs on opening, its
    // results go to the log copy (when `logCopyPath` is not empty) and the
    // sheet closes as OK does.
    static bool run(QWidget* parent, VARNWorkspaceManager& workspace, Ui& ui, StartPage start = StartPage::First,
                    bool buildNow = false, const std::string& logCopyPath = {});

    TargetPlatform platform() const { return platform_; }
    const std::string& settingsPath() const { return path_; }
    // The settings as the pages hold them now.
    install::InstallSettings currentSettings() const;
    install::InstallerBuild& installerBuild() { return *build_; }
    void setLogCopyPath(std::string path) { logCopyPath_ = std::move(path); }

    QTabWidget* tabs() const { return tabs_; }
    CInstallAppinfoPage* appinfoPage() const { return appinfo_; }
    CInstallDialogsPage* dialogsPage() const { return dialogs_; }
    CInstallFilesPage* filesPage() const { return files_; }
    CInstallSyncPage* syncPage() const { return sync_; }  // null without a Synchronization page
    CInstallBuildPage* buildPage() const { return buildPage_; }
    // Makes a page the current one (the Build page clears its results).
    void showPage(QWidget* page);

    // The Build page's actions. While a build runs (it keeps the window
    // alive), "Build Install", OK and Cancel are disabled and closing is refused.
    bool buildInstall();
    bool building() const { return building_; }
    bool testInstall();

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildNowAndClose();
    void setBuilding(bool on);

    ProjectModel& model_;
    Ui& ui_;
    TargetPlatform platform_;
    std::string path_;
    install::InstallSettings loaded_;
    std::unique_ptr<install::InstallerBuild> build_;
    bool buildNow_ = false;
    bool builtNow_ = false;
    bool building_ = false;
    std::string logCopyPath_;

    QTabWidget* tabs_ = nullptr;
    CInstallAppinfoPage* appinfo_ = nullptr;
    CInstallDialogsPage* dialogs_ = nullptr;
    CInstallFilesPage* files_ = nullptr;
    CInstallSyncPage* sync_ = nullptr;
    CInstallBuildPage* buildPage_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace varn

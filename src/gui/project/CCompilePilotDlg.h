// The "Application Settings" dialog: what the build needs for the target of
// the active build configuration — the creator ID (as text and as hex, kept in
// step while either is typed), desktop name, PRC version and type, splash
// screen, device flags and the runtime form size. Which controls show, the
// checks of OK and what reaches the project are core's
// ApplicationSettingsRules; the settings are written back when the dialog
// goes away, after OK and after Cancel alike.
#pragma once

#include <QDialog>

#include "project/ApplicationSettingsRules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace varn {

class Ui;
class VARNWorkspaceManager;

class CCompilePilotDlg : public QDialog {
    Q_OBJECT
public:
    CCompilePilotDlg(ProjectModel& model, Ui& ui, QWidget* parent = nullptr);
    // Writes the fields back into the project settings.
    ~CCompilePilotDlg() override;

    // Shows the dialog for the active configuration of the open project; true
    // when it was closed with OK. The settings are written back either way.
    static bool run(QWidget* parent, VARNWorkspaceManager& workspace, Ui& ui);

    TargetPlatform target() const { return rules_.target(); }
    // The fields as the write-back will store them.
    const ApplicationSettingsFields& fields() const { return rules_.fields; }

    QLineEdit* creatorTextEdit() const { return creatorText_; }
    QLineEdit* creatorHexEdit() const { return creatorHex_; }
    QLineEdit* desktopNameEdit() const { return desktopName_; }
    QCheckBox* changeDBCreatorIDBox() const { return changeDB_; }
    QLineEdit* prcVersionEdit() const { return prcVersion_; }
    QComboBox* prcTypeBox() const { return prcType_; }
    QCheckBox* nonBeamableBox() const { return nonBeamable_; }
    QCheckBox* backupBox() const { return backup_; }
    QComboBox* splashScreenBox() const { return splash_; }
    QCheckBox* sipResizeBox() const { return sip_; }
    QSpinBox* formWidthBox() const { return formWidth_; }
    QSpinBox* formHeightBox() const { return formHeight_; }
    // The caption that goes with a control (null for a check box).
    QLabel* labelOf(QWidget* control) const;

public slots:
    void accept() override;
    void reject() override;

private:
    void applyLayout();
    void showFields();
    void readFields();
    bool formSizeValid(QSpinBox* box);

    Ui& ui_;
    ApplicationSettingsRules rules_;
    ApplicationSettingsFields loaded_;  // what Cancel leaves for the write-back
    bool writtenBack_ = false;

    QLineEdit* creatorText_ = nullptr;
    QLineEdit* creatorHex_ = nullptr;
    QLineEdit* desktopName_ = nullptr;
    QCheckBox* changeDB_ = nullptr;
    QLineEdit* prcVersion_ = nullptr;
    QComboBox* prcType_ = nullptr;
    QCheckBox* nonBeamable_ = nullptr;
    QCheckBox* backup_ = nullptr;
    QComboBox* splash_ = nullptr;
    QCheckBox* sip_ = nullptr;
    QSpinBox* formWidth_ = nullptr;
    QSpinBox* formHeight_ = nullptr;
    QLabel* creatorTextLabel_ = nullptr;
    QLabel* creatorHexLabel_ = nullptr;
    QLabel* desktopNameLabel_ = nullptr;
    QLabel* prcVersionLabel_ = nullptr;
    QLabel* prcTypeLabel_ = nullptr;
    QLabel* splashLabel_ = nullptr;
    QLabel* formSizeLabel_ = nullptr;
    QLabel* byLabel_ = nullptr;
    QWidget* appGroup_ = nullptr;
};

}  // namespace varn

// The "Convert VDI to PDB" dialog: the VARN data file to convert, the creator
// ID of the database and its two attributes. "Convert" runs core's creator
// checks and the conversion; the dialog stays open for the next file until
// "Exit".
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace varn {

class Ui;
struct ProjectSettings;

class CVDI2PDBDlg : public QDialog {
    Q_OBJECT
public:
    // `project` is the open project's settings, null when none is open: they
    // give the creator ID the dialog starts with.
    CVDI2PDBDlg(const ProjectSettings* project, Ui& ui, QWidget* parent = nullptr);

    // Shows the dialog until "Exit".
    static void run(QWidget* parent, const ProjectSettings* project, Ui& ui);

    QLineEdit* inputEdit() const { return input_; }
    QPushButton* browseButton() const { return browse_; }
    QLineEdit* creatorEdit() const { return creator_; }
    QCheckBox* nonBeamableBox() const { return nonBeamable_; }
    QCheckBox* backupBox() const { return backup_; }
    QPushButton* convertButton() const { return convert_; }
    QPushButton* exitButton() const { return exit_; }

    // The chooser's filter for the input file.
    static constexpr const char* kFilter = "Database Files (*.vdi *.vdb)|*.vdi;*.vdb|";

public slots:
    // One conversion with the fields as they are; true when it succeeded.
    bool convert();
    void browseInput();

private:
    Ui& ui_;
    QLineEdit* input_ = nullptr;
    QPushButton* browse_ = nullptr;
    QLineEdit* creator_ = nullptr;
    QCheckBox* nonBeamable_ = nullptr;
    QCheckBox* backup_ = nullptr;
    QPushButton* convert_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace varn

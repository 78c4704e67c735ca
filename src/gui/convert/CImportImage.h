// The "Import Image" dialog: a Windows BMP file and the VARN image file it goes
// into. "Import" (enabled while both paths are filled in) runs core's import,
// which appends the BMP to the image file and adds that file to the project;
// the dialog stays open for the next import until "Exit".
#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;

namespace varn {

class ImageProject;
class Ui;
struct ProjectModel;

class CImportImage : public QDialog {
    Q_OBJECT
public:
    // `project` is the open project, null when none is open: an imported
    // image file is added to it as a bitmap.
    CImportImage(ProjectModel* project, Ui& ui, QWidget* parent = nullptr);
    ~CImportImage() override;

    // Shows the dialog until "Exit"; true when at least one import succeeded
    // (the project tree then has a new or changed image).
    static bool run(QWidget* parent, ProjectModel* project, Ui& ui);

    QLineEdit* importFileEdit() const { return importFile_; }
    QLineEdit* imageFileEdit() const { return imageFile_; }
    QPushButton* importBrowseButton() const { return importBrowse_; }
    QPushButton* imageBrowseButton() const { return imageBrowse_; }
    QPushButton* importButton() const { return import_; }
    QPushButton* exitButton() const { return exit_; }
    bool imported() const { return imported_; }

    static constexpr const char* kImportFilter = "BMP Files (*.bmp)|*.bmp||";
    static constexpr const char* kImageFilter = "Bitmap Files (*.vbm)|*.vbm|Icon Files (*.vic)|*.vic||";

public slots:
    // One import with the fields as they are; true when it succeeded.
    bool importImage();
    void browseImportFile();
    void browseImageFile();

private:
    void updateImportButton();

    Ui& ui_;
    std::unique_ptr<ImageProject> project_;
    bool imported_ = false;
    QLineEdit* importFile_ = nullptr;
    QLineEdit* imageFile_ = nullptr;
    QPushButton* importBrowse_ = nullptr;
    QPushButton* imageBrowse_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* exit_ = nullptr;
};

}  // namespace varn

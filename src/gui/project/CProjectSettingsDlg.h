// The "Project Settings" dialog: what the form designer takes from the
// project — the default form font, the display size the forms are laid out
// for and the default colours. The rules (title, enabling, what OK stores)
// are core's ProjectSettingsRules; the dialog binds them to its controls.
#pragma once

#include <QDialog>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <optional>

#include "project/ProjectSettingsRules.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace varn {

class Ui;
class VARNWorkspaceManager;

// A colour well: a button filled with its colour (packed 0x00BBGGRR) that
// opens the colour chooser when clicked.
class CColourWell : public QPushButton {
    Q_OBJECT
public:
    explicit CColourWell(QWidget* parent = nullptr);

    std::uint32_t colour() const { return colour_; }
    void setColour(std::uint32_t packed);

    static QColor toQColor(std::uint32_t packed);
    static std::uint32_t fromQColor(const QColor& c);

signals:
    void colourChanged(std::uint32_t packed);

private:
    void choose();

    std::uint32_t colour_ = 0;
};

class CProjectSettingsDlg : public QDialog {
    Q_OBJECT
public:
    // Asks for a font face starting from `current`; nothing when cancelled.
    using FontChooser = std::function<std::optional<QString>(QWidget* parent, const QString& current)>;

    CProjectSettingsDlg(ProjectModel& model, Ui& ui, QWidget* parent = nullptr);

    // Shows the dialog for the open project; true when it was closed with OK.
    // `formsChanged` refreshes the form designer views after a new face was
    // chosen with the browse button.
    static bool run(QWidget* parent, VARNWorkspaceManager& workspace, Ui& ui,
                    std::function<void()> formsChanged = {});

    // Replaces the system font dialog (tests answer without a window).
    void setFontChooser(FontChooser f) { fontChooser_ = std::move(f); }
    void setFormsChanged(std::function<void()> f) { formsChanged_ = std::move(f); }

    // What the controls hold now.
    ProjectSettingsFields fields() const;

    QLineEdit* fontNameEdit() const { return fontName_; }
    QPushButton* browseButton() const { return browse_; }
    QCheckBox* useVARNFontsBox() const { return useVARNFonts_; }
    QSpinBox* widthBox() const { return width_; }
    QSpinBox* heightBox() const { return height_; }
    QCheckBox* useSystemColorsBox() const { return useSystemColors_; }
    QCheckBox* allow1BitColorBox() const { return allow1Bit_; }
    CColourWell* textColourWell() const { return textColour_; }
    CColourWell* backgroundColourWell() const { return backColour_; }

public slots:
    void accept() override;
    // The browse button: the chosen face goes into the field and the settings.
    void browseFont();

private:
    void updateEnabling();
    bool displaySizeValid(QSpinBox* box);

    ProjectModel& model_;
    Ui& ui_;
    FontChooser fontChooser_;
    std::function<void()> formsChanged_;

    QLineEdit* fontName_ = nullptr;
    QPushButton* browse_ = nullptr;
    QCheckBox* useVARNFonts_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QCheckBox* useSystemColors_ = nullptr;
    QCheckBox* allow1Bit_ = nullptr;
    CColourWell* textColour_ = nullptr;
    CColourWell* backColour_ = nullptr;
    QLabel* textColourLabel_ = nullptr;
    QLabel* backColourLabel_ = nullptr;
};

}  // namespace varn

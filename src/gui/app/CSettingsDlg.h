// The "IDE Settings" dialog: the behaviour switches, install folders, IDE
// form size and tab handling of the per-user settings, the four window fonts
// (changed at once), and the door to the "Syntax Coloring" dialog.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

#include "app/CVarnIdeApp.h"
#include "app/IdeSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace varn {

class SettingsStore;
class Ui;

class CSettingsDlg : public QDialog {
    Q_OBJECT
public:
    // `fonts` is the process-wide font table; a changed slot is announced
    // with fontChanged() at once, whatever the dialog's outcome.
    CSettingsDlg(SettingsStore& store, std::array<WindowFont, 4>& fonts, int formSizeX, int formSizeY, Ui& ui,
                 QWidget* parent = nullptr);

    // The values OK wrote (valid after accept()).
    const IdeSettings& values() const { return values_; }

    // The font chooser; tests replace it. It gets the slot's current font and
    // whether only fixed-pitch fonts may be offered; empty means cancelled.
    using FontChooser = std::function<std::optional<WindowFont>(const WindowFont&, bool fixedPitchOnly)>;
    void setFontChooser(FontChooser f) { fontChooser_ = std::move(f); }
    // Opens the colouring dialog for a section; tests replace it.
    void setColouringDialog(std::function<void(const std::string& section)> f) { colouring_ = std::move(f); }

    QCheckBox* box(const char* key) const;
    QLineEdit* field(const char* key) const;
    QComboBox* fontSlots() const { return fontSlot_; }
    QLabel* fontStyle() const { return fontStyle_; }
    QComboBox* colouringCategory() const { return category_; }
    QRadioButton* keepTabs() const { return keepTabs_; }
    QRadioButton* insertSpaces() const { return insertSpaces_; }

    void changeFont();
    void openColouring();
    void accept() override;

signals:
    void fontChanged(int slot);
    // After OK or the colouring dialog's OK: the editor views re-read their settings.
    void editorSettingsChanged();

private:
    void showSlot(int slot);
    void onCBuildToggled(bool on);

    SettingsStore& store_;
    std::array<WindowFont, 4>& fonts_;
    Ui& ui_;
    IdeSettings values_;
    std::map<std::string, QCheckBox*> boxes_;
    std::map<std::string, QLineEdit*> fields_;
    QComboBox* fontSlot_ = nullptr;
    QLabel* fontFace_ = nullptr;
    QLabel* fontSize_ = nullptr;
    QLabel* fontStyle_ = nullptr;
    QComboBox* category_ = nullptr;
    QRadioButton* keepTabs_ = nullptr;
    QRadioButton* insertSpaces_ = nullptr;
    FontChooser fontChooser_;
    std::function<void(const std::string&)> colouring_;
};

}  // namespace varn

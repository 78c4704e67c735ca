// The "Syntax Coloring" dialog for one editor section: colouring on or off,
// case sensitivity, and the keyword, quote, comment, text and background
// colours with samples drawn in them. OK writes the section and C build files.
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "editor/CChromaSettings.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace varn {

class SettingsStore;

class CChromaDialog : public QDialog {
    Q_OBJECT
public:
    enum Slot { Keywords, Quotes, Comments, DefaultText, Background, SlotCount };

    CChromaDialog(SettingsStore& store, std::string section, QWidget* parent = nullptr);

    const CChromaSettings& values() const { return values_; }
    // The colour chooser; tests replace it. Empty means cancelled.
    void setColourChooser(std::function<std::optional<Rgb>(Rgb)> f) { chooser_ = std::move(f); }
    // Opens the chooser for a slot and updates its sample at once.
    void chooseColour(Slot slot);
    QCheckBox* chroma() const { return chroma_; }
    QCheckBox* caseSensitive() const { return case_; }
    QLabel* sample(int index) const { return samples_[static_cast<std::size_t>(index)]; }

    void accept() override;

private:
    Rgb& colour(Slot slot);
    void paintSamples();

    SettingsStore& store_;
    std::string section_;
    CChromaSettings values_;
    QCheckBox* chroma_;
    QCheckBox* case_;
    std::array<QPushButton*, SlotCount> buttons_{};
    std::array<QLabel*, 5> samples_{};  // keywords, quotes, comments, two default texts
    std::function<std::optional<Rgb>(Rgb)> chooser_;
};

}  // namespace varn

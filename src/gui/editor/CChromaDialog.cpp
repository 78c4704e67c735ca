#include "editor/CChromaDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/SettingsStore.h"

namespace varn {

namespace {

QColor qcolour(Rgb c) { return QColor(c.r, c.g, c.b); }

QIcon swatch(Rgb c) {
    QPixmap p(24, 14);
    p.fill(qcolour(c));
    return QIcon(p);
}

}  // namespace

CChromaDialog::CChromaDialog(SettingsStore& store, std::string section, QWidget* parent)
    : QDialog(parent), store_(store), section_(std::move(section)) {
    setObjectName(QStringLiteral("SyntaxColoring"));
    setWindowTitle(QString::fromLatin1(CChromaSettings::kTitle));
    values_ = CChromaSettings::read(store_, section_);
    chooser_ = [this](Rgb current) -> std::optional<Rgb> {
        const QColor c = QColorDialog::getColor(qcolour(current), this);
        if (!c.isValid()) return std::nullopt;
        return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue())};
    };

    chroma_ = new QCheckBox(tr("&Use syntax coloring"), this);
    chroma_->setChecked(values_.chroma);
    case_ = new QCheckBox(tr("Case &sensitive"), this);
    case_->setChecked(values_.caseSensitive);

    auto* grid = new QGridLayout;
    const char* names[SlotCount] = {"Keywords", "Quotes", "Comments", "Default Text", "Background"};
    const char* sampleTexts[5] = {"function end return", "\"quoted text\"", "# a comment", "x = y + 1;", "name"};
    for (int s = 0; s < SlotCount; ++s) {
        buttons_[static_cast<std::size_t>(s)] = new QPushButton(QString::fromLatin1(names[s]), this);
        grid->addWidget(buttons_[static_cast<std::size_t>(s)], s, 0);
        connect(buttons_[static_cast<std::size_t>(s)], &QPushButton::clicked, this,
                [this, s] { chooseColour(static_cast<Slot>(s)); });
    }
    for (int i = 0; i < 5; ++i) {
        samples_[static_cast<std::size_t>(i)] = new QLabel(QString::fromLatin1(sampleTexts[i]), this);
        samples_[static_cast<std::size_t>(i)]->setAutoFillBackground(true);
        samples_[static_cast<std::size_t>(i)]->setMinimumWidth(160);
        grid->addWidget(samples_[static_cast<std::size_t>(i)], i < 4 ? i : 3, i < 4 ? 1 : 2);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CChromaDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chroma_);
    layout->addWidget(case_);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    paintSamples();
}

Rgb& CChromaDialog::colour(Slot slot) {
    switch (slot) {
    case Keywords: return values_.keyword;
    case Quotes: return values_.quote;
    case Comments: return values_.comment;
    case DefaultText: return values_.defaultText;
    default: return values_.background;
    }
}

void CChromaDialog::chooseColour(Slot slot) {
    if (auto chosen = chooser_(colour(slot))) {
        colour(slot) = *chosen;
        paintSamples();
    }
}

void CChromaDialog::paintSamples() {
    const Rgb text[5] = {values_.keyword, values_.quote, values_.comment, values_.defaultText, values_.defaultText};
    for (int i = 0; i < 5; ++i) {
        QPalette p = samples_[static_cast<std::size_t>(i)]->palette();
        p.setColor(QPalette::Window, qcolour(values_.background));
        p.setColor(QPalette::WindowText, qcolour(text[i]));
        samples_[static_cast<std::size_t>(i)]->setPalette(p);
    }
    for (int s = 0; s < SlotCount; ++s) buttons_[static_cast<std::size_t>(s)]->setIcon(swatch(colour(static_cast<Slot>(s))));
}

void CChromaDialog::accept() {
    values_.chroma = chroma_->isChecked();
    values_.caseSensitive = case_->isChecked();
    values_.write(store_, section_);
    QDialog::accept();
}

}  // namespace varn

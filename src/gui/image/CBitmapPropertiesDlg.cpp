#include "image/CBitmapPropertiesDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "image/ImageGeometry.h"

namespace varn {

CBitmapPropertiesDlg::CBitmapPropertiesDlg(int width, int height, bool monochrome, bool icon, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("BitmapProperties"));
    setWindowTitle(QStringLiteral("Bitmap Properties"));
    auto* form = new QFormLayout(this);
    auto spin = [this](int value) {
        auto* s = new QSpinBox(this);
        s->setRange(1, kMaxImageDimension);
        s->setValue(value);
        return s;
    };
    width_ = spin(width);
    height_ = spin(height);
    width_->setEnabled(!icon);
    height_->setEnabled(!icon);
    color_ = new QComboBox(this);
    color_->addItems({QStringLiteral("Color"), QStringLiteral("Monochrome")});
    color_->setCurrentIndex(monochrome ? 1 : 0);
    form->addRow(QStringLiteral("Width"), width_);
    form->addRow(QStringLiteral("Height"), height_);
    form->addRow(QStringLiteral("Color"), color_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

int CBitmapPropertiesDlg::imageWidth() const { return width_->value(); }
int CBitmapPropertiesDlg::imageHeight() const { return height_->value(); }
bool CBitmapPropertiesDlg::monochrome() const { return color_->currentIndex() == 1; }

}  // namespace varn

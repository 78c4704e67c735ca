#include "image/CImgPasteDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varn {

CImgPasteDlg::CImgPasteDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PasteImage"));
    setWindowTitle(QStringLiteral("Paste Image"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Bitmap's dimensions differ from those"), this));
    layout->addWidget(new QLabel(QStringLiteral("of the destination image."), this));
    stretch_ = new QRadioButton(QStringLiteral("Stretch/shrink image?"), this);
    clip_ = new QRadioButton(QStringLiteral("Clip image?"), this);
    stretch_->setChecked(true);
    layout->addWidget(stretch_);
    layout->addWidget(clip_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

PasteFit CImgPasteDlg::fit() const { return clip_->isChecked() ? PasteFit::Clip : PasteFit::Stretch; }

}  // namespace varn

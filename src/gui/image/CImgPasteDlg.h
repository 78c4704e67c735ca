// "Paste Image": asked when the pasted bitmap's size differs from the
// selection's, whether to stretch it to the selection or clip it.
#pragma once

#include <QDialog>

#include "image/CVARNImgDoc.h"

class QRadioButton;

namespace varn {

class CImgPasteDlg : public QDialog {
    Q_OBJECT
public:
    explicit CImgPasteDlg(QWidget* parent = nullptr);

    PasteFit fit() const;
    QRadioButton* stretchButton() const { return stretch_; }
    QRadioButton* clipButton() const { return clip_; }

private:
    QRadioButton* stretch_ = nullptr;
    QRadioButton* clip_ = nullptr;
};

}  // namespace varn

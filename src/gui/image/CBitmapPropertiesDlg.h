// "Bitmap Properties": the width and height (1..1000) and the colour depth
// of a new image that replaces the images of the document. An icon keeps
// its size: only the depth can change there.
#pragma once

#include <QDialog>

class QComboBox;
class QSpinBox;

namespace varn {

class CBitmapPropertiesDlg : public QDialog {
    Q_OBJECT
public:
    CBitmapPropertiesDlg(int width, int height, bool monochrome, bool icon, QWidget* parent = nullptr);

    int imageWidth() const;
    int imageHeight() const;
    bool monochrome() const;
    // 1 for monochrome, 24 for colour.
    int depth() const { return monochrome() ? 1 : 24; }

    QSpinBox* widthBox() const { return width_; }
    QSpinBox* heightBox() const { return height_; }
    QComboBox* colorBox() const { return color_; }

private:
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QComboBox* color_ = nullptr;
};

}  // namespace varn

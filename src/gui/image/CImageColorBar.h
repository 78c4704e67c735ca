// The "Image Color" bar shared by every image window: the palette well whose
// picks become the drawing colours. It is hidden while a monochrome image
// is active.
#pragma once

#include <QDockWidget>

#include "image/ImageColours.h"

namespace varn {

class CVARNColorWell;

class CImageColorBar : public QDockWidget {
    Q_OBJECT
public:
    explicit CImageColorBar(QWidget* parent = nullptr);

    CVARNColorWell* well() const { return well_; }
    void showColours(const ImageColours& colours);

signals:
    void picked(Rgb colour, ColourSide side);

private:
    CVARNColorWell* well_ = nullptr;
};

}  // namespace varn

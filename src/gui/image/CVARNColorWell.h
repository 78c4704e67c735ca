// The palette well of the image colour bar: twenty colour cells, the
// foreground and background swatch below them and the fixed swatch at the
// right edge. A left click picks the foreground, a right click the background.
#pragma once

#include <QWidget>

#include "image/ImageColours.h"

namespace varn {

class CVARNColorWell : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCell = 16;
    static constexpr int kColumns = 2;

    explicit CVARNColorWell(QWidget* parent = nullptr);

    // The swatch shows these colours.
    void setColours(Rgb foreground, Rgb background);
    Rgb cellColour(int index) const;
    QRect cellRect(int index) const;
    QRect swatchRect() const;       // foreground over background
    QRect fixedSwatchRect() const;  // the fixed colour at the right edge

    QSize sizeHint() const override;

signals:
    void picked(Rgb colour, ColourSide side);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    Rgb foreground_ = kBlack;
    Rgb background_ = kWhite;
};

}  // namespace varn

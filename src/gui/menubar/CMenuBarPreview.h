// The strip under the "MenuBars" tree that shows the chosen menu bar as a
// handheld draws it: the tops in a row, the chosen top opened over its items,
// the chosen item highlighted.
#pragma once

#include <QStringList>
#include <QWidget>

namespace varn {

class CMenuBarPreview : public QWidget {
    Q_OBJECT
public:
    explicit CMenuBarPreview(QWidget* parent = nullptr);

    // `openTop` and `selectedItem` are positions, -1 for none.
    void setMenu(const QStringList& tops, int openTop, const QStringList& items, int selectedItem);
    const QStringList& tops() const { return tops_; }
    const QStringList& items() const { return items_; }
    int openTop() const { return openTop_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QStringList tops_;
    QStringList items_;
    int openTop_ = -1;
    int selectedItem_ = -1;
};

}  // namespace varn

// The designer's preview windows: one child widget per control record, drawn
// in the form's pixels at the view's zoom and showing the properties of its
// kind. They take no input; the view handles the mouse and keys.
#pragma once

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "form/CVARNFBControl.h"

namespace varn {

class CVARNfbPreview : public QWidget, public PreviewWindow {
    Q_OBJECT
public:
    CVARNfbPreview(CVARNFBControl& record, QWidget* parent);

    void applyFont(const FormFont& font) override;
    void showText(const std::string& text) override;
    int closedBoxHeight() const override;
    int listMeasureHeight() const override;

    CVARNFBControl& record() const { return record_; }
    const QString& text() const { return text_; }
    const QFont& previewFont() const { return font_; }
    // Places the widget at the record's rectangle at `zoom`, moved by `origin`
    // (cells: relative to their grid, no origin).
    void place(double zoom, QPoint origin = {});
    // Drops the drawn picture: the next paint draws the control afresh.
    void invalidate();

    // The preview font of a form font, at the form's pixel size.
    static QFont qtFont(const FormFont& font);
    // Where a bitmap's picture comes from (a null image when it has none).
    using BitmapSource = std::function<QImage(const std::string& name)>;
    void setBitmapSource(BitmapSource source) { bitmaps_ = std::move(source); }

protected:
    void paintEvent(QPaintEvent* e) override;
    // Draws the control into `r`, in form pixels.
    virtual void paintPreview(QPainter& p, const QRect& r) = 0;

    void resizeEvent(QResizeEvent* e) override;

    QColor foreground() const;
    QColor background(QPalette::ColorRole systemRole) const;
    bool isCell() const;
    void drawVerticalScrollBar(QPainter& p, const QRect& r);
    void drawSunkenBox(QPainter& p, const QRect& r, const QColor& fill);

    static constexpr int kDefaultItemHeight = 11;

    CVARNFBControl& record_;
    QFont font_;
    int itemHeight_ = kDefaultItemHeight;
    QPixmap picture_;  // the control as last drawn; painting copies it
    BitmapSource bitmaps_;
    QString text_;
    double zoom_ = 1.0;
};

#define VARN_PREVIEW_CLASS(Name)                                 \
    class Name : public CVARNfbPreview {                         \
    public:                                                      \
        using CVARNfbPreview::CVARNfbPreview;                    \
                                                                 \
    protected:                                                   \
        void paintPreview(QPainter& p, const QRect& r) override; \
    };

VARN_PREVIEW_CLASS(CVARNfbText)
VARN_PREVIEW_CLASS(CVARNfbDropdown)
VARN_PREVIEW_CLASS(CVARNfbLabel)
VARN_PREVIEW_CLASS(CVARNfbButton)
VARN_PREVIEW_CLASS(CVARNfbCheckbox)
VARN_PREVIEW_CLASS(CVARNfbSelector)
VARN_PREVIEW_CLASS(CVARNfbFileSel)
VARN_PREVIEW_CLASS(CVARNfbGrid)
VARN_PREVIEW_CLASS(CVARNfbFrame)

#undef VARN_PREVIEW_CLASS

// The preview of the record's kind, a child of `parent`.
std::unique_ptr<CVARNfbPreview> makePreview(CVARNFBControl& record, QWidget* parent);

}  // namespace varn

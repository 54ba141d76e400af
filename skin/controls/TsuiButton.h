#pragma once
// The push button every window places: the look's button picture stretched over the
// whole button with fixed corners, an optional glyph beside the caption, and the
// look's focus cue (a bold caption in MacOS and BlueGlass, a dotted rectangle elsewhere).

#include "skin/controls/TsuiCustomButton.h"

class TsuiButton : public TsuiCustomButton {
    Q_OBJECT
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(TsuiButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(unsigned ResHandle READ ResHandle WRITE SetResHandle)

public:
    enum TsuiButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    Q_ENUM(TsuiButtonLayout)

    explicit TsuiButton(QWidget* parent = nullptr);

    bool IsPushButton() const override { return true; }

    QImage Glyph() const { return m_glyph; }
    void SetGlyph(const QImage& glyph);
    TsuiButtonLayout Layout() const { return m_layout; }
    void SetLayout(TsuiButtonLayout layout);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int spacing);
    // Kept for stored designs: always 0, writes are ignored.
    unsigned ResHandle() const { return 0; }
    void SetResHandle(unsigned) {}

    // Where the caption starts when a glyph is shown (worked out on every paint).
    QPoint CaptionPosition() const { return m_captionPos; }

protected:
    void UIStyleChanged() override;
    void PaintPic(QPainter& canvas, const QImage& picture) override;
    void PaintText(QPainter& canvas, const QString& caption) override;
    void PaintFocus(QPainter& canvas) override;

private:
    QImage m_glyph;
    TsuiButtonLayout m_layout = blGlyphLeft;
    QPoint m_captionPos;
    int m_spacing = 4;
};

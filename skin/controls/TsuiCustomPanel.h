#pragma once
// A panel without bevels that shows a picture (at its origin, stretched or tiled),
// optionally over its parent's background, and a caption.

#include "skin/SuiAlign.h"
#include "SuiControl.h"

#include <QImage>
#include <QWidget>

class TsuiCustomPanel : public QWidget {
    Q_OBJECT

public:
    enum TsuiDrawStyle { suiNormal, suiStretch, suiTile };
    Q_ENUM(TsuiDrawStyle)

    explicit TsuiCustomPanel(QWidget* parent = nullptr);

    QImage Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);
    bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool on);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    TsuiDrawStyle DrawStyle() const { return m_drawStyle; }
    void SetDrawStyle(TsuiDrawStyle style);
    // A fixed caption position; -1 in either aligns the caption by Alignment.
    int CaptionPosX() const { return m_captionLeft; }
    void SetCaptionPosX(int x);
    int CaptionPosY() const { return m_captionTop; }
    void SetCaptionPosY(int y);
    Qt::Alignment Alignment() const { return m_alignment; }
    void SetAlignment(Qt::Alignment alignment);
    // The window text: the caption drawn over the picture.
    QString Text() const { return m_text; }
    void SetText(const QString& text);
    // The background colour; until set it follows the parent's.
    platform::COLORREF Color() const;
    void SetColor(platform::COLORREF color);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    TAlign Align() const { return m_aligner->Align(); }
    void SetAlign(TAlign align);

protected:
    virtual void ClearPanel() { update(); }
    // Told where the caption was last drawn when the text changes.
    virtual void RepaintText(const QRect& /*captionRect*/) {}
    virtual void PictureChanged();

    // Background, picture and caption, as the panel paints them.
    void PaintPanel(QPainter& canvas);
    QColor BackgroundColor() const;
    // The colour the caption font is drawn in.
    QColor FontColor() const;
    void SetFontColor(platform::COLORREF color);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyAutoSize();

    QImage m_picture;
    bool m_transparent = false;
    bool m_autoSize = false;
    int m_captionLeft = -1;
    int m_captionTop = -1;
    TsuiDrawStyle m_drawStyle = suiNormal;
    QRect m_captionRect;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
    QString m_text;
    platform::COLORREF m_color = platform::kSystemColorFlag | platform::COLOR_BTNFACE;
    bool m_parentColor = true;
    int m_borderWidth = 0;
    SuiAligner* m_aligner;
};

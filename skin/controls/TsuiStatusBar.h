#pragma once
// A status bar (panels or one simple text, and a size grip) in the look's form colour,
// with a flat grip of its own on windows the user may size. On a maximised window the
// grip is a plain square and sizes nothing.

#include "skin/SuiAlign.h"
#include "SuiControl.h"
#include "skin/FileTheme.h"
#include "skin/Themes.h"

#include <QList>
#include <QWidget>

class TsuiStatusBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(uint PanelColor READ PanelColor WRITE SetPanelColor)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool SimplePanel READ SimplePanel WRITE SetSimplePanel)
    Q_PROPERTY(QString SimpleText READ SimpleText WRITE SetSimpleText)
    Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)
    Q_PROPERTY(SuiLayout::TAlign Align READ Align WRITE SetAlign)

public:
    struct Panel {
        QString text;
        int width = 50;
    };

    explicit TsuiStatusBar(QWidget* parent = nullptr);

    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* theme);
    // The same value as Color.
    platform::COLORREF PanelColor() const { return Color(); }
    void SetPanelColor(platform::COLORREF color) { SetColor(color); }
    platform::COLORREF Color() const { return m_color; }
    void SetColor(platform::COLORREF color);
    bool SimplePanel() const { return m_simplePanel; }
    void SetSimplePanel(bool on);
    QString SimpleText() const { return m_simpleText; }
    void SetSimpleText(const QString& text);
    bool SizeGrip() const { return m_sizeGrip; }
    void SetSizeGrip(bool on);
    TAlign Align() const { return m_aligner->Align(); }
    void SetAlign(TAlign align) { m_aligner->SetAlign(align); }

    // Panels left to right; the last one takes what is left.
    QList<Panel> Panels() const { return m_panels; }
    void SetPanels(const QList<Panel>& panels);
    void SetPanelText(int index, const QString& text);

    // Whether the window the bar sits on may be sized by the user.
    bool ParentSizeable() const;
    // Whether the grip square currently sizes the window.
    bool GripActive() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect GripSquare() const;
    bool ParentMaximized() const;

    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
    platform::COLORREF m_color = 0;
    bool m_simplePanel = false;
    QString m_simpleText;
    bool m_sizeGrip = true;
    QList<Panel> m_panels;
    SuiAligner* m_aligner;
    // A manual sizing drag where the window system cannot size the window itself.
    bool m_sizing = false;
    QPoint m_sizingOrigin;
    QSize m_sizingStart;
};

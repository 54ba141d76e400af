#pragma once
// A bordered panel with a title strip (the look's side-bar picture), a caption in the
// strip and a fold button at its right end that collapses the panel to its strip and
// expands it again with a short animation. The expanded height survives collapsing.

#include "skin/SuiAlign.h"
#include "SuiControl.h"
#include "skin/FileTheme.h"
#include "skin/Themes.h"

#include <QImage>
#include <QWidget>

class TsuiPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(uint BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(bool ShowButton READ ShowButton WRITE SetShowButton)
    Q_PROPERTY(int Height READ Height2 WRITE SetHeight2)
    Q_PROPERTY(bool Pushed READ Pushed)
    Q_PROPERTY(uint CaptionFontColor READ CaptionFontColor WRITE SetCaptionFontColor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(SuiLayout::TAlign Align READ Align WRITE SetAlign)

public:
    explicit TsuiPanel(QWidget* parent = nullptr);

    platform::COLORREF BorderColor() const { return m_borderColor; }
    void SetBorderColor(platform::COLORREF color);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* theme);
    bool ShowButton() const { return m_showButton; }
    void SetShowButton(bool on);
    // The expanded height; applied to the real height only while expanded.
    int Height2() const { return m_expanded && !m_animating ? height() : m_height; }
    void SetHeight2(int height);
    bool Pushed() const { return !m_expanded; }
    platform::COLORREF CaptionFontColor() const { return m_captionFontColor; }
    void SetCaptionFontColor(platform::COLORREF color);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    platform::COLORREF Color() const { return m_color; }
    void SetColor(platform::COLORREF color);
    TAlign Align() const { return m_aligner->Align(); }
    void SetAlign(TAlign align);

    // Collapse to the title strip in steps of 15 pixels, then raise OnPush. A panel
    // docked to the whole parent, the left or the right cannot collapse: the user is
    // told so and nothing changes.
    void Push();
    // Expand again to the expanded height in steps of 15 pixels, then raise OnPop.
    void Pop();

    int TitleHeight() const { return m_titlePicture.height(); }
    // Where the fold button is hit-tested.
    QRect ButtonRect() const;

signals:
    void OnPush();
    void OnPop();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool ButtonShown() const;
    void UpdateChildMargins();
    // Sets the real height for one animation step and shows it at once; false when the
    // panel went away while pending events ran.
    bool AnimateTo(int height);

    platform::COLORREF m_borderColor = 0;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
    QImage m_titlePicture;
    bool m_showButton = true;
    bool m_buttonHot = false;
    bool m_expanded = true;
    int m_height = 100;
    bool m_animating = false;
    bool m_fileThemeUpdate = false;
    platform::COLORREF m_captionFontColor = 0xFFFFFF;
    QString m_caption;
    platform::COLORREF m_color = 0xFFFFFF;
    SuiAligner* m_aligner;
};

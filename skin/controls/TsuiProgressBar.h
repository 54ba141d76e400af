#pragma once
// A progress bar in the look's colours: the control border and background, filled with
// the look's progress picture. Without a known amount it shows a block sweeping to and
// fro instead of a number it would have to make up.

#include "SuiControl.h"
#include "skin/FileTheme.h"
#include "skin/Themes.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

class TsuiProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(bool Marquee READ Marquee WRITE SetMarquee)

public:
    explicit TsuiProgressBar(QWidget* parent = nullptr);

    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle look);
    TsuiFileTheme* FileTheme() const { return m_fileTheme.Get(); }
    void SetFileTheme(TsuiFileTheme* theme);

    int Position() const { return m_position; }
    void SetPosition(int position);  // clamped to 0..Max
    int Max() const { return m_max; }
    void SetMax(int max);
    // An amount that is not known: a sweeping block, moved by the bar's own timer while
    // the bar is shown.
    bool Marquee() const { return m_marquee; }
    void SetMarquee(bool on);
    // Moves the sweeping block one step (the timer calls it; tests may too).
    void Step();

    // Where the fill goes, inside the border.
    QRect FillRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateTimer();

    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    SuiFileThemeRef m_fileTheme;
    QImage m_picture;
    QColor m_border, m_background;
    int m_position = 0;
    int m_max = 100;
    bool m_marquee = false;
    int m_sweep = 0;  // the marquee block's step
    QTimer m_timer;
};

#include "TsuiPanel.h"

#include "platform/MessageBox.h"
#include "skin/SuiPicture.h"
#include "skin/SuiLook.h"
#include "skin/Resources.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {

constexpr int kButtonWidth = 13;
constexpr int kButtonHeight = 12;
constexpr int kStep = 15;

}  // namespace

TsuiPanel::TsuiPanel(QWidget* parent)
    : QWidget(parent),
      m_fileTheme([this] {
          // The panel keeps its look to itself, but a theme that goes away leaves its
          // children on the fallback look too.
          ContainerApplyUIStyle(this, Sui::DeepBlue, nullptr);
          SetUIStyle(Sui::DeepBlue);
      }),
      m_aligner(new SuiAligner(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(100, 100);
    SetUIStyle(GetSUIFormStyle(parent ? parent->window() : nullptr));
}

void TsuiPanel::SetBorderColor(platform::COLORREF color)
{
    m_borderColor = color;
    update();
}

void TsuiPanel::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    if (m_fileThemeUpdate && look != Sui::FromThemeFile)
        return;
    m_color = 0xFFFFFF;
    TsuiFileTheme* fileTheme = m_fileTheme.Get();
    TsuiUIStyle resolved{};
    if (UsingFileTheme(fileTheme, look, resolved)) {
        fileTheme->GetBitmap(SUI_THEME_SIDECHANNEL_BAR_IMAGE, &m_titlePicture);
        m_borderColor = fileTheme->GetColor(SUI_THEME_CONTROL_BORDER_COLOR);
        // The theme file's font colour entry names a family of looks; the dark ones get
        // black captions.
        const auto style = int(fileTheme->GetColor(SUI_THEME_CONTROL_FONT_COLOR));
        const bool dark = style == SUI_THEME_FILE_STYLE_2 || style == SUI_THEME_FILE_STYLE_3 ||
                          style == SUI_THEME_FILE_STYLE_4 || style == SUI_THEME_FILE_STYLE_5;
        m_captionFontColor = dark ? 0x000000 : 0xFFFFFF;
    } else {
        GetInsideThemeBitmap(resolved, SUI_THEME_SIDECHANNEL_BAR_IMAGE, &m_titlePicture);
        m_borderColor = GetInsideThemeColor(resolved, SUI_THEME_CONTROL_BORDER_COLOR);
        m_captionFontColor =
            resolved == Sui::MacOS ? 0x000000 : GetInsideThemeColor(resolved, SUI_THEME_MENU_SELECTED_FONT_COLOR);
    }
    // The strip may have changed height: the children move with it.
    UpdateChildMargins();
    update();
}

void TsuiPanel::SetFileTheme(TsuiFileTheme* theme)
{
    m_fileTheme.Set(theme);
    m_fileThemeUpdate = true;
    SetUIStyle(m_uiStyle);
    m_fileThemeUpdate = false;
}

void TsuiPanel::SetShowButton(bool on)
{
    m_showButton = on;
    update();
}

void TsuiPanel::SetHeight2(int height)
{
    m_height = height;
    if (m_expanded)
        resize(width(), height);
}

void TsuiPanel::SetCaptionFontColor(platform::COLORREF color)
{
    m_captionFontColor = color;
    update();
}

void TsuiPanel::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void TsuiPanel::SetColor(platform::COLORREF color)
{
    m_color = color;
    update();
}

void TsuiPanel::SetAlign(TAlign align)
{
    m_aligner->SetAlign(align);
    update();
}

void TsuiPanel::UpdateChildMargins()
{
    setContentsMargins(3, TitleHeight() + 3, 3, 3);
}

bool TsuiPanel::ButtonShown() const
{
    const TAlign align = Align();
    return m_showButton && align != SuiLayout::alClient && align != SuiLayout::alLeft && align != SuiLayout::alRight;
}

QRect TsuiPanel::ButtonRect() const
{
    return QRect(width() - 1 - kButtonWidth - 4, (TitleHeight() - kButtonHeight) / 2, kButtonWidth, kButtonHeight);
}

bool TsuiPanel::AnimateTo(int height)
{
    QPointer<TsuiPanel> alive(this);
    resize(width(), height);
    repaint();
    QCoreApplication::processEvents();
    return !alive.isNull();
}

void TsuiPanel::Push()
{
    // Input keeps arriving during the animation; a second fold waits for the first.
    if (m_animating)
        return;
    const TAlign align = Align();
    if (align == SuiLayout::alClient || align == SuiLayout::alLeft || align == SuiLayout::alRight) {
        platform::MessageBoxA(window(), "Can't push when Align is alClient, alLeft or alRight.", "Error",
                              platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    const int target = m_titlePicture.isNull() ? 20 : TitleHeight();
    m_animating = true;
    while (target < height() - kStep)
        if (!AnimateTo(height() - kStep))
            return;
    resize(width(), target);
    repaint();
    m_animating = false;
    m_expanded = false;
    update();
    emit OnPush();
}

void TsuiPanel::Pop()
{
    if (m_animating)
        return;
    m_animating = true;
    while (height() + kStep < m_height)
        if (!AnimateTo(height() + kStep))
            return;
    resize(width(), m_height);
    repaint();
    m_animating = false;
    m_expanded = true;
    update();
    emit OnPop();
}

void TsuiPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_animating && m_expanded)
        m_height = height();
}

void TsuiPanel::paintEvent(QPaintEvent* /*event*/)
{
    SuiOffscreen offscreen(this);
    QPainter& canvas = offscreen.Painter();
    const int w = width(), h = height();
    canvas.fillRect(rect(), platform::ToQColor(m_color));
    const QColor border = platform::ToQColor(m_borderColor);
    canvas.fillRect(0, 0, w, 1, border);
    canvas.fillRect(0, h - 1, w, 1, border);
    canvas.fillRect(0, 0, 1, h, border);
    canvas.fillRect(w - 1, 0, 1, h, border);

    const int title = TitleHeight();
    if (!m_titlePicture.isNull())
        canvas.drawImage(RectLTRB(1, 0, w - 1, title), m_titlePicture);

    canvas.setPen(platform::ToQColor(m_captionFontColor));
    canvas.drawText(RectLTRB(10, 0, w - 1, title), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);

    if (!ButtonShown())
        return;
    const QRect button = ButtonRect();
    m_buttonHot = button.contains(mapFromGlobal(QCursor::pos()));
    const int frame = m_expanded ? (m_buttonHot ? 2 : 1) : (m_buttonHot ? 4 : 3);
    QImage picture;
    SpitBitmap(LoadBitmapResource(QStringLiteral("PANEL_BUTTON")), picture, 4, frame);
    canvas.drawImage(w - kButtonWidth - 4, button.top() / 2 + 2, picture);
}

void TsuiPanel::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    // The button lights up and goes dark as the pointer crosses it.
    if (ButtonShown() && (event->position().y() < TitleHeight() || m_buttonHot))
        update(ButtonRect().adjusted(-2, -2, 2, 8));
}

void TsuiPanel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_buttonHot)
        update();
}

void TsuiPanel::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    QPointer<TsuiPanel> alive(this);
    if (event->button() == Qt::LeftButton && ButtonShown() && ButtonRect().contains(event->position().toPoint())) {
        if (m_expanded)
            Push();
        else
            Pop();
    }
    if (alive)
        update();
}

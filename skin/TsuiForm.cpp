#include "TsuiForm.h"

#include "SuiPicture.h"
#include "SuiLook.h"
#include "SuiScreen.h"
#include "Resources.h"
#include "SuiApplication.h"
#include "SuiOffscreen.h"
#include "TsuiFormMenuBar.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cmath>

namespace {

constexpr int kFrame = TsuiForm::kFrameWidth;

// The application-wide keyboard hook: one slot, taken by the first frame made while it
// is free and given back by that frame. It serves the active window's frame: Alt+Space
// opens that window's control-box menu, and a key that is a shortcut of its menu runs the
// menu's item, although the window has no native menu.
class FormHook : public QObject {
public:
    static FormHook*& Slot()
    {
        static FormHook* hook = nullptr;
        return hook;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || QApplication::activePopupWidget())
            return false;
        // Once per key: when it reaches the widget with the focus (or the window itself).
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* window = QApplication::activeWindow();
        if (!window || widget->window() != window || (QApplication::focusWidget() && widget != QApplication::focusWidget() && widget != window))
            return false;
        TsuiForm* frame = TsuiForm::Of(window);
        if (!frame)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::AltModifier) {
            frame->PopupSystemMenu();
            return true;
        }
        return frame->ProcessKeyPress(key);
    }
};

// Pixels of a corner square of size r/2 that lie outside the r × r corner ellipse:
// those whose centres fall outside it.
int CornerInset(int row, int r)
{
    const double c = r / 2.0;
    const double dy = row + 0.5 - c;
    const double reach = c * c - dy * dy;
    if (reach < 0)
        return int(c);
    // Leftmost x whose centre x + 0.5 satisfies (x + 0.5 - c)^2 <= reach.
    const double x = c - 0.5 - std::sqrt(reach);
    return std::max(0, int(std::ceil(x - 1e-9)));
}

}  // namespace

TsuiForm::TsuiForm(QWidget* owner)
    : QWidget(owner), m_titleBar(nullptr), m_fileTheme([this] {
          // The theme went: the frame and its direct children fall back to DeepBlue.
          ContainerApplyUIStyle(this, Sui::DeepBlue, nullptr);
          SetUIStyle(Sui::DeepBlue);
      })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_titleBar = new TsuiTitleBar(this);
    connect(m_titleBar, &TsuiTitleBar::OnCustomBtnsClick, this, &TsuiForm::OnTitleBarCustomBtnsClick);
    connect(m_titleBar, &TsuiTitleBar::OnHelpBtnClick, this, &TsuiForm::OnTitleBarHelpBtnClick);
    bool taken = false;
    if (owner && owner->isWindow())
        for (QObject* child : owner->children())
            if (child != this && dynamic_cast<TsuiForm*>(child))
                taken = true;
    if (owner && owner->isWindow() && !taken)
        TakeOver(owner);
    SetUIStyle(Sui::DeepBlue);
}

void TsuiForm::TakeOver(QWidget* form)
{
    m_form = form;
    if (form->minimumWidth() != form->maximumWidth() || form->minimumWidth() < 125)
        form->setMinimumSize(std::max(form->minimumWidth(), 125), std::max(form->minimumHeight(), 50));
    setMinimumSize(125 - 2 * kFrame, 50 - 2 * kFrame);
    m_createdBounds = form->geometry();
    m_createdMaximized = form->isMaximized();
    m_menuBarColor = m_color;
    m_titleBar->SetCaption(form->windowTitle());

    // The frame owns the window's whole look from now on. Where the window system does not
    // cut a window to its mask, the window has an alpha channel for its cut corners.
    const bool wasVisible = form->isVisible();
    m_cornersPaintedClear = SuiCornersPaintedClear();
    if (m_cornersPaintedClear)
        form->setAttribute(Qt::WA_TranslucentBackground);
    form->setWindowFlag(Qt::FramelessWindowHint, true);
    if (wasVisible)
        form->show();
    form->installEventFilter(this);
    LimitToScreen();
    if (!FormHook::Slot()) {
        FormHook::Slot() = new FormHook;
        qApp->installEventFilter(FormHook::Slot());
        m_ownsHook = true;
    }
    FitToForm();
}

TsuiForm::~TsuiForm()
{
    m_destroying = true;
    if (m_menu)
        m_menu->ShownBy(nullptr);
    if (m_ownsHook && FormHook::Slot()) {
        delete FormHook::Slot();
        FormHook::Slot() = nullptr;
    }
    if (m_form) {
        m_form->removeEventFilter(this);
        // A window that lives on without its frame gets the window system's frame back
        // (a window being destroyed is already hidden and is left alone).
        if (m_form->isVisible()) {
            m_form->clearMask();
            m_form->setWindowFlag(Qt::FramelessWindowHint, false);
            m_form->show();
        }
    }
}

TsuiForm* TsuiForm::Of(const QWidget* window)
{
    if (!window)
        return nullptr;
    for (QObject* child : window->children())
        if (auto* frame = dynamic_cast<TsuiForm*>(child); frame && frame->ServesForm())
            return frame;
    return nullptr;
}

void TsuiForm::SetClientSize(const QSize& size)
{
    if (!m_form) {
        resize(size);
        return;
    }
    m_form->resize(size + QSize(2 * kFrame, 2 * kFrame));
    FormSized();  // a hidden window hears of its new size only when it is shown
}

void TsuiForm::FitToForm()
{
    if (!m_form)
        return;
    const QRect client = m_form->rect().adjusted(kFrame, kFrame, -kFrame, -kFrame);
    if (geometry() != client)
        setGeometry(client);
}

void TsuiForm::OrderBars()
{
    // The title bar and the menu bar take the top of the frame before any other docked
    // control.
    if (m_menuBar)
        m_menuBar->lower();
    m_titleBar->lower();
    SuiAlignChildren(this);
}

void TsuiForm::SetFileTheme(TsuiFileTheme* fileTheme)
{
    if (fileTheme == m_fileTheme.Get())
        return;
    m_fileTheme.Set(fileTheme);
    SetUIStyle(m_uiStyle);
}

void TsuiForm::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    TsuiUIStyle resolved{};
    TsuiFileTheme* fileTheme = m_fileTheme.Get();
    const bool fromFile = UsingFileTheme(fileTheme, look, resolved);
    if (fromFile) {
        m_borderColor = fileTheme->GetColor(SUI_THEME_FORM_BORDER_COLOR);
        m_borderWidth = fileTheme->GetInt(SUI_THEME_FORM_BORDERWIDTH_INT);
        m_color = fileTheme->GetColor(SUI_THEME_FORM_BACKGROUND_COLOR);
        if (m_menuBar) {
            const int style = int(fileTheme->GetColor(SUI_THEME_CONTROL_FONT_COLOR));
            SetMenuBarColor(style == SUI_THEME_FILE_STYLE_2 ? 0xAC5B3B
                            : style == SUI_THEME_FILE_STYLE_3 ? 0x996733
                                                              : m_color);
        }
    } else {
        m_borderColor = GetInsideThemeColor(resolved, SUI_THEME_FORM_BORDER_COLOR);
        m_borderWidth = GetInsideThemeInt(resolved, SUI_THEME_FORM_BORDERWIDTH_INT);
        m_color = GetInsideThemeColor(resolved, SUI_THEME_FORM_BACKGROUND_COLOR);
        SetMenuBarColor(m_color);
    }
    ApplyColor();
    SetRoundCorner(fromFile ? fileTheme->GetInt(SUI_THEME_FORM_ROUNDCORNER_INT)
                            : GetInsideThemeInt(resolved, SUI_THEME_FORM_ROUNDCORNER_INT));
    m_titleBar->SetFileTheme(fileTheme);
    m_titleBar->SetUIStyle(look);
    if (m_menu) {
        m_menu->SetUIStyle(look);
        m_menu->SetFileTheme(fileTheme);
    }
    if (m_autoUpdateSub)
        ContainerApplyUIStyle(this, look, fileTheme);
    update();
    if (m_menuBar)
        m_menuBar->update();
    RepaintBorder();
}

void TsuiForm::SetBorderColor(platform::COLORREF color)
{
    m_borderColor = color;
    RepaintBorder();
}

void TsuiForm::SetBorderWidth(int width)
{
    m_borderWidth = width;
    RepaintBorder();
}

void TsuiForm::SetColor(platform::COLORREF color)
{
    m_color = color;
    ApplyColor();
    update();
    RepaintBorder();
}

void TsuiForm::ApplyColor()
{
    // Controls that show their parent's colour show the frame's.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, platform::ToQColor(m_color));
    setPalette(pal);
}

void TsuiForm::SetTitleBarVisible(bool on)
{
    if (on == TitleBarVisible())
        return;
    m_titleBar->setVisible(on);
    OrderBars();
    RepaintBorder();
}

void TsuiForm::SetCaption(const QString& caption)
{
    m_titleBar->SetCaption(caption);
    if (m_form)
        m_form->setWindowTitle(caption);
}

void TsuiForm::SetPanel(QWidget* panel)
{
    if (panel == this) {
        platform::MessageBoxA(m_form ? m_form.data() : window(),
                              "Sorry, you can't select the Form assign to FormPanel property", "Error",
                              platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    m_panel = panel;
    if (!panel)
        return;
    if (panel->parentWidget() != this)
        panel->setParent(this);
    auto* aligner = panel->findChild<SuiAligner*>(QString(), Qt::FindDirectChildrenOnly);
    if (!aligner)
        aligner = new SuiAligner(panel);
    aligner->SetAlign(SuiLayout::alClient);
    // A panel that fills the frame shows no caption of its own.
    for (const char* name : {"Caption", "Text"})
        if (IsHasProperty(panel, name))
            panel->setProperty(name, QString());
    panel->show();
}

void TsuiForm::SetTitleBarButtons(TsuiTitleBarButtons* buttons)
{
    if (buttons)
        m_titleBar->Buttons()->Assign(*buttons);
}

void TsuiForm::SetTitleBarSections(TsuiTitleBarSections* sections)
{
    if (sections)
        m_titleBar->Sections()->Assign(*sections);
}

void TsuiForm::SetMenu(TsuiMenu* menu)
{
    if (m_menu == menu)
        return;
    for (const auto& c : m_menuConnections)
        disconnect(c);
    m_menuConnections.clear();
    if (m_menu)
        m_menu->ShownBy(nullptr);
    m_menu = menu;
    if (menu) {
        menu->ShownBy(this);
        m_menuConnections = {
            connect(menu, &TsuiMenu::ItemsChanged, this, &TsuiForm::UpdateMenu),
            connect(menu, &TsuiMenu::ItemChanged, this, &TsuiForm::UpdateTopMenu),
            connect(menu, &TsuiMenu::FontChanged, this, &TsuiForm::RepaintMenuBar),
            connect(menu, &QObject::destroyed, this,
                    [this] {
                        delete m_menuBar;
                        m_menuBar = nullptr;
                        m_menu = nullptr;
                        OrderBars();
                        RepaintBorder();
                    }),
        };
        if (!m_menuBar) {
            m_menuBar = new TsuiFormMenuBar(this);
            m_menuBar->SetColor(m_menuBarColor);
            m_menuBar->SetBarHeight(m_menuBarHeight);
            m_menuBar->show();
        }
        m_menuBar->SetMenu(menu);
        UpdateMenu();
    } else {
        delete m_menuBar;
        m_menuBar = nullptr;
    }
    OrderBars();
    RepaintBorder();
}

void TsuiForm::UpdateMenu()
{
    if (!m_menu) {
        delete m_menuBar;
        m_menuBar = nullptr;
        return;
    }
    if (m_menuBar)
        m_menuBar->Rebuild();
}

void TsuiForm::UpdateTopMenu()
{
    if (m_menuBar)
        m_menuBar->UpdateTop();
}

void TsuiForm::RepaintMenuBar()
{
    if (m_menuBar)
        m_menuBar->Rebuild();
}

void TsuiForm::SetMenuBarColor(platform::COLORREF color)
{
    m_menuBarColor = color;
    if (m_menuBar)
        m_menuBar->SetColor(color);
    RepaintBorder();
}

void TsuiForm::SetMenuBarHeight(int height)
{
    m_menuBarHeight = height;
    if (m_menuBar)
        m_menuBar->SetBarHeight(height);
}

int TsuiForm::RoundCorner() const
{
    return TitleBarVisible() ? m_titleBar->RoundCorner() : 0;
}

void TsuiForm::SetRoundCorner(int corner)
{
    m_titleBar->SetRoundCorner(corner);
    RegionWindow();
}

QRegion TsuiForm::WindowRegion() const
{
    if (!m_form)
        return {};
    const int w = m_form->width(), h = m_form->height();
    const int r = RoundCorner();
    QRegion region(0, 0, w, h);
    if (r <= 1)
        return region;
    // Only the top corners are round: the bottom ones stay square.
    for (int row = 0; row < (r + 1) / 2 && row < h; ++row) {
        const int inset = CornerInset(row, r);
        if (inset <= 0)
            continue;
        region -= QRegion(0, row, inset, 1);
        region -= QRegion(w - inset, row, inset, 1);
    }
    return region;
}

void TsuiForm::RegionWindow()
{
    if (!m_form)
        return;
    m_regionSize = m_form->size();
    if (RoundCorner() <= 1)
        m_form->clearMask();
    else
        m_form->setMask(WindowRegion());
}

void TsuiForm::RepaintBorder()
{
    if (m_form)
        m_form->update();
}

void TsuiForm::PaintFormBorder(QPainter& canvas)
{
    if (m_destroying || !m_form || m_form->isMinimized())
        return;
    const int Wf = m_form->width(), Hf = m_form->height();
    const int BW = m_borderWidth;
    const bool titleShown = TitleBarVisible();
    const int T = titleShown ? m_titleBar->height() : 0;
    const QColor border = platform::ToQColor(m_borderColor);
    const QColor color = platform::ToQColor(m_color);
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);

    canvas.fillRect(RectLTRB(0, 0, BW, Hf), border);
    canvas.fillRect(RectLTRB(0, Hf - BW, Wf, Hf), border);
    canvas.fillRect(RectLTRB(Wf - BW, 0, Wf, Hf), border);

    if (BW < 4) {
        canvas.fillRect(RectLTRB(BW, T, kFrame, Hf - BW), color);
        canvas.fillRect(RectLTRB(BW, Hf - kFrame, Wf - BW, Hf - BW), color);
        canvas.fillRect(RectLTRB(Wf - kFrame, T, Wf - BW, Hf - BW), color);
        if (m_menuBar && !m_menuBar->isHidden()) {
            const int top = m_titleBar->height() + kFrame, bottom = top + m_menuBar->height();
            const QColor bar = platform::ToQColor(m_menuBarColor);
            canvas.fillRect(RectLTRB(BW, top, kFrame, bottom), bar);
            canvas.fillRect(RectLTRB(Wf - kFrame, top, Wf - BW, bottom), bar);
        }
    }

    if (titleShown && m_titleBar->CanPaint() && BW < 4) {
        const QImage left = m_titleBar->GetLeftImage(), right = m_titleBar->GetRightImage(),
                     middle = m_titleBar->GetCenterImage();
        const int lw = left.width(), rw = right.width(), strip = kFrame - BW;
        // Each window column shows the picture column the title bar would show there, so
        // the pictures run on into the frame without a seam (the title bar draws them
        // three pixels up and left of its own origin).
        if (strip > 0) {
            canvas.drawImage(QPoint(BW, 0), left.copy(BW, 0, strip, left.height()));
            if (rw >= kFrame)
                canvas.drawImage(QPoint(Wf - kFrame, 0), right.copy(rw - kFrame, 0, strip, right.height()));
            else
                canvas.drawImage(QRect(Wf - kFrame, 0, strip, right.height()), right);
        }
        canvas.save();
        canvas.setClipRect(RectLTRB(2, 0, Wf - kFrame, kFrame));
        canvas.drawImage(0, 0, left);
        canvas.drawImage(Wf - rw, 0, right);
        if (Wf - rw > lw)
            canvas.drawImage(RectLTRB(lw, 0, Wf - rw, middle.height()), middle);
        canvas.restore();
    }

    if (BW == 1 && RoundCorner() == 11) {
        const int R = 11;
        canvas.setPen(QPen(border, 1));
        canvas.setBrush(Qt::NoBrush);
        canvas.setRenderHint(QPainter::Antialiasing, false);
        // The outlines of the round corners, from the ellipses of twice the corner size.
        canvas.drawArc(QRect(Wf - 2 * R + 1, -1, 2 * R - 1, 2 * R - 1), 0, 90 * 16);
        canvas.drawArc(QRect(-1, -1, 2 * R - 1, 2 * R - 1), 90 * 16, 90 * 16);
    }

    if (!titleShown) {
        canvas.fillRect(RectLTRB(0, 0, Wf, 1), border);
        canvas.fillRect(RectLTRB(BW, 1, Wf - BW, kFrame), color);
    }
    canvas.restore();
}

void TsuiForm::paintEvent(QPaintEvent*)
{
    if (m_destroying)
        return;
    SuiOffscreen offscreen(this);
    QPainter& canvas = offscreen.Painter();
    const char* pattern = nullptr;
    if (!m_fileTheme.Get() || m_uiStyle != Sui::FromThemeFile) {
        TsuiUIStyle resolved{};
        UsingFileTheme(m_fileTheme.Get(), m_uiStyle, resolved);
        if (resolved == Sui::MacOS)
            pattern = "MACOS_FORM_BACKGROUND";
        else if (resolved == Sui::Protein)
            pattern = "PROTEIN_FORM_BACKGROUND";
    }
    if (pattern)
        canvas.fillRect(rect(), QBrush(LoadBitmapResource(QString::fromLatin1(pattern))));
    else
        canvas.fillRect(rect(), platform::ToQColor(m_color));
}

void TsuiForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    OrderBars();
}

void TsuiForm::LimitToScreen()
{
    // A maximised window fills its screen's available area with the bottom edge one pixel
    // higher: the window manager maximises it to its largest size, which is this.
    if (!m_form || m_form->minimumSize() == m_form->maximumSize())
        return;
    QScreen* screen = m_form->screen() ? m_form->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize largest = screen->availableGeometry().size() - QSize(0, 1);
    if (m_form->maximumSize() != largest)
        m_form->setMaximumSize(largest);
}

void TsuiForm::FormSized()
{
    if (!m_form)
        return;
    if (m_createdMaximized && !m_form->isMaximized()) {
        m_createdMaximized = false;
        m_form->setGeometry(m_createdBounds);
    }
    FitToForm();
    RepaintBorder();
    m_titleBar->ProcessMaxBtn();
    if (m_form->size() != m_regionSize)
        RegionWindow();
}

bool TsuiForm::ProcessKeyPress(const QKeyEvent* event)
{
    if (m_destroying || !m_form || !m_menu || !FormHasFocus(m_form) || !m_form->isActiveWindow())
        return false;
    const QKeySequence key(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    return m_menu->IsShortCut(key);
}

void TsuiForm::PopupSystemMenu()
{
    QWidget* form = m_form ? m_form.data() : window();
    const QPoint at = form->mapToGlobal(QPoint(0, kFrame + (TitleBarVisible() ? m_titleBar->height() : 0)));
    m_titleBar->ControlBoxMenu()->Popup(at.x(), at.y());
}

bool TsuiForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_form || m_destroying)
        return false;
    switch (event->type()) {
    case QEvent::Paint: {
        // The window paints itself first; its border is the frame's.
        static_cast<QObject*>(m_form)->event(event);
        QPainter canvas(m_form);
        SuiComposeOnce(canvas, m_form->rect(), [this](QPainter& p) { PaintFormBorder(p); });
        if (m_cornersPaintedClear && RoundCorner() > 1) {
            // What the mask leaves out is clear; it lies in the frame's own strips, where
            // no child paints.
            canvas.setCompositionMode(QPainter::CompositionMode_Clear);
            for (const QRect& cut : QRegion(m_form->rect()) - WindowRegion())
                canvas.fillRect(cut, Qt::transparent);
        }
        return true;
    }
    case QEvent::Resize:
    case QEvent::WindowStateChange: FormSized(); break;
    case QEvent::Show:
    case QEvent::Move: LimitToScreen(); break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ActivationChange: m_titleBar->SetActive(m_form->isActiveWindow()); break;
    case QEvent::KeyPress: {
        // A key no control used: Alt and a letter drop down the menu of that letter.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_menuBar && key->modifiers() == Qt::AltModifier && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z &&
            m_menuBar->OpenByAccelerator(QChar(key->key())))
            return true;
        break;
    }
    default: break;
    }
    return false;
}

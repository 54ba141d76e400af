#include "TsuiTitleBar.h"

#include "SuiPicture.h"
#include "SuiScreen.h"
#include "Resources.h"
#include "SuiApplication.h"
#include "SuiOffscreen.h"

#include <QApplication>
#include <QDateTime>
#include <QMenu>
#include <QMouseEvent>
#include <QWindow>

namespace {

bool IsTransientTopLevel(const QWidget* w)
{
    const Qt::WindowType type = w->windowType();
    return type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen;
}

// Closes the window on a second click on the control box that lands while its menu is
// open (a double click on the control box closes the window, as everywhere).
class ControlBoxDoubleClick : public QObject {
public:
    ControlBoxDoubleClick(QMenu* menu, QWidget* bar, QRect box)
        : QObject(menu), m_bar(bar), m_box(box), m_shown(QDateTime::currentMSecsSinceEpoch())
    {
        menu->installEventFilter(this);
        connect(menu, &QMenu::aboutToHide, this, [this, menu] {
            menu->removeEventFilter(this);
            deleteLater();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_bar || mouse->button() != Qt::LeftButton)
            return false;
        const QPoint at = m_bar->mapFromGlobal(mouse->globalPosition().toPoint());
        if (!InRect(at, m_box) || QDateTime::currentMSecsSinceEpoch() - m_shown > QApplication::doubleClickInterval())
            return false;
        QPointer<QWidget> form = m_bar->window();
        static_cast<QMenu*>(watched)->hide();
        if (form)
            form->close();
        return true;
    }

private:
    QPointer<QWidget> m_bar;
    QRect m_box;
    qint64 m_shown;
};

}  // namespace

TsuiTitleBar::TsuiTitleBar(QWidget* parent)
    : QWidget(parent),
      m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); }),
      m_sections(new TsuiTitleBarSections(this)),
      m_buttons(new TsuiTitleBarButtons(this, this)),
      m_controlBoxMenu(new TsuiTitleBarPopupMenu(m_buttons, this)),
      m_aligner(new SuiAligner(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    connect(m_sections, &TsuiTitleBarSections::Changed, this, qOverload<>(&QWidget::update));
    for (const TsuiTitleBarBtnType type :
         {SuiTitleBar::suiControlBox, SuiTitleBar::suiClose, SuiTitleBar::suiMax, SuiTitleBar::suiMin})
        m_buttons->Add()->SetButtonType(type);
    m_font = QFont(QStringLiteral("Tahoma"));
    m_font.setPointSize(8);
    m_font.setBold(true);
    m_aligner->SetAlign(SuiLayout::alTop);
    SetUIStyle(GetSUIFormStyle(parent));
}

TsuiTitleBar::~TsuiTitleBar()
{
    // The buttons talk to the bar while they go; they go first.
    delete m_buttons;
    m_buttons = nullptr;
}

bool TsuiTitleBar::InForm() const
{
    return dynamic_cast<const TsuiFormLook*>(parentWidget()) != nullptr;
}

bool TsuiTitleBar::CanPaint() const
{
    if (m_sections->Count() != 3)
        return false;
    for (int i = 0; i < 3; ++i)
        if (m_sections->Item(i)->Picture().isNull())
            return false;
    return true;
}

QImage TsuiTitleBar::GetLeftImage() const
{
    return m_sections->Count() > 0 ? m_sections->Item(0)->Picture() : QImage();
}

QImage TsuiTitleBar::GetRightImage() const
{
    return m_sections->Count() > 1 ? m_sections->Item(1)->Picture() : QImage();
}

QImage TsuiTitleBar::GetCenterImage() const
{
    return m_sections->Count() > 2 ? m_sections->Item(2)->Picture() : QImage();
}

void TsuiTitleBar::SetFileTheme(TsuiFileTheme* fileTheme)
{
    m_fileTheme.Set(fileTheme);
    m_keepCaptionColor = true;
    SetUIStyle(m_uiStyle);
    m_keepCaptionColor = false;
}

void TsuiTitleBar::SetUIStyle(TsuiUIStyle look)
{
    m_uiStyle = look;
    if (m_custom) {
        update();
        return;
    }
    TsuiUIStyle resolved{};
    TsuiFileTheme* fileTheme = m_fileTheme.Get();
    const bool fromFile = UsingFileTheme(fileTheme, look, resolved);
    const auto picture = [&](int entry) {
        QImage image;
        if (fromFile)
            fileTheme->GetBitmap(entry, &image);
        else
            GetInsideThemeBitmap(resolved, entry, &image);
        return image;
    };
    const auto integer = [&](int entry) {
        return fromFile ? fileTheme->GetInt(entry) : GetInsideThemeInt(resolved, entry);
    };

    const QSignalBlocker quiet(m_sections);
    m_sections->Clear();
    TsuiTitleBarSection* left = m_sections->Add();
    left->SetPicture(picture(SUI_THEME_TITLEBAR_LEFT_IMAGE));
    left->SetAutoSize(true);
    TsuiTitleBarSection* right = m_sections->Add();
    right->SetPicture(picture(SUI_THEME_TITLEBAR_RIGHT_IMAGE));
    right->SetAutoSize(true);
    right->SetAlign(SuiTitleBar::suiRight);
    TsuiTitleBarSection* middle = m_sections->Add();
    middle->SetPicture(picture(SUI_THEME_TITLEBAR_CLIENT_IMAGE));
    middle->SetAlign(SuiTitleBar::suiClient);

    m_leftOffset = integer(SUI_THEME_TITLEBAR_BUTTON_LEFTOFFSET_INT);
    m_rightOffset = integer(SUI_THEME_TITLEBAR_BUTTON_RIGHTOFFSET_INT);
    m_buttonHeight = picture(SUI_THEME_TITLEBAR_BUTTON_IMAGE).height();
    m_buttonTopEntry = integer(SUI_THEME_TITLEBAR_BUTTON_TOP_INT);
    if (QWidget* form = window(); form != this && form->minimumWidth() != form->maximumWidth())
        form->setMinimumWidth(integer(SUI_THEME_FORM_MINWIDTH_INT));
    m_roundCorner = integer(SUI_THEME_FORM_ROUNDCORNER_INT);

    for (int i = 0; i < m_buttons->Count(); ++i)
        m_buttons->Item(i)->UpdateUIStyle(resolved);
    m_controlBoxMenu->SetUIStyle(resolved);
    m_controlBoxMenu->SetFileTheme(fileTheme);

    if (!m_keepCaptionColor) {
        bool black = look == Sui::MacOS;
        if (fromFile) {
            const int style = int(fileTheme->GetColor(SUI_THEME_CONTROL_FONT_COLOR));
            black = style == SUI_THEME_FILE_STYLE_1 || style == SUI_THEME_FILE_STYLE_3 ||
                    style == SUI_THEME_FILE_STYLE_4 || style == SUI_THEME_FILE_STYLE_5;
        }
        m_fontColor = black ? 0x000000 : 0xFFFFFF;
    }
    SetAutoSize(true);
    update();
}

void TsuiTitleBar::SetAutoSize(bool on)
{
    m_autoSize = on;
    ApplyAutoSize();
}

void TsuiTitleBar::ApplyAutoSize()
{
    if (!m_autoSize)
        return;
    if (m_sections->Count() == 0) {
        m_autoSize = false;
        return;
    }
    const int h = GetLeftImage().height() - (InForm() ? 3 : 0);
    if (h > 0 && h != height()) {
        resize(width(), h);
        SuiAlignChildren(parentWidget());  // a hidden window hears of no resize
    }
}

void TsuiTitleBar::SetButtonInterval(int interval)
{
    m_buttonInterval = interval;
    update();
}

void TsuiTitleBar::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void TsuiTitleBar::SetFont(const QFont& font)
{
    m_font = font;
    update();
}

void TsuiTitleBar::SetFontColor(platform::COLORREF color)
{
    m_fontColor = color;
    update();
}

void TsuiTitleBar::SetActive(bool active)
{
    m_formActive = active;
    update();
}

void TsuiTitleBar::SetLeftBtnXOffset(int offset)
{
    m_leftOffset = offset;
    update();
}

void TsuiTitleBar::SetRightBtnXOffset(int offset)
{
    m_rightOffset = offset;
    update();
}

void TsuiTitleBar::SetDrawAppIcon(bool on)
{
    m_drawAppIcon = on;
    update();
}

void TsuiTitleBar::ProcessMaxBtn()
{
    for (int i = 0; i < m_buttons->Count(); ++i)
        m_buttons->Item(i)->UpdateMaxPictures();
}

bool TsuiTitleBar::HostFormMaximized() const
{
    const QWidget* form = window();
    return form != this && form->isMaximized();
}

QRect TsuiTitleBar::ButtonRect(int index) const
{
    return Layout().buttons.value(index);
}

TsuiTitleBar::BarLayout TsuiTitleBar::Layout() const
{
    BarLayout layout;
    const int n = m_buttons ? m_buttons->Count() : 0;
    layout.buttons = QList<QRect>(n);
    const int top = ButtonTop();
    // Right-hand buttons from the right edge leftwards: the first in the collection is
    // the rightmost.
    int x = width() + m_rightOffset + 1;
    for (int i = 0; i < n; ++i) {
        const TsuiTitleBarButton* b = m_buttons->Item(i);
        if (!b->Visible() || b->ButtonType() == SuiTitleBar::suiControlBox)
            continue;
        x -= b->PicNormal().width() + m_buttonInterval + 1;
        layout.buttons[i] = QRect(x, top, b->PicNormal().width(), b->PicNormal().height());
    }
    layout.captionRight = x;

    int box = -1;
    for (int i = 0; i < n; ++i)
        if (m_buttons->Item(i)->Visible() && m_buttons->Item(i)->ButtonType() == SuiTitleBar::suiControlBox)
            box = i;
    if (box < 0) {
        layout.captionLeft = m_leftOffset != 0 ? m_leftOffset : 6;
        return layout;
    }
    const QImage& pic = m_buttons->Item(box)->PicNormal();
    layout.buttons[box] = QRect(m_leftOffset, top, pic.width(), pic.height());
    if (m_drawAppIcon) {
        layout.icon = QRect(m_leftOffset + 3, top, 16, 16);
        layout.captionLeft = m_leftOffset + 3 + 21;
    } else {
        layout.captionLeft = m_leftOffset + pic.width() + 5;
    }
    return layout;
}

int TsuiTitleBar::HotAt(const QPoint& point) const
{
    const BarLayout layout = Layout();
    // Right-hand buttons first, in collection order, then the control box.
    int box = -1;
    for (int i = 0; i < layout.buttons.size(); ++i) {
        if (layout.buttons[i].isNull())
            continue;
        if (m_buttons->Item(i)->ButtonType() == SuiTitleBar::suiControlBox) {
            box = i;
            continue;
        }
        if (InRect(point, layout.buttons[i]))
            return i;
    }
    return box >= 0 && InRect(point, layout.buttons[box]) ? box : -1;
}

void TsuiTitleBar::UpdateHot()
{
    m_hotIndex = HotAt(m_pointer);
}

QString TsuiTitleBar::ShownCaption() const
{
    const BarLayout layout = Layout();
    const QFontMetrics metrics(m_font);
    const int room = layout.captionRight - layout.captionLeft;
    if (metrics.horizontalAdvance(m_caption) <= room)
        return m_caption;
    // Characters go from the end until the rest and "..." fit; at worst "..." alone.
    const QString dots = QStringLiteral("...");
    QString rest = m_caption;
    while (!rest.isEmpty() && metrics.horizontalAdvance(rest + dots) > room)
        rest.chop(1);
    return rest + dots;
}

void TsuiTitleBar::DrawSectionsTo(QPainter& canvas)
{
    const int ox = InForm() ? -3 : 0, oy = ox;
    const QImage left = GetLeftImage(), right = GetRightImage(), middle = GetCenterImage();
    const int w = width(), lw = left.width(), rw = right.width();
    SuiComposeOnce(canvas, rect(), [&](QPainter& p) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (!left.isNull())
            p.drawImage(ox, oy, left);
        if (!right.isNull())
            p.drawImage(w - rw - ox, oy, right);
        if (!middle.isNull()) {
            const QRect target = RectLTRB(lw + ox, oy, w - rw - ox, oy + middle.height());
            if (target.width() > 0)
                p.drawImage(target, middle);
        }
    });
}

void TsuiTitleBar::DrawButtons(QPainter& canvas)
{
    const BarLayout layout = Layout();
    UpdateHot();
    for (int i = 0; i < m_buttons->Count(); ++i) {
        const TsuiTitleBarButton* b = m_buttons->Item(i);
        if (layout.buttons[i].isNull() || (b->ButtonType() == SuiTitleBar::suiControlBox && m_drawAppIcon))
            continue;
        const bool hot = i == m_hotIndex;
        QImage pic = hot ? (m_pressed ? b->PicMouseDown() : b->PicMouseOn()) : b->PicNormal();
        if (pic.isNull())
            continue;
        if (b->Transparent())
            pic = SuiKeyedImage(pic, pic.pixel(0, pic.height() - 1));
        canvas.drawImage(layout.buttons[i].topLeft(), pic);
    }
    if (layout.icon.isValid()) {
        const QIcon icon = QApplication::windowIcon();
        const QImage image = icon.isNull() ? LoadBitmapResource(QStringLiteral("MAINICON_16"))
                                           : icon.pixmap(16, 16).toImage();
        canvas.drawImage(layout.icon, image);
    }

    const int room = layout.captionRight - layout.captionLeft;
    if (room <= 0)
        return;
    const QString shown = ShownCaption();
    const QFontMetrics metrics(m_font);
    canvas.setFont(m_font);
    canvas.setPen(m_formActive ? platform::ToQColor(m_fontColor)
                               : platform::ToQColor(platform::kSystemColorFlag | platform::COLOR_INACTIVECAPTION));
    const int y = ButtonTop() + (m_buttonHeight - metrics.height()) / 2;
    canvas.save();
    canvas.setClipRect(QRect(layout.captionLeft, 0, room, height()));
    canvas.drawText(QRect(layout.captionLeft, y, room + metrics.horizontalAdvance(shown), metrics.height()),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    canvas.restore();
}

void TsuiTitleBar::paintEvent(QPaintEvent*)
{
    SuiOffscreen offscreen(this);
    QPainter& canvas = offscreen.Painter();
    DrawSectionsTo(canvas);
    DrawButtons(canvas);
}

bool TsuiTitleBar::event(QEvent* event)
{
    // Moved into or out of a frame, the bar shows three rows more or fewer.
    if (event->type() == QEvent::ParentChange)
        ApplyAutoSize();
    return QWidget::event(event);
}

void TsuiTitleBar::mousePressEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_pressed = true;
    UpdateHot();
    repaint();
    if (m_hotIndex < 0 && !HostFormMaximized() && window() != this) {
        m_pressed = false;
        m_dragArmed = true;
        m_dragStart = event->globalPosition().toPoint();
        update();
    }
}

void TsuiTitleBar::StartMove(const QPoint& globalPos)
{
    m_dragArmed = false;
    QWidget* form = window();
    QWindow* handle = form->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    // The window system does not move windows for us: follow the pointer ourselves.
    m_manualMove = true;
    m_dragOffset = m_dragStart - form->pos();
    form->move(globalPos - m_dragOffset);
}

void TsuiTitleBar::mouseMoveEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    UpdateHot();
    const QPoint global = event->globalPosition().toPoint();
    if (m_manualMove && (event->buttons() & Qt::LeftButton)) {
        window()->move(global - m_dragOffset);
        return;
    }
    // The first motion starts the move: the window system takes the window from where the
    // pointer is then, so the point grabbed stays under the pointer, while a click or a
    // double click without motion stays one.
    if (m_dragArmed && (event->buttons() & Qt::LeftButton) && global != m_dragStart) {
        StartMove(global);
        return;
    }
    update();
}

void TsuiTitleBar::mouseReleaseEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    m_dragArmed = false;
    m_manualMove = false;
    UpdateHot();
    const int hot = m_hotIndex;
    QPointer<TsuiTitleBar> alive(this);
    if (hot >= 0 && m_pressed) {
        m_pressed = false;
        TsuiTitleBarButton* button = m_buttons->Item(hot);
        const TsuiTitleBarBtnType type = button->ButtonType();
        if (type == SuiTitleBar::suiControlBox && !button->ControlBoxMenu()) {
            PopupControlBoxMenu(m_controlBoxMenu);
        } else {
            button->DoClick();
            if (alive && type == SuiTitleBar::suiCustom)
                emit OnCustomBtnsClick(this, hot);
            else if (alive && type == SuiTitleBar::suiHelp)
                emit OnHelpBtnClick(this, hot);
        }
    }
    if (alive) {
        m_pressed = false;
        update();
    }
}

void TsuiTitleBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return;
    UpdateHot();
    if (m_hotIndex < 0) {
        m_dragArmed = false;
        for (int i = 0; i < m_buttons->Count(); ++i) {
            TsuiTitleBarButton* b = m_buttons->Item(i);
            if (b->Visible() && b->ButtonType() == SuiTitleBar::suiMax) {
                b->DoClick();
                return;
            }
        }
        return;
    }
    if (m_buttons->Item(m_hotIndex)->ButtonType() == SuiTitleBar::suiControlBox) {
        window()->close();
        return;
    }
    // Any other button: a fast second click is a second press.
    mousePressEvent(event);
}

void TsuiTitleBar::leaveEvent(QEvent* event)
{
    m_pointer = QPoint(-1, -1);
    m_hotIndex = -1;
    QWidget::leaveEvent(event);
    update();
}

void TsuiTitleBar::PopupControlBoxMenu(TsuiPopupMenu* menu)
{
    if (!menu)
        return;
    const QPoint at = mapToGlobal(QPoint(0, height()));
    int box = -1;
    for (int i = 0; i < m_buttons->Count(); ++i)
        if (m_buttons->Item(i)->ButtonType() == SuiTitleBar::suiControlBox)
            box = i;
    if (box >= 0)
        new ControlBoxDoubleClick(menu->Items(), this, ButtonRect(box));
    menu->Popup(at.x(), at.y());
}

void TsuiTitleBar::MinimizeForm()
{
    QWidget* form = window();
    if (form == this)
        return;
    if (form == SuiMainForm()) {
        // The program's main window takes the whole application to the task bar.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !IsTransientTopLevel(w))
                w->showMinimized();
        return;
    }
    form->showMinimized();
}

void TsuiTitleBar::ButtonClicked(TsuiTitleBarButton* button)
{
    QWidget* form = window();
    if (form == this)
        return;
    switch (button->ButtonType()) {
    case SuiTitleBar::suiMax:
        if (form->isMaximized()) {
            form->showNormal();
        } else {
            form->showMaximized();
            if (!InForm()) {
                QRect area = GetWorkAreaRect();
                area.setHeight(area.height() - 1);
                PlaceControl(form, area);
            }
        }
        ProcessMaxBtn();
        break;
    case SuiTitleBar::suiMin: MinimizeForm(); break;
    case SuiTitleBar::suiClose: form->close(); break;
    case SuiTitleBar::suiControlBox: PopupControlBoxMenu(button->ControlBoxMenu()); break;
    case SuiTitleBar::suiHelp:
    case SuiTitleBar::suiCustom: break;
    }
}

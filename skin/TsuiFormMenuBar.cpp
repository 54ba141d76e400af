#include "TsuiFormMenuBar.h"

#include "SuiScreen.h"

#include "Resources.h"
#include "SuiOffscreen.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>

namespace {

constexpr int kTextPadding = 16;

// The whole picture stretched over rect, pixels repeated, not blended.
void Stretch(QPainter& canvas, const QRect& rect, const char* name)
{
    canvas.save();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    canvas.drawImage(rect, LoadBitmapResource(QString::fromLatin1(name)));
    canvas.restore();
}

}  // namespace

TsuiFormMenuBar::TsuiFormMenuBar(QWidget* frame) : QWidget(frame), m_aligner(new SuiAligner(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    resize(frame ? frame->width() : 100, m_barHeight);
    m_aligner->SetAlign(SuiLayout::alTop);
}

void TsuiFormMenuBar::SetMenu(TsuiMenu* menu)
{
    m_menu = menu;
    Rebuild();
}

void TsuiFormMenuBar::SetColor(platform::COLORREF color)
{
    m_color = color;
    update();
}

void TsuiFormMenuBar::SetBarHeight(int height)
{
    m_barHeight = std::max(height, 1);
    Relayout();
}

void TsuiFormMenuBar::Rebuild()
{
    if (m_openMenu)
        m_openMenu->hide();
    m_buttons.clear();
    m_hotIndex = m_openIndex = m_pressedIndex = -1;
    if (m_menu)
        for (QAction* action : m_menu->Items()->actions()) {
            if (!action->isVisible() || action->isSeparator())
                continue;
            m_buttons.append(Button{action, action->text(), action->isEnabled(), {}});
        }
    Relayout();
}

void TsuiFormMenuBar::UpdateTop()
{
    for (Button& b : m_buttons)
        if (b.action) {
            b.caption = b.action->text();
            b.enabled = b.action->isEnabled();
        }
    Relayout();
}

QFont TsuiFormMenuBar::BarFont() const
{
    return m_menu ? m_menu->ItemFont() : font();
}

void TsuiFormMenuBar::Relayout()
{
    const QFontMetrics metrics(BarFont());
    int x = 0, y = 0;
    for (Button& b : m_buttons) {
        const int w = metrics.boundingRect(QRect(), Qt::TextShowMnemonic | Qt::TextSingleLine, b.caption).width() +
                      kTextPadding;
        if (x > 0 && x + w > width()) {
            x = 0;
            y += m_barHeight;
        }
        b.rect = QRect(x, y, w, m_barHeight);
        x += w;
    }
    const int h = y + m_barHeight;
    if (h != height()) {
        resize(width(), h);
        SuiAlignChildren(parentWidget());  // a hidden window hears of no resize
    }
    update();
}

void TsuiFormMenuBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A new width may move buttons to another row.
    const QFontMetrics metrics(BarFont());
    int x = 0, rows = 1;
    for (const Button& b : m_buttons) {
        if (x > 0 && x + b.rect.width() > width()) {
            x = 0;
            ++rows;
        }
        x += b.rect.width();
    }
    if (rows * m_barHeight != height() || (!m_buttons.isEmpty() && m_buttons.last().rect.right() >= width()))
        Relayout();
}

int TsuiFormMenuBar::IndexAt(const QPoint& point) const
{
    for (int i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].rect.contains(point))
            return i;
    return -1;
}

bool TsuiFormMenuBar::OpenButton(int index)
{
    if (index < 0 || index >= m_buttons.size() || !m_buttons[index].enabled || !m_buttons[index].action)
        return false;
    if (index == m_openIndex)
        return true;
    if (m_openMenu)
        m_openMenu->hide();
    QAction* action = m_buttons[index].action;
    QMenu* menu = action->menu();
    if (!menu) {
        action->trigger();
        return true;
    }
    m_openIndex = index;
    m_openMenu = menu;
    menu->installEventFilter(this);
    connect(
        menu, &QMenu::aboutToHide, this,
        [this, menu] {
            menu->removeEventFilter(this);
            if (m_openMenu == menu) {
                m_openMenu = nullptr;
                m_openIndex = -1;
                update();
            }
        },
        Qt::SingleShotConnection);
    update();
    const QRect r = m_buttons[index].rect;
    PopupMenuFrom(menu, mapToGlobal(QPoint(r.left(), r.top() + r.height())), this);
    return true;
}

bool TsuiFormMenuBar::OpenByAccelerator(QChar letter)
{
    const QKeySequence wanted(QKeyCombination(Qt::AltModifier, Qt::Key(QChar(letter).toUpper().unicode())));
    for (int i = 0; i < m_buttons.size(); ++i)
        if (QKeySequence::mnemonic(m_buttons[i].caption) == wanted)
            return OpenButton(i);
    return false;
}

bool TsuiFormMenuBar::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || menu != m_openMenu)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const int index = IndexAt(mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint()));
        if (index >= 0 && index != m_openIndex && m_buttons[index].enabled)
            OpenButton(index);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // A press on the open item's own button closes its menu and does not open it again.
        const int index = IndexAt(mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint()));
        if (index >= 0 && index == m_openIndex) {
            menu->setAttribute(Qt::WA_NoMouseReplay);
            menu->hide();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key != Qt::Key_Left && key != Qt::Key_Right) || m_buttons.size() < 2)
            break;
        const int step = key == Qt::Key_Left ? -1 : 1;
        for (int n = 1; n < m_buttons.size(); ++n) {
            const int index = int((m_openIndex + step * n + m_buttons.size()) % m_buttons.size());
            if (m_buttons[index].enabled) {
                OpenButton(index);
                if (m_openMenu && !m_openMenu->actions().isEmpty()) {
                    // The keyboard user lands on the first item, as in every menu bar.
                    for (QAction* a : m_openMenu->actions())
                        if (a->isEnabled() && !a->isSeparator()) {
                            m_openMenu->setActiveAction(a);
                            break;
                        }
                }
                return true;
            }
        }
        break;
    }
    default: break;
    }
    return false;
}

void TsuiFormMenuBar::mouseMoveEvent(QMouseEvent* event)
{
    const int index = IndexAt(event->position().toPoint());
    if (index != m_hotIndex) {
        m_hotIndex = index;
        update();
    }
}

void TsuiFormMenuBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int index = IndexAt(event->position().toPoint());
    if (index < 0 || !m_buttons[index].enabled)
        return;
    if (m_buttons[index].action && !m_buttons[index].action->menu()) {
        m_pressedIndex = index;  // an item without a menu runs on release, like a button
        update();
        return;
    }
    OpenButton(index);
}

void TsuiFormMenuBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_pressedIndex < 0)
        return;
    const int pressed = m_pressedIndex;
    m_pressedIndex = -1;
    update();
    if (IndexAt(event->position().toPoint()) == pressed)
        OpenButton(pressed);
}

void TsuiFormMenuBar::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_hotIndex = -1;
    update();
}

void TsuiFormMenuBar::PaintButton(QPainter& canvas, const Button& button, bool hot, bool pressed)
{
    TsuiUIStyle resolved{};
    TsuiFileTheme* fileTheme = m_menu ? m_menu->FileTheme() : nullptr;
    const bool fromFile = UsingFileTheme(fileTheme, m_menu ? m_menu->UIStyle() : Sui::DeepBlue, resolved);
    const auto color = [&](int entry) {
        return platform::ToQColor(fromFile ? fileTheme->GetColor(entry) : GetInsideThemeColor(resolved, entry));
    };
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    QRect text = button.rect;
    if ((hot || pressed) && button.enabled) {
        if (!fromFile && resolved == Sui::MacOS) {
            Stretch(canvas, button.rect, "MACOS_MENU_SELECT");
            text.setBottom(text.bottom() + 2);
        } else {
            QRect fill = button.rect;
            if (pressed) {
                fill.setRight(fill.right() - 2);
                text.setLeft(text.left() + 2);
                text.setTop(text.top() + 2);
            }
            canvas.fillRect(fill, color(SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR));
            const QColor frame = color(SUI_THEME_MENU_SELECTED_BORDER_COLOR);
            canvas.fillRect(fill.left(), fill.top(), fill.width(), 1, frame);
            canvas.fillRect(fill.left(), fill.bottom(), fill.width(), 1, frame);
            canvas.fillRect(fill.left(), fill.top(), 1, fill.height(), frame);
            canvas.fillRect(fill.right(), fill.top(), 1, fill.height(), frame);
        }
        canvas.setPen(color(SUI_THEME_MENU_SELECTED_FONT_COLOR));
    } else {
        text.setTop(text.top() + 2);
        QColor pen = color(SUI_THEME_MENU_FONT_COLOR);
        if (fromFile && int(fileTheme->GetColor(SUI_THEME_CONTROL_FONT_COLOR)) == SUI_THEME_FILE_STYLE_3)
            pen = Qt::white;
        if (!button.enabled)
            pen = QColor(0x80, 0x80, 0x80);
        canvas.setPen(pen);
    }
    canvas.drawText(text, flags, button.caption);
}

void TsuiFormMenuBar::paintEvent(QPaintEvent*)
{
    SuiOffscreen offscreen(this);
    QPainter& canvas = offscreen.Painter();
    TsuiUIStyle resolved{};
    const bool fromFile = UsingFileTheme(m_menu ? m_menu->FileTheme() : nullptr,
                                         m_menu ? m_menu->UIStyle() : Sui::DeepBlue, resolved);
    if (!fromFile && resolved == Sui::MacOS)
        Stretch(canvas, rect(), "MACOS_MENU_BAR");
    else
        canvas.fillRect(rect(), platform::ToQColor(m_color));
    canvas.setFont(BarFont());
    for (int i = 0; i < m_buttons.size(); ++i)
        PaintButton(canvas, m_buttons[i], i == m_hotIndex && m_openIndex < 0,
                    i == m_openIndex || i == m_pressedIndex);
}

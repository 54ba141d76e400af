#include "SuiScreen.h"

#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

QPointer<QWidget>& MainForm()
{
    static QPointer<QWidget> form;
    return form;
}

std::optional<bool>& ForcedClearCorners()
{
    static std::optional<bool> forced;
    return forced;
}

}  // namespace

QRect GetWorkAreaRect()
{
    QScreen* screen = nullptr;
    if (const QWidget* main = SuiMainForm())
        screen = main->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void CentreOnScreen(QWidget* window)
{
    QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!window || !screen)
        return;
    const QRect area = screen->availableGeometry();
    MoveIntoWorkArea(window, area.center() - QPoint(window->width() / 2, window->height() / 2) + QPoint(1, 1));
}

void MoveIntoWorkArea(QWidget* window, QPoint wanted)
{
    if (!window)
        return;
    QScreen* screen = QGuiApplication::screenAt(wanted);
    if (!screen)
        screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->move(wanted);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    const auto into = [](int at, int length, int start, int room) {
        return length >= room ? start : std::clamp(at, start, start + room - length);
    };
    window->move(into(wanted.x(), size.width(), area.left(), area.width()),
                 into(wanted.y(), size.height(), area.top(), area.height()));
}

bool SuiCornersPaintedClear()
{
    if (ForcedClearCorners())
        return *ForcedClearCorners();
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void SetSuiCornersPaintedClear(std::optional<bool> forced)
{
    ForcedClearCorners() = forced;
}

void PopupMenuFrom(QMenu* menu, QPoint global, const QObject* owner)
{
    if (!menu)
        return;
    while (owner && !owner->isWidgetType())
        owner = owner->parent();
    const QWidget* window = owner ? static_cast<const QWidget*>(owner)->window() : nullptr;
    if (window && window->windowHandle()) {
        menu->winId();  // its window, made now so that it knows its parent before it shows
        if (QWindow* handle = menu->windowHandle())
            handle->setTransientParent(window->windowHandle());
    }
    menu->popup(global);
}

bool FormHasFocus(const QWidget* form)
{
    const QWidget* main = SuiMainForm();
    if (!main)
        return form && form->isActiveWindow();
    if (QGuiApplication::applicationState() != Qt::ApplicationActive)
        return false;
    if (!form || form == main)
        return true;
    return form->isActiveWindow();
}

void SetSuiMainForm(QWidget* form)
{
    MainForm() = form;
}

QWidget* SuiMainForm()
{
    return MainForm().data();
}

void PlaceControl(QWidget* control, const QRect& rect)
{
    if (control)
        control->setGeometry(rect);
}

void PlaceControl(QWidget* control, const QPoint& point)
{
    if (control)
        control->move(point);
}

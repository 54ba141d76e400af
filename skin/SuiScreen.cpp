#include "SuiScreen.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {

QPointer<QWidget>& MainForm()
{
    static QPointer<QWidget> form;
    return form;
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
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2) + QPoint(1, 1));
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

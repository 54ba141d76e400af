#include "MessageBox.h"

#include <QMessageBox>

#include <utility>

namespace platform {
namespace {

QMessageBox::Icon IconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int ShowQtMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    QMessageBox box(IconOf(type), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, owner);
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return IDOK;
    }
}

MessageBoxHandler& Handler()
{
    static MessageBoxHandler handler = ShowQtMessageBox;
    return handler;
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    return std::exchange(Handler(), handler ? std::move(handler) : MessageBoxHandler(ShowQtMessageBox));
}

int MessageBoxA(HWND hWnd, const char* lpText, const char* lpCaption, UINT uType)
{
    return Handler()(hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "Error", uType);
}

}  // namespace platform

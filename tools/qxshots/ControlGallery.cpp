#include "ControlGallery.h"

#include "skin/controls/TsuiArrowButton.h"
#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiCheckBox.h"
#include "skin/controls/TsuiCheckGroup.h"
#include "skin/controls/TsuiProgressBar.h"
#include "skin/controls/TsuiRadioButton.h"
#include "skin/controls/TsuiRadioGroup.h"
#include "skin/controls/TsuiSpinEdit.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>

namespace qxshots {

void AddButtonFamily(QWidget* parent, TsuiUIStyle look, const std::function<void(const QString&, int)>& heading)
{
    int y = 0;
    const auto title = [&](const char* text) {
        if (heading)
            heading(QString::fromLatin1(text), y);
        y += 20;
    };
    title("Buttons: normal, mouse over, pressed, disabled, focused");
    const char* captions[] = {"&Next  >", "Hover", "Pressed", "Disabled", "Focused"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new TsuiButton(parent);
        b->SetUIStyle(look);
        b->SetCaption(captions[i]);
        b->move(8 + i * 88, y);
        if (i == 1) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(b, &enter);
        } else if (i == 2) {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(b, &press);
        } else if (i == 3) {
            b->setEnabled(false);
        } else if (i == 4) {
            b->setObjectName("focused");
        }
    }
    auto* up = new TsuiArrowButton(parent);
    up->SetUIStyle(look);
    up->setGeometry(450, y, 20, 20);
    auto* down = new TsuiArrowButton(parent);
    down->SetUIStyle(look);
    down->SetArrow(TsuiArrowButton::suiDown);
    down->setGeometry(474, y, 20, 20);
    y += 40;
    title("Check boxes and radio buttons: enabled, disabled");
    for (int i = 0; i < 4; ++i) {
        auto* c = new TsuiCheckBox(parent);
        c->SetUIStyle(look);
        c->SetCaption(i % 2 ? "&Checked" : "Unchecked");
        c->SetChecked(i % 2);
        c->setEnabled(i < 2);
        c->move(8 + i * 110, y);
    }
    y += 26;
    for (int i = 0; i < 4; ++i) {
        auto* r = new TsuiRadioButton(parent);
        r->SetUIStyle(look);
        r->SetGroupIndex(i);
        r->SetCaption(i % 2 ? "Checked" : "Unchecked");
        r->SetChecked(i % 2);
        r->setEnabled(i < 2);
        r->move(8 + i * 110, y);
    }
    y += 36;
    title("Spin edit, check group, radio group, progress bar");
    auto* spin = new TsuiSpinEdit(parent);
    spin->SetUIStyle(look);
    spin->setGeometry(8, y, 60, 19);
    spin->SetValue(42);
    y += 30;
    auto* checks = new TsuiCheckGroup(parent);
    checks->SetUIStyle(look);
    checks->SetCaption("Check group");
    checks->setGeometry(8, y, 220, 100);
    checks->SetColumns(2);
    checks->SetItems({"One", "Two", "Three", "Four", "Five"});
    checks->SetChecked(1, true);
    auto* radios = new TsuiRadioGroup(parent);
    radios->SetUIStyle(look);
    radios->SetCaption("Radio group");
    radios->setGeometry(236, y, 200, 100);
    radios->SetItems({"High", "Medium", "Low"});
    radios->SetItemIndex(1);
    y += 110;
    auto* progress = new TsuiProgressBar(parent);
    progress->SetUIStyle(look);
    progress->setGeometry(8, y, 220, 14);
    progress->SetPosition(60);
}

}  // namespace qxshots

#include "DesignControls.h"

#include "skin/controls/TsuiButton.h"
#include "skin/controls/TsuiRadioButton.h"

#include <QLabel>

QLabel* DesignLabel(QWidget* parent, const char* name, const QString& text, int x, int y, bool blue)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    if (blue) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        label->setPalette(pal);
    }
    label->move(x, y);
    label->adjustSize();
    return label;
}

TsuiButton* DesignButton(QWidget* parent, const char* name, const QString& caption, const QRect& place, bool bold)
{
    auto* button = new TsuiButton(parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->SetCaption(caption);
    if (bold) {
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
    }
    return button;
}

TsuiRadioButton* DesignRadio(QWidget* parent, const char* name, const QString& caption, int x, int y)
{
    auto* radio = new TsuiRadioButton(parent);
    radio->setObjectName(name);
    radio->move(x, y);
    radio->SetCaption(caption);
    return radio;
}

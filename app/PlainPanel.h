#pragma once
// A plain panel of the window designs: a flat area of one colour, without bevel, that
// may dock to a side of its parent.

#include "platform/Colors.h"
#include "skin/SuiAlign.h"

#include <QWidget>

class PlainPanel : public QWidget {
    Q_OBJECT

public:
    explicit PlainPanel(QWidget* parent, platform::COLORREF color, TAlign align = SuiLayout::alNone);

    platform::COLORREF Color() const { return m_color; }
    void SetColor(platform::COLORREF color);
    TAlign Align() const { return m_aligner->Align(); }
    void SetAlign(TAlign align) { m_aligner->SetAlign(align); }

private:
    platform::COLORREF m_color;
    SuiAligner* m_aligner;
};

#include "PlainPanel.h"

PlainPanel::PlainPanel(QWidget* parent, platform::COLORREF color, TAlign align)
    : QWidget(parent), m_color(color), m_aligner(new SuiAligner(this))
{
    setAutoFillBackground(true);
    SetColor(color);
    m_aligner->SetAlign(align);
}

void PlainPanel::SetColor(platform::COLORREF color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, platform::ToQColor(color));
    setPalette(pal);
}

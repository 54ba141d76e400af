#include "TsuiImagePanel.h"

TsuiImagePanel::TsuiImagePanel(QWidget* parent)
    : TsuiCustomPanel(parent), m_fileTheme([this] { SetUIStyle(Sui::DeepBlue); })
{
    m_uiStyle = GetSUIFormStyle(parent ? parent->window() : nullptr);
}

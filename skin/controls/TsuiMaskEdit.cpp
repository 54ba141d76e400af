#include "TsuiMaskEdit.h"

TsuiMaskEdit::TsuiMaskEdit(QWidget* parent) : TsuiEdit(parent) {}

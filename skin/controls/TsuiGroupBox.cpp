#include "TsuiGroupBox.h"

TsuiGroupBox::TsuiGroupBox(QWidget* parent) : TsuiCustomGroupBox(parent) {}

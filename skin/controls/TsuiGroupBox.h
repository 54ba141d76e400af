#pragma once
// The group box as placed on a window.

#include "TsuiCustomGroupBox.h"

class TsuiGroupBox : public TsuiCustomGroupBox {
    Q_OBJECT

public:
    explicit TsuiGroupBox(QWidget* parent = nullptr);
};

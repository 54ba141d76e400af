#pragma once
// The flat-framed edit with an input mask (Qt's mask syntax: "99/99/9999", ">AAA", ...).

#include "TsuiEdit.h"

class TsuiMaskEdit : public TsuiEdit {
    Q_OBJECT
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)

public:
    explicit TsuiMaskEdit(QWidget* parent = nullptr);

    QString EditMask() const { return inputMask(); }
    void SetEditMask(const QString& mask) { setInputMask(mask); }
};

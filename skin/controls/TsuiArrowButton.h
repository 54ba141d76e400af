#pragma once
// A button with the look's button picture and a solid black triangle instead of a
// caption; the spin buttons use them in pairs.

#include "skin/controls/TsuiCustomButton.h"

class TsuiArrowButton : public TsuiCustomButton {
    Q_OBJECT
    Q_PROPERTY(TsuiArrow Arrow READ Arrow WRITE SetArrow)

public:
    enum TsuiArrow { suiUp, suiDown };
    Q_ENUM(TsuiArrow)

    explicit TsuiArrowButton(QWidget* parent = nullptr);

    TsuiArrow Arrow() const { return m_arrow; }
    void SetArrow(TsuiArrow arrow);

protected:
    void UIStyleChanged() override;
    void PaintPic(QPainter& canvas, const QImage& picture) override;
    void PaintText(QPainter&, const QString&) override {}

private:
    TsuiArrow m_arrow = suiUp;
};

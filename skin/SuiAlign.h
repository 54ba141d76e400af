#pragma once
// The side of its parent a control is docked to. The docked children of one parent share
// its area in sibling order (QObject::children(), which raise() and lower() change):
// each alTop child takes the top of what is left, each alBottom child the bottom, then
// alLeft and alRight share the band between, and alClient fills the rest. Docked
// controls follow every change of the parent's size and of their own; alNone leaves
// placing to the window.

#include <QObject>
#include <QPointer>

class QWidget;

namespace SuiLayout {
Q_NAMESPACE

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

}  // namespace SuiLayout

using TAlign = SuiLayout::TAlign;

// Places every docked child of parent (hidden ones take no room).
void SuiAlignChildren(QWidget* parent);

// A control's dock. Watches the control's parent (again after reparenting) and the
// control itself, and lays out the parent's docked children whenever either changes.
class SuiAligner : public QObject {
    Q_OBJECT

public:
    explicit SuiAligner(QWidget* control);
    void SetAlign(TAlign align);
    TAlign Align() const { return m_align; }

    // The dock of a control, alNone for a control without SuiAligner.
    static TAlign AlignOf(const QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch();

    QWidget* m_control;
    QPointer<QWidget> m_watched;
    TAlign m_align = SuiLayout::alNone;
};

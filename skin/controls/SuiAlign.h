#pragma once
// The side of its parent a control is docked to. Docked controls fill that side of the
// parent (the whole parent for alClient) and follow its size; alNone leaves placing to
// the window.

#include <QObject>

class QWidget;

namespace SuiLayout {
Q_NAMESPACE

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

}  // namespace SuiLayout

using TAlign = SuiLayout::TAlign;

// Places control against its parent's side for align, keeping its own height for
// alTop/alBottom and its own width for alLeft/alRight.
void SuiApplyAlign(QWidget* control, TAlign align);

// Keeps a docked control in place while its parent is resized.
class SuiAligner : public QObject {
    Q_OBJECT

public:
    explicit SuiAligner(QWidget* control);
    void SetAlign(TAlign align);
    TAlign Align() const { return m_align; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_control;
    QObject* m_watched = nullptr;
    TAlign m_align = SuiLayout::alNone;
};

#pragma once
// A flat-framed edit for a floating-point value, right-aligned and shown through a
// picture format: 0 a digit always shown, # a digit shown when significant, '.' the
// locale decimal separator, ',' grouping by thousands, '-' allowing a typed sign.
// Other characters in the format are ignored.

#include "TsuiEdit.h"

class TsuiNumberEdit : public TsuiEdit {
    Q_OBJECT
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(int AutoSelectSigns READ AutoSelectSigns WRITE SetAutoSelectSigns)

public:
    explicit TsuiNumberEdit(QWidget* parent = nullptr);

    QString Mask() const { return m_mask; }
    void SetMask(const QString& mask) { m_mask = mask; }
    double Value() const { return m_value; }
    // Stores the value and shows it through Mask.
    void SetValue(double value);
    int AutoSelectSigns() const { return m_autoSelectSigns; }
    void SetAutoSelectSigns(int count) { m_autoSelectSigns = count; }

    // value through mask with the locale's separators.
    static QString FormatValue(double value, const QString& mask);

signals:
    // The text changed and reads as a number (or is empty or a lone "-").
    void OnChange();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void TextChanged(const QString& text);
    void SelectSigns();
    static bool Parse(const QString& text, double& value);

    QString m_mask = QStringLiteral("0.00");
    double m_value = 0;
    int m_autoSelectSigns = 2;
    bool m_restoring = false;
};

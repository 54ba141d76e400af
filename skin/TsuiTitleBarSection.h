#pragma once
// The pictures of a title bar. The drawing goes by order, not by these properties:
// section 0 is the left end, section 1 the right end, section 2 the stretched middle.

#include "TsuiTitleBarTypes.h"
#include <QImage>
#include <QList>
#include <QObject>


class TsuiTitleBarSections;

class TsuiTitleBarSection : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(SuiTitleBar::TsuiTitleBarAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(QImage Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)

public:
    explicit TsuiTitleBarSection(TsuiTitleBarSections* collection);

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);  // Width follows the picture's width
    int Width() const { return m_width; }
    void SetWidth(int width);
    TsuiTitleBarAlign Align() const { return m_align; }
    // A second suiClient in the collection is refused with a message; suiClient
    // stretches.
    void SetAlign(TsuiTitleBarAlign align);
    QImage Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool on);
    void Assign(const TsuiTitleBarSection& other);

private:
    void Changed();

    TsuiTitleBarSections* m_collection;
    bool m_autoSize = false;
    int m_width = 10;
    TsuiTitleBarAlign m_align = SuiTitleBar::suiLeft;
    QImage m_picture;
    bool m_stretch = false;
};

class TsuiTitleBarSections : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    int Count() const { return int(m_items.size()); }
    TsuiTitleBarSection* Item(int index) const { return m_items.value(index); }
    TsuiTitleBarSection* Add();
    void Clear();
    void Assign(const TsuiTitleBarSections& other);

signals:
    void Changed();

private:
    QList<TsuiTitleBarSection*> m_items;
};

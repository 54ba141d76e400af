#include "TsuiTitleBarSection.h"

#include "platform/MessageBox.h"

TsuiTitleBarSection::TsuiTitleBarSection(TsuiTitleBarSections* collection) : QObject(collection), m_collection(collection)
{
}

void TsuiTitleBarSection::Changed()
{
    if (m_collection)
        emit m_collection->Changed();
}

void TsuiTitleBarSection::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (on && !m_picture.isNull())
        m_width = m_picture.width();
    Changed();
}

void TsuiTitleBarSection::SetWidth(int width)
{
    m_width = width;
    Changed();
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign align)
{
    if (align == SuiTitleBar::suiClient && m_collection)
        for (int i = 0; i < m_collection->Count(); ++i)
            if (m_collection->Item(i)->m_align == SuiTitleBar::suiClient) {
                platform::MessageBoxA(nullptr, "Sorry, only one section's Align property can be \"suiClient\"", "Error",
                                      platform::MB_OK | platform::MB_ICONERROR);
                return;
            }
    m_align = align;
    if (align == SuiTitleBar::suiClient)
        m_stretch = true;
    Changed();
}

void TsuiTitleBarSection::SetPicture(const QImage& picture)
{
    m_picture = picture;
    if (m_autoSize && !picture.isNull())
        m_width = picture.width();
    Changed();
}

void TsuiTitleBarSection::SetStretch(bool on)
{
    m_stretch = on || m_align == SuiTitleBar::suiClient;
    Changed();
}

void TsuiTitleBarSection::Assign(const TsuiTitleBarSection& other)
{
    m_autoSize = other.m_autoSize;
    m_width = other.m_width;
    m_align = other.m_align;
    m_picture = other.m_picture;
    m_stretch = other.m_stretch;
    Changed();
}

TsuiTitleBarSection* TsuiTitleBarSections::Add()
{
    auto* section = new TsuiTitleBarSection(this);
    m_items.append(section);
    emit Changed();
    return section;
}

void TsuiTitleBarSections::Clear()
{
    qDeleteAll(m_items);
    m_items.clear();
    emit Changed();
}

void TsuiTitleBarSections::Assign(const TsuiTitleBarSections& other)
{
    if (&other == this)
        return;
    qDeleteAll(m_items);
    m_items.clear();
    for (const TsuiTitleBarSection* source : other.m_items) {
        auto* section = new TsuiTitleBarSection(this);
        m_items.append(section);
        section->Assign(*source);
    }
    emit Changed();
}

#pragma once
// The window buttons of a title bar: each one a type, three state pictures (normal,
// mouse over, pressed) cut from the look's 18-frame picture, and what a click does,
// which the bar carries out. The bar owns them in an ordered collection; any change to
// a button repaints the bar.

#include "TsuiTitleBarTypes.h"
#include "FileTheme.h"
#include "Themes.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>

class TsuiPopupMenu;
class TsuiTitleBarButton;


// What a button asks of the bar it belongs to.
class TsuiTitleBarButtonHost {
public:
    virtual void ButtonsChanged() = 0;
    virtual void ButtonClicked(TsuiTitleBarButton* button) = 0;
    virtual bool HostFormMaximized() const = 0;
    virtual bool HostCustom() const = 0;
    virtual TsuiFileTheme* HostFileTheme() const = 0;

protected:
    ~TsuiTitleBarButtonHost() = default;
};

class TsuiTitleBarButtons;

class TsuiTitleBarButton : public QObject {
    Q_OBJECT
    Q_MOC_INCLUDE("skin/TsuiPopupMenu.h")
    Q_PROPERTY(Sui::TsuiUIStyle UIStyle READ UIStyle WRITE UpdateUIStyle)
    Q_PROPERTY(SuiTitleBar::TsuiTitleBarBtnType ButtonType READ ButtonType WRITE SetButtonType)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(TsuiPopupMenu* ControlBoxMenu READ ControlBoxMenu WRITE SetControlBoxMenu)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QImage PicNormal READ PicNormal WRITE SetPicNormal)
    Q_PROPERTY(QImage PicMouseOn READ PicMouseOn WRITE SetPicMouseOn)
    Q_PROPERTY(QImage PicMouseDown READ PicMouseDown WRITE SetPicMouseDown)

public:
    explicit TsuiTitleBarButton(TsuiTitleBarButtons* collection);

    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    // Reloads the pictures of a built-in type from the look (with the bar's file theme),
    // and Transparent and Top with them.
    void UpdateUIStyle(TsuiUIStyle look);
    TsuiTitleBarBtnType ButtonType() const { return m_type; }
    // A second control box in the collection is refused with a message; nothing changes.
    void SetButtonType(TsuiTitleBarBtnType type);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool on);
    int Top() const { return m_top; }
    void SetTop(int top);
    TsuiPopupMenu* ControlBoxMenu() const { return m_controlBoxMenu; }
    void SetControlBoxMenu(TsuiPopupMenu* menu);
    bool Visible() const { return m_visible; }
    void SetVisible(bool on);
    QImage PicNormal() const { return m_picNormal; }
    void SetPicNormal(const QImage& picture);
    QImage PicMouseOn() const { return m_picMouseOn; }
    void SetPicMouseOn(const QImage& picture);
    QImage PicMouseDown() const { return m_picMouseDown; }
    void SetPicMouseDown(const QImage& picture);

    // A maximise button shows the restore pictures while its window is maximised
    // (unless the bar is Custom).
    void UpdateMaxPictures();
    // What the type does, carried out by the bar.
    void DoClick();
    int Index() const;
    // Copies everything but the collection.
    void Assign(const TsuiTitleBarButton& other);

private:
    void Changed();
    void LoadFrames(int first);

    TsuiTitleBarButtons* m_collection;
    TsuiUIStyle m_uiStyle = Sui::DeepBlue;
    TsuiTitleBarBtnType m_type = SuiTitleBar::suiCustom;
    bool m_transparent = false;
    int m_top = 2;
    QPointer<TsuiPopupMenu> m_controlBoxMenu;
    bool m_visible = true;
    QImage m_picNormal;
    QImage m_picMouseOn;
    QImage m_picMouseDown;
};

// The bar's buttons in order; the first right-hand button in the collection is drawn
// rightmost.
class TsuiTitleBarButtons : public QObject {
    Q_OBJECT

public:
    explicit TsuiTitleBarButtons(TsuiTitleBarButtonHost* host, QObject* parent = nullptr);

    TsuiTitleBarButtonHost* Host() const { return m_host; }
    int Count() const { return int(m_items.size()); }
    TsuiTitleBarButton* Item(int index) const { return m_items.value(index); }
    TsuiTitleBarButton* Add();
    void Delete(int index);
    void Clear();
    // Replaces the buttons with copies of other's.
    void Assign(const TsuiTitleBarButtons& other);
    int IndexOf(const TsuiTitleBarButton* button) const;
    void Changed();

private:
    TsuiTitleBarButtonHost* m_host;
    QList<TsuiTitleBarButton*> m_items;
};

#include "skin/controls/TsuiEdit.h"
#include "skin/controls/TsuiGroupBox.h"
#include "skin/controls/TsuiImagePanel.h"
#include "skin/controls/TsuiPanel.h"
#include "skin/controls/TsuiStatusBar.h"
#include "skin/controls/TsuiURLLabel.h"

#include "TestSupport.h"
#include "platform/MessageBox.h"
#include "skin/SuiPicture.h"
#include "skin/Resources.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Heights a widget takes, in order.
class HeightRecorder : public QObject {
public:
    explicit HeightRecorder(QWidget* widget) { widget->installEventFilter(this); }
    std::vector<int> heights;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            heights.push_back(static_cast<QResizeEvent*>(event)->size().height());
        return false;
    }
};

// Columns of one row that have exactly the colour.
std::vector<int> ColumnsOf(const QImage& image, int y, const QColor& color)
{
    std::vector<int> xs;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == color)
            xs.push_back(x);
    return xs;
}

std::vector<int> Range(int from, int to)
{
    std::vector<int> out;
    for (int x = from; x <= to; ++x)
        out.push_back(x);
    return out;
}

int Darkest(const QImage& image, const QRect& area)
{
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

struct GroupBoxShot {
    QWidget window;
    TsuiGroupBox* box;
    explicit GroupBoxShot(const QString& caption)
    {
        window.resize(300, 200);
        box = new TsuiGroupBox(&window);
        box->SetCaption(caption);
        box->SetBorderColor(0x0000FF);  // pure red: never a pixel of black text
    }
    QImage Shot() const { return box->grab().toImage(); }
    int EdgeRow() const { return QFontInfo(box->font()).pixelSize() / 2 + 1; }
};

const QColor kRed(255, 0, 0);

}  // namespace

TEST(TsuiGroupBox, TheCaptionSitsInAGapOfItsWidthPlusFour)
{
    GroupBoxShot g(QStringLiteral(" Convert this video to "));
    ASSERT_EQ(g.box->size(), QSize(185, 105));
    const QImage shot = g.Shot();
    const int y = g.EdgeRow();
    const int captionWidth = QFontMetrics(g.box->font()).horizontalAdvance(g.box->Caption());
    std::vector<int> expected = Range(0, 2);
    const std::vector<int> right = Range(captionWidth + 7, 184);
    expected.insert(expected.end(), right.begin(), right.end());
    EXPECT_EQ(ColumnsOf(shot, y, kRed), expected) << "gap of " << captionWidth + 4 << " pixels from x = 3";
    EXPECT_EQ(ColumnsOf(shot, 104, kRed), Range(0, 184)) << "bottom edge";
    for (const int x : {0, 184}) {
        EXPECT_NE(shot.pixelColor(x, y - 1), kRed) << "nothing above the top edge";
        for (int row = y; row < 105; ++row)
            ASSERT_EQ(shot.pixelColor(x, row), kRed) << x << "," << row;
    }
}

TEST(TsuiGroupBox, WithoutCaptionTheFrameIsClosed)
{
    GroupBoxShot g{QString()};
    EXPECT_EQ(ColumnsOf(g.Shot(), g.EdgeRow(), kRed), Range(0, 184));
    GroupBoxShot blanks(QStringLiteral("  "));
    EXPECT_LT(ColumnsOf(blanks.Shot(), blanks.EdgeRow(), kRed).size(), 185u) << "blanks are a caption";
}

TEST(TsuiGroupBox, DisabledItGreysItsCaptionAndDisablesItsControls)
{
    GroupBoxShot g(QStringLiteral("Output"));
    auto* edit = new TsuiEdit(g.box);
    auto* label = new QLabel(QStringLiteral("x"), g.box);
    edit->move(10, 40);
    label->move(10, 70);
    const QRect caption(5, 0, QFontMetrics(g.box->font()).horizontalAdvance(g.box->Caption()),
                        QFontMetrics(g.box->font()).height());
    EXPECT_LT(Darkest(g.Shot(), caption), 0x40);
    g.box->setEnabled(false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(label->isEnabled());
    EXPECT_GE(Darkest(g.Shot(), caption), 0x80) << "caption in grey";
    g.box->setEnabled(true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_LT(Darkest(g.Shot(), caption), 0x40);
}

TEST(TsuiGroupBox, ItsLookGoesToTheControlsInsideIt)
{
    QWidget window;
    auto* box = new TsuiGroupBox(&window);
    auto* edit = new TsuiEdit(box);
    auto* inner = new TsuiGroupBox(box);
    auto* innerEdit = new TsuiEdit(inner);
    auto* panel = new TsuiPanel(box);
    auto* label = new QLabel(box);
    auto* theme = new TsuiFileTheme(&window);

    ASSERT_TRUE(box->setProperty("UIStyle", QVariant::fromValue(Sui::WinXP)));
    for (QObject* o : std::initializer_list<QObject*>{edit, inner, innerEdit, panel})
        EXPECT_EQ(o->property("UIStyle").value<TsuiUIStyle>(), Sui::WinXP) << o->metaObject()->className();
    EXPECT_EQ(box->BorderColor(), 0x686868u);
    EXPECT_EQ(edit->BorderColor(), 0x686868u);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), platform::ToQColor(0xCF4602)) << "font colour follows";

    ASSERT_TRUE(box->setProperty("FileTheme", QVariant::fromValue(theme)));
    EXPECT_EQ(innerEdit->FileTheme(), theme);
    delete theme;
    EXPECT_EQ(box->UIStyle(), Sui::DeepBlue);
    for (TsuiEdit* e : {edit, innerEdit}) {
        EXPECT_EQ(e->FileTheme(), nullptr);
        EXPECT_EQ(e->UIStyle(), Sui::DeepBlue);
    }
    EXPECT_EQ(box->BorderColor(), 0x000000u);
}

TEST(TsuiGroupBox, ClientAreaLeavesRoomForFrameAndCaption)
{
    TsuiGroupBox box;
    const int h = QFontInfo(box.font()).pixelSize();
    EXPECT_EQ(box.GetClient(), QRect(QPoint(3, h), QPoint(182, 102)));
    EXPECT_EQ(box.contentsMargins(), QMargins(3, h + 5, 3, 3));
}

TEST(TsuiPanel, CollapsesAndExpandsInStepsOfFifteen)
{
    struct Case {
        TsuiUIStyle look;
        std::vector<int> push, pop;
    };
    const Case cases[] = {
        {Sui::MacOS, {85, 70, 55, 40, 25, 21}, {36, 51, 66, 81, 96, 100}},
        {Sui::DeepBlue, {85, 70, 55, 40, 25, 20}, {35, 50, 65, 80, 95, 100}},
    };
    for (const Case& c : cases) {
        QWidget window;
        auto* panel = new TsuiPanel(&window);
        panel->SetUIStyle(c.look);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_EQ(panel->height(), 100);
        QSignalSpy pushed(panel, &TsuiPanel::OnPush), popped(panel, &TsuiPanel::OnPop);
        HeightRecorder steps(panel);
        panel->Push();
        EXPECT_EQ(steps.heights, c.push) << int(c.look);
        EXPECT_TRUE(panel->Pushed());
        EXPECT_EQ(panel->Height2(), 100) << "expanded height kept";
        EXPECT_EQ(pushed.count(), 1);

        steps.heights.clear();
        panel->Pop();
        EXPECT_EQ(steps.heights, c.pop) << int(c.look);
        EXPECT_FALSE(panel->Pushed());
        EXPECT_EQ(popped.count(), 1);
    }
}

TEST(TsuiPanel, ACollapsedPanelKeepsItsExpandedHeight)
{
    TsuiPanel panel;
    panel.SetUIStyle(Sui::MacOS);
    panel.Push();
    panel.resize(100, 30);
    EXPECT_EQ(panel.Height2(), 100);
    panel.SetHeight2(130);
    EXPECT_EQ(panel.height(), 30) << "applied only while expanded";
    panel.Pop();
    EXPECT_EQ(panel.height(), 130);
    panel.resize(100, 70);
    EXPECT_EQ(panel.Height2(), 70) << "an expanded panel takes its new height";
}

TEST(TsuiPanel, DockedToAWholeSideItRefusesToCollapse)
{
    std::vector<std::string> shown;
    auto guard = qxtest::Guard(platform::SetMessageBoxHandler,
                               platform::MessageBoxHandler([&](platform::HWND, const std::string& text, const std::string& caption,
                                                               platform::UINT type) {
                                   EXPECT_EQ(type, platform::MB_OK | platform::MB_ICONERROR);
                                   shown.push_back(caption + ": " + text);
                                   return platform::IDOK;
                               }));
    for (const TAlign align : {SuiLayout::alClient, SuiLayout::alLeft, SuiLayout::alRight}) {
        QWidget window;
        window.resize(200, 150);
        auto* panel = new TsuiPanel(&window);
        ASSERT_TRUE(panel->setProperty("Align", QVariant::fromValue(align)));
        const int before = panel->height();
        QSignalSpy pushed(panel, &TsuiPanel::OnPush);
        panel->Push();
        EXPECT_EQ(panel->height(), before);
        EXPECT_FALSE(panel->Pushed());
        EXPECT_EQ(pushed.count(), 0);
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], "Error: Can't push when Align is alClient, alLeft or alRight.");
}

TEST(TsuiPanel, DrawsBorderStripAndFoldButton)
{
    QCursor::setPos(-1000, -1000);
    QImage strip;
    GetInsideThemeBitmap(Sui::WinXP, SUI_THEME_SIDECHANNEL_BAR_IMAGE, &strip);
    QImage expanded, collapsed;
    SpitBitmap(LoadBitmapResource("PANEL_BUTTON"), expanded, 4, 1);
    SpitBitmap(LoadBitmapResource("PANEL_BUTTON"), collapsed, 4, 3);
    ASSERT_EQ(expanded.size(), QSize(13, 12));

    QWidget window;
    auto* panel = new TsuiPanel(&window);
    panel->SetUIStyle(Sui::WinXP);
    panel->resize(160, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect button(160 - 13 - 4, (strip.height() - 12) / 2 / 2 + 2, 13, 12);
    const auto buttonPixels = [&](const QImage& shot) { return shot.copy(button).convertToFormat(QImage::Format_RGB32); };
    const auto framePixels = [&](const QImage& frame) {
        QImage under(13, 12, QImage::Format_RGB32);
        QPainter p(&under);
        p.drawImage(under.rect(), strip.copy(0, button.top(), 1, 12));
        p.drawImage(0, 0, frame);
        return under;
    };

    QImage shot = panel->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 50), platform::ToQColor(0x686868));
    EXPECT_EQ(shot.pixelColor(80, 99), platform::ToQColor(0x686868));
    EXPECT_EQ(shot.pixelColor(80, 50), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(5, 2), strip.pixelColor(0, 2)) << "strip stretched across";
    EXPECT_EQ(buttonPixels(shot), framePixels(expanded));

    QImage hot;
    SpitBitmap(LoadBitmapResource("PANEL_BUTTON"), hot, 4, 2);
    ASSERT_NE(framePixels(hot), framePixels(expanded));
    QCursor::setPos(panel->mapToGlobal(panel->ButtonRect().center()));
    EXPECT_EQ(buttonPixels(panel->grab().toImage()), framePixels(hot)) << "lit under the pointer";
    QCursor::setPos(-1000, -1000);

    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->ButtonRect().center());
    EXPECT_TRUE(panel->Pushed());
    EXPECT_EQ(panel->height(), strip.height());
    EXPECT_EQ(buttonPixels(panel->grab().toImage()), framePixels(collapsed));
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->ButtonRect().center());
    EXPECT_FALSE(panel->Pushed());

    panel->SetShowButton(false);
    EXPECT_EQ(buttonPixels(panel->grab().toImage()), framePixels(QImage()));
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->ButtonRect().center());
    EXPECT_FALSE(panel->Pushed()) << "no button, no fold";
}

TEST(TsuiPanel, CaptionColourAndBackgroundFollowTheLook)
{
    struct Case {
        TsuiUIStyle look;
        platform::COLORREF caption, border;
    };
    const Case cases[] = {{Sui::MacOS, 0x000000, 0x7F7F7F}, {Sui::WinXP, 0x000000, 0x686868},
                          {Sui::DeepBlue, 0xFFFFFF, 0x000000}, {Sui::BlueGlass, 0xFFFFFF, 0x000000}};
    for (const Case& c : cases) {
        TsuiPanel panel;
        panel.SetColor(0x123456);
        panel.SetUIStyle(c.look);
        EXPECT_EQ(panel.CaptionFontColor(), c.caption) << int(c.look);
        EXPECT_EQ(panel.BorderColor(), c.border) << int(c.look);
        EXPECT_EQ(panel.Color(), 0xFFFFFFu);
        EXPECT_EQ(panel.contentsMargins().top(), panel.TitleHeight() + 3);
    }
}

TEST(TsuiImagePanel, DrawsItsPictureAsAskedAndTakesItsSize)
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(255, 255, 0));
    QWidget window;
    auto* panel = new TsuiImagePanel(&window);
    panel->resize(6, 6);
    panel->SetColor(0xFFFFFF);
    panel->SetPicture(picture);

    QImage shot = panel->grab().toImage();
    EXPECT_EQ(shot.pixel(1, 1), qRgb(255, 255, 0));
    EXPECT_EQ(shot.pixel(4, 4), qRgb(255, 255, 255)) << "normal: once, at the origin";
    ASSERT_TRUE(panel->setProperty("DrawStyle", QVariant::fromValue(TsuiCustomPanel::suiTile)));
    shot = panel->grab().toImage();
    EXPECT_EQ(shot.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(5, 4), qRgb(0, 255, 0));
    panel->SetDrawStyle(TsuiCustomPanel::suiStretch);
    shot = panel->grab().toImage();
    EXPECT_EQ(shot.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(5, 5), qRgb(255, 255, 0));

    ASSERT_TRUE(panel->setProperty("Transparent", true));
    window.setAutoFillBackground(true);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(10, 20, 30));
    window.setPalette(pal);
    shot = panel->grab().toImage();
    EXPECT_EQ(shot.pixel(1, 4), qRgb(10, 20, 30)) << "the bottom-left colour is keyed out over the parent";
    EXPECT_EQ(shot.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(5, 5), qRgb(255, 255, 0));
    panel->SetPicture(QImage());
    EXPECT_EQ(panel->grab().toImage().pixel(3, 3), qRgb(10, 20, 30)) << "no picture: the parent shows through";
    panel->SetTransparent(false);
    panel->SetPicture(picture);

    panel->SetAutoSize(true);
    EXPECT_EQ(panel->size(), QSize(2, 2));
    panel->SetAlign(SuiLayout::alTop);
    panel->SetPicture(picture.scaled(4, 5));
    EXPECT_EQ(panel->size(), QSize(window.width(), 5)) << "docked to the top, only the height follows";
}

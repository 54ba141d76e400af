#include "skin/TsuiForm.h"
#include "skin/FileTheme.h"
#include "skin/SuiError.h"
#include "skin/ThemeExport.h"

#include "StandIns.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QImage Rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

TEST(UsingFileTheme, DecidesWhichSourceAControlAsks)
{
    qxtest::ScratchDir dir;
    const QString path = QString::fromStdString(dir.Path("t.sui"));
    ASSERT_TRUE(ExportBuiltInTheme(Sui::Protein, path));
    TsuiFileTheme usable;
    usable.SetThemeFile(path);
    ASSERT_TRUE(usable.CanUse());
    TsuiFileTheme unused;

    TsuiUIStyle look{};
    EXPECT_FALSE(UsingFileTheme(&usable, Sui::MacOS, look));
    EXPECT_EQ(look, Sui::MacOS);
    EXPECT_FALSE(UsingFileTheme(nullptr, Sui::FromThemeFile, look));
    EXPECT_EQ(look, Sui::DeepBlue);
    EXPECT_FALSE(UsingFileTheme(&unused, Sui::FromThemeFile, look));
    EXPECT_EQ(look, Sui::DeepBlue);
    EXPECT_TRUE(UsingFileTheme(&usable, Sui::FromThemeFile, look));
}

TEST(FileTheme, AnExportedLookAnswersEveryEntryAsTheLookDoes)
{
    qxtest::ScratchDir dir;
    for (int l = Sui::MacOS; l <= Sui::BlueGlass; ++l) {
        const auto look = TsuiUIStyle(l);
        SCOPED_TRACE("look " + std::to_string(l));
        const QString path = QString::fromStdString(dir.Path("look" + std::to_string(l) + ".sui"));
        ASSERT_TRUE(ExportBuiltInTheme(look, path));
        TsuiFileTheme theme;
        theme.SetThemeFile(path);
        ASSERT_TRUE(theme.CanUse());
        for (int e = 1; e <= SUI_THEME_ENTRY_COUNT; ++e) {
            SCOPED_TRACE(ThemeEntryKeyName(e));
            switch (ThemeEntryKind(e)) {
            case TsuiEntryKind::Color: EXPECT_EQ(theme.GetColor(e), GetInsideThemeColor(look, e)); break;
            case TsuiEntryKind::Integer: EXPECT_EQ(theme.GetInt(e), GetInsideThemeInt(look, e)); break;
            case TsuiEntryKind::Boolean: EXPECT_EQ(theme.GetBool(e), GetInsideThemeBool(look, e)); break;
            case TsuiEntryKind::Picture: {
                QImage fromFile, builtIn, frameFile, frameBuiltIn;
                theme.GetBitmap(e, &fromFile);
                GetInsideThemeBitmap(look, e, &builtIn);
                EXPECT_EQ(Rgb(fromFile), Rgb(builtIn));
                theme.GetBitmap(e, &frameFile, 3, 2);
                GetInsideThemeBitmap(look, e, &frameBuiltIn, 3, 2);
                EXPECT_EQ(Rgb(frameFile), Rgb(frameBuiltIn));
                break;
            }
            }
        }
    }
}

TEST(FileTheme, LocatesChecksAndLoadsTheFile)
{
    qxtest::ScratchDir dir;
    const QString good = QString::fromStdString(dir.Path("good.sui"));
    ASSERT_TRUE(ExportBuiltInTheme(Sui::MacOS, good));
    TsuiFileTheme theme;
    theme.SetThemeFile(QString::fromStdString(dir.Path("missing.sui")));
    EXPECT_EQ(theme.ThemeFile(), "") << "a file not found changes nothing";
    EXPECT_FALSE(theme.CanUse());
    theme.SetThemeFile(good);
    EXPECT_EQ(theme.ThemeFile(), good);
    EXPECT_TRUE(theme.CanUse());

    // Not a theme, or a theme header over broken records: refused, the old file kept.
    const std::string notTheme = dir.Path("text.sui");
    qxtest::WriteFile(notTheme, "just some text");
    const std::string broken = dir.Path("broken.sui");
    qxtest::WriteFile(broken, std::string("Orvelit_TB\0\0", 12) + std::string(12, '\xFF'));
    for (const std::string& bad : {notTheme, broken}) {
        try {
            theme.SetThemeFile(QString::fromStdString(bad));
            ADD_FAILURE() << "no error for " << bad;
        } catch (const ESuiError& e) {
            EXPECT_STREQ(e.what(), "Invalid skin file for Orvelit!");
        }
        EXPECT_EQ(theme.ThemeFile(), good);
        EXPECT_EQ(theme.GetColor(SUI_THEME_FORM_BORDER_COLOR), 0x7F7F7Fu);
    }
}

TEST(FileTheme, ABareNameIsFoundBesideTheProgram)
{
    const QString name = QStringLiteral("qx-test-%1.sui").arg(QCoreApplication::applicationPid());
    const QString besideProgram = QCoreApplication::applicationDirPath() + "/" + name;
    ASSERT_TRUE(ExportBuiltInTheme(Sui::BlueGlass, besideProgram));
    TsuiFileTheme theme;
    theme.SetThemeFile(name);
    QFile::remove(besideProgram);
    EXPECT_EQ(theme.ThemeFile(), besideProgram);
    EXPECT_TRUE(theme.CanUse());
    EXPECT_EQ(theme.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 270);
}

TEST(FileTheme, ControlsShowingTheThemeReloadFromANewFile)
{
    qxtest::ScratchDir dir;
    const QString first = QString::fromStdString(dir.Path("a.sui"));
    const QString second = QString::fromStdString(dir.Path("b.sui"));
    ASSERT_TRUE(ExportBuiltInTheme(Sui::MacOS, first));
    ASSERT_TRUE(ExportBuiltInTheme(Sui::WinXP, second));
    QWidget window;
    auto* theme = new TsuiFileTheme(&window);
    theme->SetThemeFile(first);
    auto* showing = new TsuiStandIn(&window, "showing");
    auto* other = new TsuiStandIn(&window, "other");
    auto* unprefixed = new PlainStandIn(&window, "plain");
    showing->SetFileTheme(theme);
    unprefixed->SetFileTheme(theme);
    showing->calls.clear();
    unprefixed->calls.clear();
    theme->SetThemeFile(second);
    EXPECT_EQ(showing->calls, std::vector<std::string>{"FileTheme"});
    EXPECT_TRUE(other->calls.empty()) << "it shows no file theme";
    EXPECT_TRUE(unprefixed->calls.empty()) << "only the skin's own controls are told";
    theme->SetThemeFile(second);
    EXPECT_EQ(showing->calls.size(), 1u) << "the same path again does nothing";

    // A theme kept by the window's frame reaches the controls on panels inside it.
    QWidget framed;
    auto* frame = new TsuiForm(&framed);
    auto* kept = new TsuiFileTheme(frame);
    kept->SetThemeFile(first);
    auto* deep = new TsuiStandIn(new QWidget(frame), "deep");
    deep->SetFileTheme(kept);
    deep->calls.clear();
    kept->SetThemeFile(second);
    EXPECT_EQ(deep->calls, std::vector<std::string>{"FileTheme"});
}

TEST(BuiltInFileTheme, CarriesTheBytesAndLoadsThemThroughATemporaryFile)
{
    qxtest::ScratchDir dir;
    qputenv("TMPDIR", QByteArray::fromStdString(dir.Path("tmp")));
    QDir().mkpath(QString::fromStdString(dir.Path("tmp")));
    const QString source = QString::fromStdString(dir.Path("deep.sui"));
    ASSERT_TRUE(ExportBuiltInTheme(Sui::DeepBlue, source));

    TsuiBuiltInFileTheme stored;
    EXPECT_TRUE(stored.SkinData().isEmpty());
    stored.setProperty("ThemeFile", source);
    EXPECT_FALSE(stored.CanUse()) << "naming the file loads nothing";
    const QByteArray bytes = stored.property("SkinData").toByteArray();
    ASSERT_FALSE(bytes.isEmpty());

    const QString taken = QDir::tempPath() + "/ORVELTT.sui";
    qxtest::WriteFile(taken.toStdString(), "someone else's");
    EXPECT_EQ(TsuiBuiltInFileTheme::TemporaryThemePath(), QDir::tempPath() + "/ORVELTT1.sui");
    TsuiBuiltInFileTheme loaded;
    loaded.setProperty("SkinData", bytes);
    EXPECT_TRUE(loaded.CanUse());
    EXPECT_EQ(loaded.GetColor(SUI_THEME_MENU_SELECTED_BORDER_COLOR), 0xA04A44u);
    EXPECT_FALSE(QFile::exists(QDir::tempPath() + "/ORVELTT1.sui")) << "the temporary file is removed";
    EXPECT_EQ(qxtest::ReadFile(taken.toStdString()), "someone else's");
    qunsetenv("TMPDIR");
}

}  // namespace

#include "fuzz/ThemeFuzz.h"
#include "skin/ThemeExport.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// The theme reader's fuzz invariants on seeds made here (theme files are binary, so
// none is kept in the tree): a whole exported look, every cut of its first records,
// and single flipped bytes in its headers.
TEST(ThemeFuzzCorpus, SeedsHoldTheInvariants)
{
    qxtest::ScratchDir dir;
    const QString path = QString::fromStdString(dir.Path("seed.sui"));
    ASSERT_TRUE(ExportBuiltInTheme(Sui::MacOS, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const auto run = [](const QByteArray& b) {
        return QxFuzzTheme(reinterpret_cast<const std::uint8_t*>(b.constData()), std::size_t(b.size()));
    };
    EXPECT_EQ(run(whole), 0);
    for (int cut = 0; cut < 24 + 77 * 3; ++cut)
        EXPECT_EQ(run(whole.left(cut)), 0);
    for (int at = 0; at < 24 + 77; ++at)
        for (const char bits : {'\x01', '\x80', '\xFF'}) {
            QByteArray flipped = whole;
            flipped[at] = char(flipped[at] ^ bits);
            EXPECT_EQ(run(flipped), 0);
        }
    for (const QString& name : QDir(QStringLiteral(QX_THEME_CORPUS)).entryList(QDir::Files)) {
        QFile seed(QStringLiteral(QX_THEME_CORPUS) + "/" + name);
        ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
        EXPECT_EQ(run(seed.readAll()), 0) << name.toStdString();
    }
}

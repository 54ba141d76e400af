#include "skin/ThemeExport.h"
#include "skin/ThemeFile.h"

#include "TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray U32(std::uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

QByteArray Header(std::uint32_t headerSize = 24, std::uint32_t first = 24)
{
    return QByteArray("Orvelit_TB\0\0", 12) + U32(headerSize) + U32(1) + U32(first);
}

QByteArray RecordHeader(const QByteArray& name, std::uint8_t kind, std::uint32_t dataAt, std::uint32_t size,
                        std::uint32_t next)
{
    QByteArray field = name.left(64);
    field.append(QByteArray(64 - field.size(), '\0'));
    return field + QByteArray(1, char(kind)) + U32(dataAt) + U32(size) + U32(next);
}

QByteArray EndRecord()
{
    QByteArray end(77, '\0');
    end[64] = 2;
    return end;
}

// A file built record by record, each header followed by its data.
struct Builder {
    QByteArray bytes = Header();
    Builder& Add(const QByteArray& name, std::uint8_t kind, const QByteArray& data)
    {
        const auto at = std::uint32_t(bytes.size());
        bytes += RecordHeader(name, kind, at + 77, std::uint32_t(data.size()), at + 77 + std::uint32_t(data.size()));
        bytes += data;
        return *this;
    }
    QByteArray Done() const { return bytes + EndRecord(); }
};

TEST(ThemeFile, RecognisesTheMagicExactly)
{
    qxtest::ScratchDir dir;
    struct Case {
        const char* name;
        QByteArray bytes;
        bool theme;
    };
    const Case cases[] = {
        {"magic then junk", QByteArray("Orvelit_TB\0\0", 12) + "junk that is not a theme", true},
        {"other letter case", QByteArray("orvelit_TB\0\0", 12) + QByteArray(20, 'x'), false},
        {"longer text", QByteArray("Orvelit_TBX\0", 12) + QByteArray(20, 'x'), false},
        {"shorter than the magic", QByteArray("Orvelit_TB"), false},
        {"empty", QByteArray(), false},
    };
    for (const Case& c : cases) {
        const std::string path = dir.Path(c.name);
        qxtest::WriteFile(path, c.bytes.toStdString());
        EXPECT_EQ(IsSUIThemeFile(QString::fromStdString(path)), c.theme) << c.name;
    }
    EXPECT_FALSE(IsSUIThemeFile(QString::fromStdString(dir.Path("missing.sui"))));
    EXPECT_FALSE(IsSUIThemeFile(QString::fromStdString(dir.Path())));
}

TEST(ThemeFile, ReadsRecordsByNameWithoutRegardToCase)
{
    const QByteArray longName(64, 'N');
    const QByteArray bytes = Builder()
                                 .Add("Picture", 0, "BMPDATA")
                                 .Add("Title", 3, "Hello")
                                 .Add("FormBorderWidthInt", 1, U32(3))
                                 .Add("formborderwidthint", 1, U32(9))
                                 .Add(longName, 2, QByteArray(1, '\x05'))
                                 .Add("Odd", 9, "skipped kind")
                                 .Done();
    TsuiThemeFileReader reader;
    ASSERT_TRUE(reader.Load(bytes)) << reader.Error();
    ASSERT_NE(reader.GetFile("PICTURE"), nullptr);
    EXPECT_EQ(*reader.GetFile("picture"), "BMPDATA");
    EXPECT_EQ(reader.GetStr("title"), "Hello");
    EXPECT_EQ(reader.GetInteger("FORMBORDERWIDTHINT"), 3) << "the first of two records wins";
    EXPECT_TRUE(reader.GetBool(QString(longName))) << "a 64-character name keeps all 64";
    EXPECT_EQ(reader.GetInteger("Missing"), -1);
    EXPECT_FALSE(reader.GetBool("Missing"));
    EXPECT_EQ(reader.GetFile("Missing"), nullptr);
    EXPECT_EQ(reader.GetStr("Odd"), "");

    TsuiThemeFileReader empty;
    ASSERT_TRUE(empty.Load(Header() + EndRecord()));
    EXPECT_TRUE(empty.Records().empty());
    EXPECT_EQ(empty.GetInteger("ButtonImage"), -1);
}

TEST(ThemeFile, RefusesFilesThatBreakTheFormat)
{
    const QByteArray good = Builder().Add("A", 1, U32(1)).Done();
    QByteArray loop = Header() + RecordHeader("A", 1, 24 + 77, 4, 24) + U32(1);  // next points back at itself
    QByteArray pastEnd = Header() + RecordHeader("A", 0, 24 + 77, 0x7FFFFFFF, 24 + 77 + 4) + U32(1) + EndRecord();
    QByteArray wrapAround = Header() + RecordHeader("A", 0, 0xFFFFFFF0u, 0x20, 24 + 77) + EndRecord();
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"header size 25", Header(25) + EndRecord()},
        {"first record past the end", Header(24, 5000) + EndRecord()},
        {"first record inside the header", Header(24, 4) + EndRecord()},
        {"record header cut short", good.left(24 + 50)},
        {"no end record", good.left(good.size() - 77)},
        {"integer of 3 bytes", Builder().Add("A", 1, QByteArray(3, '\1')).Done()},
        {"boolean of 2 bytes", Builder().Add("A", 2, QByteArray(2, '\1')).Done()},
        {"a chain that loops", loop},
        {"data size far beyond the file", pastEnd},
        {"data offset that wraps", wrapAround},
        {"shorter than a header", QByteArray("Orvelit_TB\0\0", 12)},
    };
    for (const Case& c : cases) {
        TsuiThemeFileReader reader;
        EXPECT_FALSE(reader.Load(c.bytes)) << c.what;
        EXPECT_FALSE(reader.IsValid()) << c.what;
        EXPECT_FALSE(reader.Error().empty()) << c.what;
        EXPECT_EQ(reader.GetInteger("A"), -1) << c.what << ": nothing half-read is kept";
    }
}

TEST(ThemeFile, WriterLaysOutRecordsInKindOrder)
{
    qxtest::ScratchDir dir;
    const QString path = QString::fromStdString(dir.Path("t.sui"));
    const QString embedded = QString::fromStdString(dir.Path("pic.bmp"));
    qxtest::WriteFile(embedded.toStdString(), "PIC");
    {
        TsuiThemeFileWriter writer(path);
        writer.AddBool("Flag", true);
        writer.AddInteger("Number", -2);
        writer.AddStr("Text", "ab");
        writer.AddFile("Picture", embedded);
        writer.AddInteger(QString(70, 'L'), 5);  // cut to 64
    }  // saved here
    const QByteArray expected = Builder()
                                    .Add("Picture", 0, "PIC")
                                    .Add("Text", 3, "ab")
                                    .Add("Number", 1, U32(std::uint32_t(-2)))
                                    .Add(QByteArray(64, 'L'), 1, U32(5))
                                    .Add("Flag", 2, QByteArray(1, '\1'))
                                    .Done();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);
    EXPECT_TRUE(IsSUIThemeFile(path));
}

TEST(ThemeFile, AnExportedLookReadsBackWhole)
{
    qxtest::ScratchDir dir;
    const QString path = QString::fromStdString(dir.Path("winxp.sui"));
    ASSERT_TRUE(ExportBuiltInTheme(Sui::WinXP, path));
    const TsuiThemeFileReader reader(path);
    ASSERT_TRUE(reader.IsValid()) << reader.Error();
    EXPECT_EQ(reader.Records().size(), std::size_t(SUI_THEME_ENTRY_COUNT));
    EXPECT_EQ(reader.GetInteger("FormBorderColor"), 0xC82C00);
    EXPECT_EQ(reader.GetInteger("TitleBarButtonRightOffsetInt"), -2);
    EXPECT_FALSE(reader.GetBool("ButtonTransparentBool"));
    QImage picture;
    ASSERT_NE(reader.GetFile("TitleBarButtonImage"), nullptr);
    ASSERT_TRUE(picture.loadFromData(*reader.GetFile("TitleBarButtonImage"), "BMP"));
    EXPECT_EQ(picture.size(), QSize(378, 21));
    EXPECT_FALSE(ExportBuiltInTheme(Sui::FromThemeFile, path));
}

}  // namespace

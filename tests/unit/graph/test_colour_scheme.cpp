// Colour schemes and .gcf colour files: codes and colours, reading every
// line-end form, bad files, writing and reading back, start-up fallback.

#include "graph/colour_scheme.h"

#include "support/scripted_messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tamble;
using tamble::test::ScriptedMessages;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

ColourScheme scheme(std::array<std::uint8_t, 8> codes)
{
    ColourScheme s;
    s.codes = codes;
    return s;
}

} // namespace

TEST(ColourCodes, EveryCodeHasItsColourAndBack)
{
    const std::array<std::uint32_t, 16> rgb{0xFFFFFF, 0x00FFFF, 0xFF00FF, 0x0000FF, 0xFFFF00, 0x00FF00,
                                            0xFF0000, 0x808080, 0xC0C0C0, 0x008080, 0x800080, 0x000080,
                                            0x808000, 0x008000, 0x800000, 0x000000};
    for (int code = 1; code <= 16; ++code) {
        EXPECT_EQ(ColourCodeRgb(code), rgb[static_cast<std::size_t>(code - 1)]) << code;
        EXPECT_EQ(RgbColourCode(rgb[static_cast<std::size_t>(code - 1)]), code) << code;
    }
    EXPECT_EQ(ColourCodeName(10), "teal");
}

TEST(ColourCodes, CodesOutsideTheTableShowRedAndForeignColoursGive255)
{
    for (int code : {0, 17, 44, 255, -1})
        EXPECT_EQ(ColourCodeRgb(code), 0xFF0000u) << code;
    EXPECT_EQ(RgbColourCode(0x123456), 255);
    EXPECT_EQ(RgbColourCode(0xFF0000), 7);
}

TEST(ColourScheme, FactorySchemeAndItsChartColours)
{
    const ColourScheme f = FactoryColourScheme();
    EXPECT_EQ(f.codes, (std::array<std::uint8_t, 8>{10, 6, 4, 7, 16, 10, 1, 1}));
    const ChartColours c = ChartColoursOf(f);
    EXPECT_EQ(c.channel, (std::array<std::uint32_t, 4>{0x008080, 0x00FF00, 0x0000FF, 0xFF0000}));
    EXPECT_EQ(c.text, 0x000000u);
    EXPECT_EQ(c.grid, 0x008080u);
    EXPECT_EQ(c.background, 0xFFFFFFu);
    EXPECT_EQ(c.border, 0xFFFFFFu);
}

TEST(ColourFile, ReadsEveryLineEndFormLeadingBlanksAndIgnoresLaterLines)
{
    const std::array<std::uint8_t, 8> want{1, 2, 3, 4, 5, 6, 7, 8};
    const QByteArray inputs[] = {
        "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n",
        "1\n2\n3\n4\n5\n6\n7\n8",
        "1\r2\r3\r4\r5\r6\r7\r8\r",
        "  1\r\n 2\n3\r4\r\n5\r\n6\r\n7\r\n8\r\nnot a number\r\n99\r\n",
        "+1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8",
    };
    for (const QByteArray& in : inputs) {
        const GcfReadResult r = ParseColourFile(in);
        EXPECT_TRUE(r.ok()) << in.constData();
        EXPECT_EQ(r.scheme.codes, want) << in.constData();
    }
}

TEST(ColourFile, ValuesAreKeptModulo256)
{
    const GcfReadResult r = ParseColourFile("300\r\n256\r\n-1\r\n16\r\n16\r\n16\r\n16\r\n16\r\n");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.scheme.codes[0], 44);
    EXPECT_EQ(r.scheme.codes[1], 0);
    EXPECT_EQ(r.scheme.codes[2], 255);
    EXPECT_EQ(ChartColoursOf(r.scheme).channel[0], 0xFF0000u);
}

TEST(ColourFile, BadFilesGiveTheFactorySchemeAndNameTheFault)
{
    struct Case {
        QByteArray bytes;
        GcfError error;
        int line;
    };
    const std::vector<Case> cases{
        {"", GcfError::TooFewLines, 0},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", GcfError::TooFewLines, 7},
        {"1\r\n2\r\n\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", GcfError::NotInteger, 3},
        {"1\r\n2\r\n3 \r\n4\r\n5\r\n6\r\n7\r\n8\r\n", GcfError::NotInteger, 3},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n0x10\r\n", GcfError::NotInteger, 8},
        {"99999999999\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", GcfError::NotInteger, 1},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 12), GcfError::NotInteger, 1},
        {"-\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", GcfError::NotInteger, 1},
        {QByteArray(70000, '1'), GcfError::TooLong, 0},
    };
    for (const Case& c : cases) {
        const GcfReadResult r = ParseColourFile(c.bytes);
        EXPECT_EQ(r.error, c.error) << c.bytes.left(20).constData();
        EXPECT_EQ(r.badLine, c.line) << c.bytes.left(20).constData();
        EXPECT_EQ(r.scheme, FactoryColourScheme());
        EXPECT_TRUE(ColourFileErrorText(r, "x.gcf").endsWith("; loading factory defaults"));
    }
}

TEST(ColourFile, WritesEightCodesWithCrLfAndReadsThemBack)
{
    QTemporaryDir dir;
    const ColourScheme s = scheme({16, 15, 14, 13, 12, 11, 9, 255});
    const QString path = dir.path() + "/mine.GCF";
    ASSERT_TRUE(WriteColourFile(path, s));
    EXPECT_EQ(fileBytes(path), "16\r\n15\r\n14\r\n13\r\n12\r\n11\r\n9\r\n255\r\n");
    const GcfReadResult r = ReadColourFile(path);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.scheme, s);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"mine.GCF"});
}

TEST(ColourFile, ShippedFactoryFileReadsAsTheFactoryScheme)
{
    const GcfReadResult r = ReadColourFile(QStringLiteral(TAMBLE_SOURCE_DIR "/data/default.gcf"));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.scheme, FactoryColourScheme());
    EXPECT_EQ(FormatColourFile(FactoryColourScheme()), fileBytes(TAMBLE_SOURCE_DIR "/data/default.gcf"));
}

TEST(ColourFile, WritingIntoAMissingFolderFails)
{
    QTemporaryDir dir;
    EXPECT_FALSE(WriteColourFile(dir.path() + "/no/such/x.GCF", FactoryColourScheme()));
}

TEST(ColourFile, SaveNameGetsTheExtensionGcf)
{
    const std::vector<std::pair<QString, QString>> cases{
        {"/d/colours", "/d/colours.GCF"},     {"/d/colours.gcf", "/d/colours.GCF"},
        {"/d/colours.txt", "/d/colours.GCF"}, {"/d.x/colours", "/d.x/colours.GCF"},
        {"/d/a.b.gcf", "/d/a.b.GCF"},         {"/d/.hidden", "/d/.hidden.GCF"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ColourFileSavePath(in), out) << in.toStdString();
}

TEST(StartupColours, ReadsTheNamePartOfTheStoredFileInTheProgramFolder)
{
    QTemporaryDir dir;
    writeBytes(dir.path() + "/night.gcf", "16\r\n16\r\n16\r\n16\r\n1\r\n8\r\n16\r\n16\r\n");
    ScriptedMessages messages;
    QString stored = "/elsewhere/night.gcf";
    const ColourScheme s = LoadStartupColours(stored, dir.path(), messages);
    EXPECT_EQ(s, scheme({16, 16, 16, 16, 1, 8, 16, 16}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(stored, "/elsewhere/night.gcf");
}

TEST(StartupColours, MissingOrBadFileWarnsTakesFactoryAndWritesDefault)
{
    const QByteArray bad[] = {QByteArray(), QByteArray("1\r\n2\r\n"), QByteArray("garbage")};
    for (const QByteArray& content : bad) {
        QTemporaryDir dir;
        if (!content.isNull())
            writeBytes(dir.path() + "/mine.gcf", content);
        ScriptedMessages messages;
        QString stored = "C:/colours/mine.gcf";
        const ColourScheme s = LoadStartupColours(stored, dir.path() + "/", messages);
        EXPECT_EQ(s, FactoryColourScheme());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, DialogKind::Warning);
        EXPECT_EQ(messages.shown[0].text, "Graph color file: C:/colours/mine.gcf not found; loading factory defaults");
        EXPECT_EQ(stored, "default.gcf");
        EXPECT_EQ(fileBytes(dir.path() + "/default.gcf"), "10\r\n6\r\n4\r\n7\r\n16\r\n10\r\n1\r\n1\r\n");
    }
}

TEST(StartupColours, BadDefaultFileIsWrittenAnew)
{
    QTemporaryDir dir;
    writeBytes(dir.path() + "/default.gcf", "10\r\n6\r\n");
    ScriptedMessages messages;
    QString stored = "default.gcf";
    EXPECT_EQ(LoadStartupColours(stored, dir.path(), messages), FactoryColourScheme());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(ReadColourFile(dir.path() + "/default.gcf").ok());
}

#include "localfiles/ProfileFile.h"
#include "localfiles/unt_Public.h"

#include "FileHelpers.h"
#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

using localfiles::IoError;

// --- SplitString -----------------------------------------------------------

struct SplitCase
{
    const char* what;
    QByteArray text;
    QByteArray sep;
    QList<QByteArray> pieces;
};

class SplitStringTable : public testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitStringTable, Pieces)
{
    QList<QByteArray> list{"left", "over"};
    localfiles::SplitString(GetParam().text, GetParam().sep, list);
    EXPECT_EQ(list, GetParam().pieces) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitStringTable,
    testing::Values(
        // only the first byte of a two-byte separator goes with each piece
        SplitCase{"CR LF text", "a\r\nb\r\n", "\r\n", {"a", "\nb", "\n"}},
        SplitCase{"CR LF without a last break", "a\r\nb", "\r\n", {"a", "\nb"}},
        SplitCase{"CR LF blank line", "a\r\n\r\nb", "\r\n", {"a", "\n", "\nb"}},
        SplitCase{"empty text", "", "\r\n", {}},
        SplitCase{"no separator", "whole text", "\r\n", {"whole text"}},
        SplitCase{"comma", "a,b", ",", {"a", "b"}},
        SplitCase{"comma at the end", "a,b,", ",", {"a", "b"}},
        SplitCase{"comma at the start", ",a", ",", {"", "a"}},
        SplitCase{"two commas", "a,,b", ",", {"a", "", "b"}},
        SplitCase{"separator alone", ",", ",", {""}},
        SplitCase{"three-byte separator", "a<=>b", "<=>", {"a", "=>b"}},
        SplitCase{"empty separator", "abc", "", {"abc"}},
        SplitCase{"GBK text", "\xD5\xC5,\xC8\xFD", ",", {"\xD5\xC5", "\xC8\xFD"}}));

// --- ReplaceAll ------------------------------------------------------------

struct ReplaceCase
{
    const char* what;
    QByteArray text;
    QByteArray pattern;
    QByteArray replacement;
    QByteArray result;
};

class ReplaceAllTable : public testing::TestWithParam<ReplaceCase>
{
};

TEST_P(ReplaceAllTable, Result)
{
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(localfiles::ReplaceAll(c.text, c.pattern, c.replacement), c.result) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplaceAllTable,
    testing::Values(
        // the search restarts from the start, so created occurrences go too
        ReplaceCase{"restart", "aaaa", "aa", "a", "a"},
        ReplaceCase{"created across the join", "abbc", "bc", "c", "ac"},
        ReplaceCase{"empty replacement removes all", "x-y-z-", "-", "", "xyz"},
        ReplaceCase{"twice", "www.a/www.b", "www.", "buy.", "buy.a/buy.b"},
        ReplaceCase{"empty pattern", "abc", "", "x", "abc"},
        ReplaceCase{"absent", "abc", "d", "x", "abc"}, ReplaceCase{"empty text", "", "a", "b", ""},
        ReplaceCase{"case-sensitive", "WWW.zantu", "www.zantu", "buy.zantu", "WWW.zantu"},
        ReplaceCase{"GBK", "\xD5\xC5-\xD5\xC5", "\xD5\xC5", "\xC8\xFD", "\xC8\xFD-\xC8\xFD"},
        // a replacement holding the pattern would be found again for ever
        ReplaceCase{"replacement holds the pattern", "aXa", "a", "aa", "aaXaa"},
        ReplaceCase{"replacement holds it at its end", "aaa", "a", "ba", "bababa"},
        ReplaceCase{"replacement equals the pattern", "www.www", "www", "www", "www.www"},
        ReplaceCase{"host prefix grows", "http://www.z", "www", "wwww", "http://wwww.z"}));

// --- AppendLineToFile --------------------------------------------------------

class AppendLine : public testing::Test
{
protected:
    QString path(const QString& name) const { return FFolder.filePath(name); }
    QByteArray name(const QString& relative) const { return nativeName(path(relative)); }
    TempProgramFolder FFolder;
};

TEST_F(AppendLine, CreatesThenAppendsWithCrLf)
{
    localfiles::AppendLineToFile("first", name("a.txt"));
    localfiles::AppendLineToFile("\xD5\xC5 second", name("a.txt"));
    localfiles::AppendLineToFile("", name("a.txt"));
    EXPECT_EQ(readFile(path("a.txt")), "first\r\n\xD5\xC5 second\r\n\r\n");
}

TEST_F(AppendLine, CreatesOneMissingFolderLevel)
{
    localfiles::AppendLineToFile("x", name("one/b.txt"));
    EXPECT_EQ(readFile(path("one/b.txt")), "x\r\n");
}

TEST_F(AppendLine, TwoMissingLevelsRaiseAnIoError)
{
    EXPECT_THROW(localfiles::AppendLineToFile("x", name("one/two/c.txt")), IoError);
    EXPECT_FALSE(QFileInfo::exists(path("one/two/c.txt")));
}

TEST_F(AppendLine, TargetThatIsAFolderRaisesAnIoError)
{
    QDir().mkpath(path("dir.txt"));
    EXPECT_THROW(localfiles::AppendLineToFile("x", name("dir.txt")), IoError);
}

TEST_F(AppendLine, ShortWriteRaisesAnIoError)
{
    localfiles::AppendLineToFile("keep", name("d.txt"));
    {
        FileSizeLimit limit(8);
        EXPECT_THROW(localfiles::AppendLineToFile("a line too long", name("d.txt")), IoError);
    }
    EXPECT_TRUE(readFile(path("d.txt")).startsWith("keep\r\n"));
}

TEST_F(AppendLine, BlankNameWritesNothing)
{
    EXPECT_NO_THROW(localfiles::AppendLineToFile("x", ""));
    EXPECT_NO_THROW(localfiles::AppendLineToFile("x", "  \t"));
    EXPECT_TRUE(QDir(FFolder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

// --- WriteDayLog -------------------------------------------------------------

TEST(WriteDayLog, CreatesLogFolderAndAppendsStampedLines)
{
    TempProgramFolder folder;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QByteArray logPath;
    localfiles::WriteDayLog("05", "Warnning_Web", 0, logPath);
    QByteArray secondPath;
    localfiles::WriteDayLog("\xD5\xC5", "Warnning_Web", 0, secondPath);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    ASSERT_EQ(secondPath, logPath); // same day, same file (a run across midnight aside)
    const QRegularExpression name(
        QStringLiteral("^log/Warnning_Web-(\\d{4}-\\d\\d-\\d\\d)\\.txt$"));
    const QByteArray base = localfiles::AppPath();
    ASSERT_TRUE(logPath.startsWith(base)) << logPath.constData();
    const auto nameMatch = name.match(QString::fromLatin1(logPath.mid(base.size())));
    ASSERT_TRUE(nameMatch.hasMatch()) << logPath.constData();
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("log"))).isDir());

    const QByteArray content = readFile(QString::fromLatin1(logPath));
    const QList<QByteArray> lines = content.split('\n');
    ASSERT_EQ(lines.size(), 3) << content.constData(); // two lines and the empty rest
    const QByteArray texts[] = {"05", "\xD5\xC5"};
    for (int i = 0; i < 2; ++i) {
        const QByteArray& line = lines[i];
        ASSERT_TRUE(line.endsWith('\r'));
        ASSERT_GE(line.size(), 22);
        EXPECT_EQ(line.mid(19, 2), "  ");
        EXPECT_EQ(line.mid(21, line.size() - 22), texts[i]);
        const QDateTime stamp = QDateTime::fromString(QString::fromLatin1(line.left(19)),
                                                      QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        ASSERT_TRUE(stamp.isValid()) << line.constData();
        EXPECT_LE(before, stamp);
        EXPECT_LE(stamp, after);
    }
    EXPECT_EQ(nameMatch.captured(1), QString::fromLatin1(lines[0].left(10)));
}

TEST(WriteDayLog, NeverRaises)
{
    TempProgramFolder folder;
    folder.write(QStringLiteral("log"), "a file where the folder should be");
    QByteArray logPath;
    EXPECT_NO_THROW(localfiles::WriteDayLog("05", "Warnning_Web", 0, logPath));
    EXPECT_TRUE(logPath.endsWith(".txt"));
    EXPECT_EQ(folder.read(QStringLiteral("log")), "a file where the folder should be");
}

// --- ReadTaskConfig / WriteTaskConfig ----------------------------------------

TEST(TaskConfig, ReadsZeroForMissingOrBlank)
{
    TempProgramFolder folder;
    EXPECT_EQ(localfiles::ReadTaskConfig("StationName"), "0") << "no Config.ini";
    folder.write(
        QStringLiteral("Config.ini"),
        "[TaskConfig]\r\nStationName=\r\nHomePage=   \r\nOther=\"\"\r\nName2=  \xD5\xC5 \r\n");
    EXPECT_EQ(localfiles::ReadTaskConfig("StationName"), "0");
    EXPECT_EQ(localfiles::ReadTaskConfig("HomePage"), "0");
    EXPECT_EQ(localfiles::ReadTaskConfig("Other"), "0");
    EXPECT_EQ(localfiles::ReadTaskConfig("Missing"), "0");
    EXPECT_EQ(localfiles::ReadTaskConfig("name2"), "\xD5\xC5");
}

TEST(TaskConfig, WriteThenReadBack)
{
    TempProgramFolder folder;
    EXPECT_TRUE(localfiles::WriteTaskConfig("StationName", "\xB2\xE2\xCA\xD4"));
    EXPECT_TRUE(localfiles::WriteTaskConfig("HomePage", "http://www.zantu.com"));
    EXPECT_EQ(folder.read(QStringLiteral("Config.ini")),
              "[TaskConfig]\r\nStationName=\xB2\xE2\xCA\xD4\r\nHomePage=http://www.zantu.com\r\n");
    EXPECT_EQ(localfiles::ReadTaskConfig("StationName"), "\xB2\xE2\xCA\xD4");
    EXPECT_TRUE(localfiles::WriteTaskConfig("stationname", "B"));
    EXPECT_EQ(localfiles::ReadTaskConfig("StationName"), "B");
    EXPECT_EQ(folder.read(QStringLiteral("Config.ini")),
              "[TaskConfig]\r\nstationname=B\r\nHomePage=http://www.zantu.com\r\n");
}

TEST(TaskConfig, RefusedWriteRaisesWithTheFileName)
{
    TempProgramFolder folder;
    QDir().mkpath(
        folder.filePath(QStringLiteral("Config.ini"))); // root cannot write a folder as a file
    const std::string expected =
        "Unable to write to " + (localfiles::AppPath() + "Config.ini").toStdString();
    try {
        localfiles::WriteTaskConfig("StationName", "x");
        ADD_FAILURE() << "no error";
    } catch (const localfiles::WriteError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("Config.ini"))).isDir());
}

} // namespace

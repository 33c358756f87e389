#include "localfiles/ProfileFile.h"

#include "FileHelpers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

namespace pf = localfiles::ProfileFile;

// A key whose trail byte is the ASCII letter 'A', and the same lead byte with
// the trail byte 'a': two different characters, whatever the letter case rule.
const QByteArray KeyUpperTrail = "k\x81\x41";
const QByteArray KeyLowerTrail = "k\x81\x61";

const QByteArray Sample = "; station settings\r\n"
                          "stray=before any section\r\n"
                          "[TaskConfig]\r\n"
                          "StationName=\xB2\xE2\xCA\xD4\xD5\xBE\r\n"
                          "  Padded  =   spaced value   \r\n"
                          "Double=\"  quoted  \"\r\n"
                          "Single='x'\r\n"
                          "Mismatched=\"x'\r\n"
                          "Lone=\"\r\n"
                          "Empty=\r\n"
                          "NoEquals\r\n"
                          "Eq=a=b\r\n"
                          "; Commented=yes\r\n"
                          "k\x81\x41=upper trail\r\n"
                          "\r\n"
                          "[ Other ]\r\n"
                          "StationName=other section\r\n"
                          "[TASKCONFIG]\r\n"
                          "Late=second section of the same name\r\n";

struct ReadCase
{
    const char* what;
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

class ProfileRead : public testing::TestWithParam<ReadCase>
{
protected:
    void SetUp() override
    {
        FFile = FDir.filePath(QStringLiteral("Config.ini"));
        writeFile(FFile, Sample);
    }
    QTemporaryDir FDir;
    QString FFile;
};

TEST_P(ProfileRead, Value)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(pf::ReadString(nativeName(FFile), c.section, c.key, "DEF"), c.value) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileRead,
    testing::Values(
        ReadCase{"GBK value", "TaskConfig", "StationName", "\xB2\xE2\xCA\xD4\xD5\xBE"},
        ReadCase{"section without case", "taskconfig", "StationName", "\xB2\xE2\xCA\xD4\xD5\xBE"},
        ReadCase{"key without case", "TaskConfig", "STATIONNAME", "\xB2\xE2\xCA\xD4\xD5\xBE"},
        ReadCase{"blanks around key and value", "TaskConfig", "padded", "spaced value"},
        ReadCase{"double quotes, inner blanks kept", "TaskConfig", "Double", "  quoted  "},
        ReadCase{"single quotes", "TaskConfig", "Single", "x"},
        ReadCase{"mismatched quotes stay", "TaskConfig", "Mismatched", "\"x'"},
        ReadCase{"a lone quote stays", "TaskConfig", "Lone", "\""},
        ReadCase{"empty value is no default", "TaskConfig", "Empty", ""},
        ReadCase{"a line without = is no key", "TaskConfig", "NoEquals", "DEF"},
        ReadCase{"the first = splits", "TaskConfig", "Eq", "a=b"},
        ReadCase{"comment is no key", "TaskConfig", "Commented", "DEF"},
        ReadCase{"GBK key", "TaskConfig", KeyUpperTrail, "upper trail"},
        ReadCase{"GBK key: trail byte case matters", "TaskConfig", KeyLowerTrail, "DEF"},
        ReadCase{"section name trimmed", "Other", "StationName", "other section"},
        ReadCase{"lines before any section", "", "stray", "DEF"},
        ReadCase{"missing key", "TaskConfig", "HomePage", "DEF"},
        ReadCase{"missing section", "Version", "StationName", "DEF"}));

TEST(ProfileFile, MissingFileGivesTheDefault)
{
    QTemporaryDir dir;
    EXPECT_EQ(pf::ReadString(nativeName(dir.filePath(QStringLiteral("none.ini"))), "TaskConfig",
                             "StationName", "DEF"),
              "DEF");
}

TEST(ProfileFile, ValuesStopAt2047Bytes)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Config.ini"));
    const QByteArray chinese = QByteArray("\xD5\xC5").repeated(1500); // 3000 bytes
    writeFile(file, "[S]\r\nascii=" + QByteArray(3000, 'x') + "\r\nexact=" + QByteArray(2047, 'y') +
                        "\r\ngbk=" + chinese + "\r\nquoted=\"" + QByteArray(2100, 'q') + "\"\r\n");
    const QByteArray name = nativeName(file);
    EXPECT_EQ(pf::ReadString(name, "S", "ascii", {}), QByteArray(2047, 'x'));
    EXPECT_EQ(pf::ReadString(name, "S", "exact", {}), QByteArray(2047, 'y'));
    // 2047 bytes would end in half a character
    EXPECT_EQ(pf::ReadString(name, "S", "gbk", {}), chinese.left(2046));
    EXPECT_EQ(pf::ReadString(name, "S", "quoted", {}), QByteArray(2047, 'q'));
}

struct WriteCase
{
    const char* what;
    QByteArray before; // "" with `exists` false: no file
    bool exists;
    QByteArray section;
    QByteArray key;
    QByteArray value;
    QByteArray after;
};

class ProfileWrite : public testing::TestWithParam<WriteCase>
{
};

TEST_P(ProfileWrite, File)
{
    const WriteCase& c = GetParam();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Config.ini"));
    if (c.exists)
        writeFile(file, c.before);
    pf::WriteString(nativeName(file), c.section, c.key, c.value);
    EXPECT_EQ(readFile(file), c.after) << c.what;
    EXPECT_EQ(pf::ReadString(nativeName(file), c.section, c.key, "DEF"),
              c.value.contains('\n') ? QByteArray(c.value).replace('\n', ' ') : c.value)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileWrite,
    testing::Values(
        WriteCase{"new file", "", false, "TaskConfig", "StationName", "\xD5\xC5",
                  "[TaskConfig]\r\nStationName=\xD5\xC5\r\n"},
        WriteCase{"empty file", "", true, "TaskConfig", "K", "v", "[TaskConfig]\r\nK=v\r\n"},
        WriteCase{
            "replace in place, comments and order kept",
            "; top\r\n[TaskConfig]\r\nStationName=old\r\n; note\r\nHomePage=h\r\n[Z]\r\nq=1\r\n",
            true, "TaskConfig", "StationName", "new",
            "; top\r\n[TaskConfig]\r\nStationName=new\r\n; note\r\nHomePage=h\r\n[Z]\r\nq=1\r\n"},
        WriteCase{"replace keeps LF endings", "[a]\nk = old \nz=1\n", true, "A", "K", "v",
                  "[a]\nK=v\nz=1\n"},
        WriteCase{"replace keeps mixed endings and a missing last one", "[a]\r\nk=1\nz=2", true,
                  "a", "z", "3", "[a]\r\nk=1\nz=3"},
        WriteCase{"GBK key matched exactly", "[s]\r\nk\x81\x61=lower\r\n", true, "s", KeyUpperTrail,
                  "upper", "[s]\r\nk\x81\x61=lower\r\nk\x81\x41=upper\r\n"},
        WriteCase{"append to its section, before the next one and its blank line",
                  "[TaskConfig]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n", true, "taskconfig", "HomePage",
                  "h", "[TaskConfig]\r\nA=1\r\nHomePage=h\r\n\r\n[Other]\r\nB=2\r\n"},
        WriteCase{"append to a last line without an ending", "[s]\nA=1", true, "s", "B", "2",
                  "[s]\nA=1\nB=2\n"},
        WriteCase{"append a section", "[Other]\r\nB=2\r\n", true, "TaskConfig", "K", "v",
                  "[Other]\r\nB=2\r\n[TaskConfig]\r\nK=v\r\n"},
        WriteCase{"append a section after a last line without an ending", "x=1", true, "s", "k",
                  "v", "x=1\r\n[s]\r\nk=v\r\n"},
        WriteCase{"the first of two sections of a name", "[s]\r\na=1\r\n[s]\r\nk=old\r\n", true,
                  "s", "k", "new", "[s]\r\na=1\r\nk=new\r\n[s]\r\nk=old\r\n"},
        WriteCase{"a line break in a value stays on its line", "", false, "s", "k", "a\nb",
                  "[s]\r\nk=a b\r\n"},
        WriteCase{"empty value", "[s]\r\nk=old\r\n", true, "s", "k", "", "[s]\r\nk=\r\n"}));

class RefusedWrite : public testing::Test
{
protected:
    QByteArray name(const QString& relative) const { return nativeName(FDir.filePath(relative)); }
    void expectRefused(const QByteArray& file)
    {
        try {
            pf::WriteString(file, "TaskConfig", "StationName", QByteArray(100, 'n'));
            ADD_FAILURE() << "no error for " << file.constData();
        } catch (const localfiles::WriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + file.toStdString());
        }
    }
    QTemporaryDir FDir;
};

TEST_F(RefusedWrite, TargetIsAFolder)
{
    QDir().mkpath(FDir.filePath(QStringLiteral("Config.ini/inside")));
    expectRefused(name(QStringLiteral("Config.ini")));
    EXPECT_TRUE(QFileInfo(FDir.filePath(QStringLiteral("Config.ini/inside"))).isDir());
}

TEST_F(RefusedWrite, FolderMissing)
{
    expectRefused(name(QStringLiteral("missing/Config.ini")));
    EXPECT_FALSE(QFileInfo::exists(FDir.filePath(QStringLiteral("missing"))));
}

TEST_F(RefusedWrite, FailedWriteLeavesTheOldFileWhole)
{
    const QString file = FDir.filePath(QStringLiteral("Config.ini"));
    const QByteArray old = "[TaskConfig]\r\nStationName=old\r\nHomePage=http://www.zantu.com\r\n";
    writeFile(file, old);
    {
        // The new text is longer than the limit, the old one is not.
        FileSizeLimit limit(old.size() + 10);
        expectRefused(nativeName(file));
    }
    EXPECT_EQ(readFile(file), old);
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Config.ini")})
        << "no temporary file left behind";
}

} // namespace

#include "localfiles/MemIniFile.h"

#include "FileHelpers.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QByteArray Descriptor = "HomePage=before any section\r\n"
                              "; comment=no\r\n"
                              "\r\n"
                              "   \t \r\n"
                              "  [ Version ]  \r\n"
                              "  HomePage   =   http://www.zantu.com  \r\n"
                              "ChangeHomePage=\"1\"\n"
                              "UpdateServer= 'http://u.zantu.com/' \r"
                              "Version=a = b\r\n"
                              "   ;Indented=comment\r\n"
                              "NoEquals\r\n"
                              "#hash=not a comment\r\n"
                              "Name=\xB2\xE2\xCA\xD4\r\n"
                              "k\x81\x41=upper trail\r\n"
                              "Empty=\r\n"
                              "[Other]\r\n"
                              "Version=other\r\n"
                              "[broken\r\n"
                              "UpdateVer=7";

struct MemCase
{
    const char* what;
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

class MemIniRead : public testing::TestWithParam<MemCase>
{
};

TEST_P(MemIniRead, Value)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("AutoUpdate.ini"));
    writeFile(file, Descriptor);
    const localfiles::MemIniFile ini(nativeName(file));
    const MemCase& c = GetParam();
    EXPECT_EQ(ini.ReadString(c.section, c.key, "DEF"), c.value) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MemIniRead,
    testing::Values(MemCase{"blanks around = and the line trimmed", "Version", "HomePage",
                            "http://www.zantu.com"},
                    MemCase{"section and key without case", "VERSION", "homepage",
                            "http://www.zantu.com"},
                    MemCase{"double quotes kept", "Version", "ChangeHomePage", "\"1\""},
                    MemCase{"single quotes kept, CR ending", "Version", "UpdateServer",
                            "'http://u.zantu.com/'"},
                    MemCase{"only the first = loses its blanks", "Version", "Version", "a = b"},
                    MemCase{"indented comment skipped", "Version", "Indented", "DEF"},
                    MemCase{"comment skipped", "Version", "; comment", "DEF"},
                    MemCase{"a line without = is no key", "Version", "NoEquals", "DEF"},
                    MemCase{"# is no comment", "Version", "#hash", "not a comment"},
                    MemCase{"GBK value", "Version", "Name", "\xB2\xE2\xCA\xD4"},
                    MemCase{"GBK key", "Version", "K\x81\x41", "upper trail"},
                    MemCase{"GBK key: trail byte case matters", "Version", "k\x81\x61", "DEF"},
                    MemCase{"empty value", "Version", "Empty", ""},
                    MemCase{"other section", "other", "Version", "other"},
                    MemCase{"a line without ] is a key line", "Other", "[broken", "DEF"},
                    MemCase{"last line without an ending", "Other", "UpdateVer", "7"},
                    MemCase{"lines before the first section ignored", "", "HomePage", "DEF"},
                    MemCase{"missing section", "TaskConfig", "HomePage", "DEF"}));

TEST(MemIniFile, MissingFileReadsEveryKeyAsTheDefault)
{
    QTemporaryDir dir;
    const localfiles::MemIniFile ini(nativeName(dir.filePath(QStringLiteral("AutoUpdate.ini"))));
    for (const char* key : {"HomePage", "ChangeHomePage", "UpdateServer", "Version", "UpdateVer"})
        EXPECT_EQ(ini.ReadString("Version", key, ""), "") << key;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("AutoUpdate.ini"))));
}

TEST(MemIniFile, ReadOnceThenNeverAgain)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("AutoUpdate.ini"));
    writeFile(file, "[Version]\r\nVersion=1\r\n");
    const localfiles::MemIniFile ini(nativeName(file));
    writeFile(file, "[Version]\r\nVersion=2\r\n");
    EXPECT_EQ(ini.ReadString("Version", "Version", {}), "1");
    EXPECT_EQ(readFile(file), "[Version]\r\nVersion=2\r\n");
}

TEST(MemIniFile, SectionsInFileOrderEachWithItsOwnKeys)
{
    const auto ini = localfiles::MemIniFile::FromBytes("x=before\r\n"
                                                      "[ A ]\r\nk=1\r\n"
                                                      "[B]\r\n"
                                                      "[a]\r\nk=2\r\n");
    ASSERT_EQ(ini.SectionCount(), 3);
    EXPECT_EQ(ini.SectionName(0), "A");
    EXPECT_EQ(ini.SectionName(1), "B");
    EXPECT_EQ(ini.SectionName(2), "a");
    EXPECT_EQ(ini.ReadSectionString(0, "K", "DEF"), "1");
    EXPECT_EQ(ini.ReadSectionString(1, "k", "DEF"), "DEF");
    EXPECT_EQ(ini.ReadSectionString(2, "k", "DEF"),
              "2"); // a name met again is a section of its own
    EXPECT_EQ(ini.ReadSectionString(3, "k", "DEF"), "DEF");
    EXPECT_EQ(ini.ReadString("a", "k", "DEF"), "1"); // by name, the first of that name
}

// 0x5D, "]", is also the trail byte of some two-byte characters: such a
// character at the end of a line does not close a section.
TEST(MemIniFile, ASectionClosesOnlyOnABracketOfItsOwn)
{
    const auto ini = localfiles::MemIniFile::FromBytes("[\xD0\xA1\xC6\xB1]\r\nk=1\r\n"
                                                      "[\x81\x5D\r\nk=2\r\n"
                                                      "[\x81\x5D]\r\nk=3\r\n");
    ASSERT_EQ(ini.SectionCount(), 2);
    EXPECT_EQ(ini.SectionName(0), "\xD0\xA1\xC6\xB1");
    EXPECT_EQ(ini.ReadSectionString(0, "k", "DEF"), "1");
    EXPECT_EQ(ini.ReadSectionString(0, "[\x81\x5D", "DEF"), "DEF"); // a key line without "="
    EXPECT_EQ(ini.SectionName(1), "\x81\x5D");
    EXPECT_EQ(ini.ReadSectionString(1, "k", "DEF"), "3");
}

} // namespace

#include "localfiles/Gbk.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The table of the station's text with the converter this build uses: the
// bytes as the site and the files hold them, the text the widgets show, and
// the bytes that text gives back.
TEST(Gbk, ConverterOfThisBuildKeepsTheStationsBytes)
{
    ASSERT_TRUE(gbk::ConverterAvailable());
    struct Case
    {
        QByteArray bytes;
        QString text;
        QByteArray back;
    };
    const Case cases[] = {
        {"Zantu 1.0 [TaskConfig]", U("Zantu 1.0 [TaskConfig]"), "Zantu 1.0 [TaskConfig]"},
        {"\xD5\xC5", U("张"), "\xD5\xC5"},
        {"\xB2\xE2\xCA\xD4\xD5\xBE", U("测试站"), "\xB2\xE2\xCA\xD4\xD5\xBE"},
        {"\xA3\xBA", U("："), "\xA3\xBA"},
        {"\x80", U("€"), "\x80"},
        {QByteArray("a\0b", 3), QString::fromLatin1("a\0b", 3), QByteArray("a\0b", 3)},
        // 0xFF is no character of GBK but stands for one, both ways.
        {"\xFF", QString(QChar(0xF8F5)), "\xFF"},
        {"a\xFFz", U("a") + QChar(0xF8F5) + U("z"), "a\xFFz"},
        // A lead byte without its trail byte: dropped at the very end, else
        // a replacement character, and the next byte stands for itself.
        {"a\xD5", U("a"), "a"},
        {"\xD5\xC5\xD5", U("张"), "\xD5\xC5"},
        {"\xD5\x30z", QChar(QChar::ReplacementCharacter) + U("0z"), "?0z"},
        {"\xD5\xFF", QString(QChar(QChar::ReplacementCharacter)) + QChar(0xF8F5), "?\xFF"},
        {"\x81\x7F", QString(QChar(QChar::ReplacementCharacter)) + QChar(0x7F), "?\x7F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toHex(' ').toStdString());
        EXPECT_EQ(gbk::toUnicode(c.bytes), c.text);
        EXPECT_EQ(gbk::fromUnicode(c.text), c.back);
    }

    // Characters GBK does not have become one '?' each, whatever their size.
    struct Unencodable
    {
        QString text;
        QByteArray bytes;
    };
    const Unencodable unencodable[] = {
        {U("x😀y"), "x?y"},
        {U("😀😀"), "??"},
        {U("한글"), "??"},
        {QString(QChar(0xD800)) + U("x"), "?x"}, // a lone surrogate
    };
    for (const Unencodable& u : unencodable) {
        SCOPED_TRACE(u.text.toStdString());
        EXPECT_EQ(gbk::fromUnicode(u.text), u.bytes);
    }
}

// Every two-byte code of GBK that names a character comes back as the same
// two bytes; a real GBK table names at least GBK's 21886 characters.
TEST(Gbk, EveryTwoByteCharacterComesBackUnchanged)
{
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            QByteArray bytes;
            bytes += char(lead);
            bytes += char(trail);
            const QString text = gbk::toUnicode(bytes);
            if (text.size() != 1 || text[0] == QChar::ReplacementCharacter)
                continue;
            ++characters;
            EXPECT_EQ(gbk::fromUnicode(text), bytes) << bytes.toHex().constData();
        }
    }
    EXPECT_GE(characters, 21886);
}

} // namespace

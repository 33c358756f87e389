#include "browsing/TabCaption.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

const QByteArray NewPage = "\xD0\xC2\xBD\xA8\xD2\xB3\xC3\xE6"; // 新建页面
const QByteArray Zhang = "\xD5\xC5";                           // 张

struct CaptionCase
{
    const char* what;
    QByteArray title;
    QByteArray caption;
};

class TabCaptionTable : public testing::TestWithParam<CaptionCase>
{
};

TEST_P(TabCaptionTable, FollowsTheTitle)
{
    EXPECT_EQ(browsing::TabCaption(GetParam().title), GetParam().caption) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TabCaptionTable,
    testing::Values(
        CaptionCase{"40 ASCII", QByteArray(40, 'a'), QByteArray(30, 'a') + "..."},
        CaptionCase{"exactly 30 bytes keeps all and gets dots", QByteArray(30, 'b'),
                    QByteArray(30, 'b') + "..."},
        CaptionCase{"29 bytes whole", QByteArray(29, 'c'), QByteArray(29, 'c')},
        CaptionCase{"29 bytes ending in half a character", QByteArray(28, 'c') + "\xD5",
                    QByteArray(28, 'c') + "\xD5"},
        // 29 ASCII then 张: the 30th byte begins the character, so 31 bytes stay
        CaptionCase{"30th byte a lead byte", QByteArray(29, 'd') + Zhang + "xyz",
                    QByteArray(29, 'd') + Zhang + "..."},
        // 28 ASCII then 张: the 30th byte ends the character
        CaptionCase{"30th byte a trail byte", QByteArray(28, 'e') + Zhang + "xyz",
                    QByteArray(28, 'e') + Zhang + "..."},
        // fifteen Chinese characters: the 30th byte is a trail byte in the lead range
        CaptionCase{"all Chinese, 30th byte a high trail", Zhang.repeated(20),
                    Zhang.repeated(15) + "..."},
        // one ASCII byte shifts the characters: the 30th byte begins the 15th
        CaptionCase{"all Chinese after one ASCII byte", "a" + Zhang.repeated(20),
                    "a" + Zhang.repeated(15) + "..."},
        // a lead byte followed by an ASCII-letter trail byte is one character
        CaptionCase{"trail byte an ASCII letter", QByteArray(29, 'f') + "\x81\x41" + "zz",
                    QByteArray(29, 'f') + "\x81\x41..."},
        // a lead-range byte with no valid trail after it stands alone
        CaptionCase{"30th byte a lone lead byte", QByteArray(29, 'g') + "\x81 tail",
                    QByteArray(29, 'g') + "\x81..."},
        CaptionCase{"hundreds of bytes", Zhang.repeated(300), Zhang.repeated(15) + "..."},
        CaptionCase{"empty", "", NewPage}, CaptionCase{"one byte", "x", NewPage + "x"},
        CaptionCase{"two bytes", "xy", "xy"}, CaptionCase{"one Chinese character", Zhang, Zhang}));

} // namespace

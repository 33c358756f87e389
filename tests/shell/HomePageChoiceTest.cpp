#include "shell/HomePageChoice.h"

#include <gtest/gtest.h>

namespace {

struct Row
{
    const char* name;
    QByteArray a, c, h; // descriptor HomePage, descriptor ChangeHomePage, Config.ini HomePage
    QByteArray url, changeTo;
};

const QByteArray A = "http://a.zantu.com/";  // 19 bytes
const QByteArray C = "http://c.zantu.com/";  // 19 bytes
const QByteArray Twelve = "http://x.com";    // 12 bytes
const QByteArray Thirteen = "http://xy.com"; // 13 bytes
const QByteArray Eleven = "http://x.cn";     // 11 bytes

const Row Rows[] = {
    {"no Config.ini: descriptor's page", A, "", "0", A, ""},
    {"own page of 13 bytes is kept", A, C, Thirteen, Thirteen, ""},
    {"own page of 12 bytes is not an address", A, "", Twelve, A, ""},
    {"same as descriptor moves to ChangeHomePage", A, C, A, A, C},
    {"ChangeHomePage of 12 bytes is taken", A, Twelve, A, A, Twelve},
    {"ChangeHomePage of 11 bytes is ignored", A, Eleven, A, A, ""},
    {"ChangeHomePage equal to own page changes nothing", A, A, A, A, ""},
    {"a differing own page never moves", A, C, "http://own.zantu.com/", "http://own.zantu.com/",
     ""},
    {"no descriptor and a short own page: empty", "", "", "0", "", ""},
    {"no descriptor: own page", "", "", Thirteen, Thirteen, ""},
};

TEST(HomePageChoice, FollowsTheTable)
{
    for (const Row& row : Rows) {
        const shell::HomePageChoice choice = shell::ChooseHomePage(row.a, row.c, row.h);
        EXPECT_EQ(choice.url, row.url) << row.name;
        EXPECT_EQ(choice.changeTo, row.changeTo) << row.name;
    }
}

} // namespace

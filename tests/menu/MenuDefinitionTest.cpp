#include "menu/MenuDefinition.h"

#include "RecordingMenuBuilder.h"
#include "localfiles/Gbk.h"
#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace {

QByteArray G(const char* utf8)
{
    return gbk::fromUnicode(QString::fromUtf8(utf8));
}

QList<MenuCall> build(const QByteArray& fileText)
{
    QList<QByteArray> MenuLines = menu::SplitMenuText(fileText);
    RecordingMenuBuilder builder;
    menu::BuildMenuToolbar(MenuLines, builder);
    EXPECT_TRUE(MenuLines.isEmpty());
    return builder.calls;
}

QByteArray joined(std::initializer_list<const char*> lines, const char* lineEnd = "\r\n")
{
    QByteArray text;
    for (const char* line : lines)
        text += G(line) + lineEnd;
    return text;
}

const char* const T1 = "http://127.0.0.1:8765/Buy/ssq.php?id=1";
const char* const T2 = "http://127.0.0.1:8765/Buy/sfc.php";
const char* const T3 = "http://127.0.0.1:8765/Buy/r9.php";
const char* const T4 = "http://127.0.0.1:8765/help.html";

QList<QByteArray> exampleLines()
{
    return {G("=彩票投注:1"),
            G("@双色球：") + T1,
            G("@足彩：>>"),
            G(">胜负彩：") + T2,
            G(">任选九：") + T3,
            "+",
            "",
            G("=帮助:"),
            G("@使用说明：") + T4,
            "+"};
}

QList<MenuCall> exampleCalls()
{
    return {
        MenuCall::button(G("彩票投注"), 1, 0),       MenuCall::item(G("双色球"), 0, 0, T1),
        MenuCall::item(G("足彩"), 0, 1, ">>"),       MenuCall::subItem(G("胜负彩"), 0, 1, 0, T2),
        MenuCall::subItem(G("任选九"), 0, 1, 1, T3), MenuCall::button(G("帮助"), 0, 1),
        MenuCall::item(G("使用说明"), 1, 0, T4)};
}

QByteArray exampleText(const QByteArray& lineEnd, const QByteArray& indent = {},
                       bool endLast = true)
{
    const QList<QByteArray> lines = exampleLines();
    QByteArray text;
    for (int i = 0; i < lines.size(); ++i) {
        text += indent + lines[i];
        if (endLast || i + 1 < lines.size())
            text += lineEnd;
    }
    return text;
}

TEST(SplitMenuText, HoldsTheReSplitLinesWithTheirLeadingLineFeed)
{
    struct Case
    {
        QByteArray text;
        QList<QByteArray> entries;
    } cases[] = {
        {"", {}},
        {"a", {"a", "\n"}},
        {"a\r\nb\r\n", {"a", "\nb", "\n"}},
        {"a\nb", {"a", "\nb", "\n"}},
        {"a\rb\r", {"a", "\nb", "\n"}},
        {"a\n\rb", {"a", "\n", "\nb", "\n"}},
        {"\r\n", {"", "\n"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu::SplitMenuText(c.text), c.entries) << c.text.toHex(' ').constData();
}

TEST(LoadMenuLines, ReadsTheFileAndGivesNothingForAMissingOne)
{
    TempProgramFolder folder;
    const QByteArray path = gbk::fromUnicode(folder.filePath("zantu.dll"));
    EXPECT_TRUE(menu::LoadMenuLines(path).isEmpty());

    folder.write("zantu.dll", exampleText("\r\n"));
    QList<QByteArray> MenuLines = menu::LoadMenuLines(path);
    EXPECT_EQ(MenuLines, menu::SplitMenuText(exampleText("\r\n")));
    RecordingMenuBuilder builder;
    menu::BuildMenuToolbar(MenuLines, builder);
    EXPECT_EQ(builder.calls, exampleCalls());
}

TEST(BuildMenuToolbar, ExampleFileInEveryLineLayout)
{
    struct Case
    {
        const char* name;
        QByteArray text;
    } cases[] = {
        {"CR LF", exampleText("\r\n")},
        {"LF", exampleText("\n")},
        {"CR", exampleText("\r")},
        {"last line without line end", exampleText("\r\n", {}, false)},
        {"indented with blanks and tabs", exampleText("\r\n", " \t ")},
        {"trailing empty lines", exampleText("\r\n") + "\r\n \r\n\t\r\n\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(build(c.text), exampleCalls()) << c.name;
}

struct ParseCase
{
    const char* name;
    QByteArray text;
    QList<MenuCall> calls;
};

void expectCases(const std::vector<ParseCase>& cases)
{
    for (const ParseCase& c : cases)
        EXPECT_EQ(build(c.text), c.calls) << c.name;
}

TEST(BuildMenuToolbar, EdgeCasesOfWellFormedFiles)
{
    const QByteArray hanzi = G("埃好"); // B0 A3 BA C3: A3 BA across two characters
    ASSERT_EQ(hanzi, QByteArray("\xB0\xA3\xBA\xC3"));
    expectCases({
        {"empty file", "", {}},
        {"only blank lines", " \r\n\t\r\n", {}},
        {"one line without line end", "=A:2", {MenuCall::button("A", 2, 0)}},
        {"nothing or blanks after the colon",
         joined({"=A:", "=B:   ", "=C: 3 "}),
         {MenuCall::button("A", 0, 0), MenuCall::button("B", 0, 1), MenuCall::button("C", 3, 2)}},
        {"ASCII colons of the target stay in the target",
         joined({"=A:", "@a：http://h:8080/p.php?x=1:2"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("a", 0, 0, "http://h:8080/p.php?x=1:2")}},
        {"full-width colon in a button caption, ASCII colon in an item caption",
         joined({"=彩：票:2", "@a:b：T"}),
         {MenuCall::button(G("彩：票"), 2, 0), MenuCall::item("a:b", 0, 0, "T")}},
        {"the first full-width colon splits; the target keeps later ones and its blanks",
         joined({"=A:", "@a：b：c", "@d：  T"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("a", 0, 0, G("b：c")),
          MenuCall::item("d", 0, 1, "  T")}},
        {"'>>' in an item caption resets the sub-items and keeps the target",
         joined({"=A:", "@x：>>", ">x0：T0", ">x1：T1", "@y>>：TY", ">y0：TY0"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("x", 0, 0, ">>"),
          MenuCall::subItem("x0", 0, 0, 0, "T0"), MenuCall::subItem("x1", 0, 0, 1, "T1"),
          MenuCall::item("y>>", 0, 1, "TY"), MenuCall::subItem("y0", 0, 1, 0, "TY0")}},
        {"a sub-item keeps '>>' as its target",
         joined({"=A:", "@x：>>", ">s：>>"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("x", 0, 0, ">>"),
          MenuCall::subItem("s", 0, 0, 0, ">>")}},
        {"a second block numbers its items from 0 again",
         joined({"=A:", "@a0：1", "@a1：2", "+", "=B:", "@b0：3", "+", "=C:"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("a0", 0, 0, "1"),
          MenuCall::item("a1", 0, 1, "2"), MenuCall::button("B", 0, 1),
          MenuCall::item("b0", 1, 0, "3"), MenuCall::button("C", 0, 2)}},
        {"items outside a block and lines of other kinds are ignored",
         joined({"@x：T", ">y：T", "#note", "A=B:1", "=A:", "+", "@z：T", ">w：T", "+"}),
         {MenuCall::button("A", 0, 0)}},
        {"an item line without full-width colon has an empty target",
         joined({"=A:", "@abc", ">  def  "}),
         {MenuCall::button("A", 0, 0), MenuCall::item("abc", 0, 0, ""),
          MenuCall::subItem("def", 0, 0, 0, "")}},
        {"A3 BA inside the caption is no separator",
         QByteArray("=A:\r\n@") + hanzi + G("：T") + "\r\n>" + hanzi + G("：U") + "\r\n@" + hanzi,
         {MenuCall::button("A", 0, 0), MenuCall::item(hanzi, 0, 0, "T"),
          MenuCall::subItem(hanzi, 0, 0, 0, "U"), MenuCall::item(hanzi, 0, 1, "")}},
    });
}

TEST(BuildMenuToolbar, MalformedFilesBuildSomethingPredictable)
{
    expectCases({
        {"a button line without colon takes the rest as caption and picture 0",
         joined({"=Help", "=  Hilfe 3 "}),
         {MenuCall::button("Help", 0, 0), MenuCall::button("Hilfe 3", 0, 1)}},
        {"items of an unclosed block's successor go to the successor's menu",
         joined({"=A:", "@a0：1", "@a1：2", "=B:", "@b0：3", ">b00：4"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("a0", 0, 0, "1"),
          MenuCall::item("a1", 0, 1, "2"), MenuCall::button("B", 0, 1),
          MenuCall::item("b0", 1, 0, "3"), MenuCall::subItem("b00", 1, 0, 0, "4")}},
        {"a sub-item right after a button line has no parent",
         joined({"=A:", ">s：1"}),
         {MenuCall::button("A", 0, 0)}},
        {"a sub-item after a closed block and a new button line has no parent",
         joined({"=A:", "@a：1", "+", "=B:", ">s：2"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("a", 0, 0, "1"),
          MenuCall::button("B", 0, 1)}},
        {"a sub-item after an unclosed block and a new button line has no parent",
         joined({"=A:", "@a：1", "=B:", ">s：2"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("a", 0, 0, "1"),
          MenuCall::button("B", 0, 1)}},
        {"sub-items of an item without '>>' are numbered from its own first child",
         joined({"=A:", "@a：>>", ">a0：1", ">a1：2", "@b：T", ">b0：3"}),
         {MenuCall::button("A", 0, 0), MenuCall::item("a", 0, 0, ">>"),
          MenuCall::subItem("a0", 0, 0, 0, "1"), MenuCall::subItem("a1", 0, 0, 1, "2"),
          MenuCall::item("b", 0, 1, "T"), MenuCall::subItem("b0", 0, 1, 0, "3")}},
    });
}

TEST(BuildMenuToolbar, PictureNumbersOutsideTheListAreNoPictureAndOtherTextIsPictureZero)
{
    struct Case
    {
        QByteArray text;
        int picture;
    } cases[] = {
        {"7", 7},
        {"07", 7},
        {"+3", 3},
        {"-0", 0},
        {"0", 0},
        {"8", menu::NoMenuPicture},
        {"-1", menu::NoMenuPicture},
        {"x", 0},
        {"3x", 0},
        {"$3", 0},
        {"0x3", 0},
        {"3.0", 0},
        {"3 4", 0},
        {"\xA3\xB3", 0}, // full-width digit 3
        {"99999999999999999999", menu::NoMenuPicture},
        {"00000000000000000005", 5},
    };
    for (const Case& c : cases) {
        const QList<MenuCall> calls = build("=A:" + c.text);
        ASSERT_EQ(calls.size(), 1) << c.text.constData();
        EXPECT_EQ(calls[0].image, c.picture) << c.text.constData();
    }
}

TEST(BuildMenuToolbar, ButtonLinesAfterTheHundredthAreDroppedWithTheirItems)
{
    QByteArray text;
    QList<MenuCall> expected;
    for (int n = 0; n < 102; ++n) {
        const QByteArray caption = "B" + QByteArray::number(n);
        text += "=" + caption + ":1\r\n@i" + QByteArray::number(n) + G("：T") + "\r\n>s" +
                G("：U") + "\r\n";
        if (n % 2 == 0)
            text += "+\r\n"; // closed and unclosed blocks alike
        if (n < menu::MenuButtonCount) {
            expected.append(MenuCall::button(caption, 1, n));
            expected.append(MenuCall::item("i" + QByteArray::number(n), n, 0, "T"));
            expected.append(MenuCall::subItem("s", n, 0, 0, "U"));
        }
    }
    EXPECT_EQ(build(text), expected);
}

} // namespace

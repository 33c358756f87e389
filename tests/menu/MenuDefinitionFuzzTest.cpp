#include "menu/MenuDefinition.h"
#include "menu/MenuToolbarBuilder.h"

#include "RecordingMenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// xorshift64*: the same sequence with every standard library, so a failing
// run can be replayed from its number.
class Random
{
public:
    explicit Random(std::uint64_t seed) : FState(seed) {}
    std::uint64_t next()
    {
        FState ^= FState >> 12;
        FState ^= FState << 25;
        FState ^= FState >> 27;
        return FState * 2685821657736338717ULL;
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % std::uint64_t(n)); }

private:
    std::uint64_t FState;
};

const QList<QByteArray>& tokens()
{
    static const QList<QByteArray> list = {"=",
                                           "@",
                                           ">",
                                           "+",
                                           ":",
                                           "\xA3\xBA",
                                           ">>",
                                           " ",
                                           "\t",
                                           "\r",
                                           "\n",
                                           "\r\n",
                                           QByteArray(1, '\0'),
                                           "\xA3",
                                           "\xBA",
                                           "\xB0\xA3",
                                           "\xBA\xC3",
                                           "\xA3\xA3\xBA",
                                           "http://127.0.0.1:1/a.php?x=",
                                           "0",
                                           "7",
                                           "8",
                                           "-1",
                                           "+3",
                                           "99999999999999",
                                           "&",
                                           "\xFF",
                                           "\x80",
                                           "\xFE",
                                           "\x81",
                                           "\xD7\xE3\xB2\xCA",
                                           "\xB0\xEF\xD6\xFA"};
    return list;
}

QByteArray randomBytes(Random& random, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += char(random.below(256));
    return bytes;
}

QByteArray randomFile(Random& random)
{
    static const char* const markers[] = {"=", "@", ">", "+", "#", "", " \t="};
    static const char* const lineEnds[] = {"\r\n", "\n", "\r", "\n\r", ""};
    QByteArray text;
    const int lines = random.below(250);
    for (int line = 0; line < lines; ++line) {
        text += markers[random.below(7)];
        const int pieces = random.below(9);
        for (int piece = 0; piece < pieces; ++piece)
            text += random.below(4) == 0 ? randomBytes(random, 1 + random.below(6))
                                         : tokens()[random.below(tokens().size())];
        text += lineEnds[random.below(5)];
    }
    return text;
}

QList<QByteArray> seedFiles()
{
    QByteArray many;
    for (int n = 0; n < 103; ++n)
        many += "=B" + QByteArray::number(n) + ":" + QByteArray::number(n % 9) +
                "\r\n@i\xA3\xBAT\r\n@s\xA3\xBA>>\r\n>c\xA3\xBAU\r\n" + (n % 3 ? "+\r\n" : "");
    return {
        // The example file of the toolbar, in GBK.
        "=\xB2\xCA\xC6\xB1\xCD\xB6\xD7\xA2:1\r\n@\xCB\xAB\xC9\xAB\xC7\xF2\xA3\xBA"
        "http://127.0.0.1/a\r\n@\xD7\xE3\xB2\xCA\xA3\xBA>>\r\n>\xCA\xA4\xB8\xBA\xB2\xCA\xA3\xBA"
        "http://127.0.0.1/b\r\n>\xC8\xCE\xD1\xA1\xBE\xC5\xA3\xBAhttp://127.0.0.1/c\r\n+\r\n\r\n"
        "=\xB0\xEF\xD6\xFA:\r\n@\xCA\xB9\xD3\xC3\xCB\xB5\xC3\xF7\xA3\xBAhttp://127.0.0.1/"
        "d\r\n+\r\n",
        many,
        "=A:3\n@\xB0\xA3\xBA\xC3\xA3\xBAT\n>x>>\xA3\xBA>>\n@y\n>z\n+\n>w\xA3\xBAq",
    };
}

QByteArray mutated(QByteArray text, Random& random)
{
    const int steps = 1 + random.below(8);
    for (int step = 0; step < steps; ++step) {
        const int at = random.below(text.size() + 1);
        switch (random.below(6)) {
        case 0:
            if (!text.isEmpty())
                text[qMin(at, int(text.size()) - 1)] = char(random.below(256));
            break;
        case 1:
            text.insert(at, tokens()[random.below(tokens().size())]);
            break;
        case 2:
            text.remove(at, random.below(40));
            break;
        case 3:
            text.insert(at, text.mid(random.below(text.size() + 1), random.below(200)));
            break;
        case 4:
            text.truncate(at);
            break;
        default:
            text.insert(at, randomBytes(random, 1 + random.below(4)));
            break;
        }
    }
    return text;
}

bool isTrimmed(const QByteArray& bytes)
{
    return bytes.isEmpty() || (static_cast<unsigned char>(bytes.front()) > 0x20 &&
                               static_cast<unsigned char>(bytes.back()) > 0x20);
}

// Checks every call against the structure built so far: the numbers always
// name the latest button and the next free place in its menu.
class CheckingBuilder : public menu::MenuBuilder
{
public:
    explicit CheckingBuilder(const QByteArray& text) : FText(text) {}

    void AddMenuButton(const QByteArray& Caption, int ImageIndex, int N) override
    {
        check(N == int(items.size()) && N < menu::MenuButtonCount, "button number");
        check((ImageIndex >= 0 && ImageIndex < menu::MenuPictureCount) ||
                  ImageIndex == menu::NoMenuPicture,
              "picture number");
        checkText(Caption, true);
        items.append(QList<int>());
    }

    void AddMenuItem(int Level, const QByteArray& Caption, int N, int P, int S,
                     const QByteArray& Target) override
    {
        checkText(Caption, true);
        checkText(Target, false);
        if (!check(N >= 0 && N == int(items.size()) - 1, "item of the latest button"))
            return;
        QList<int>& children = items[N];
        if (Level == TopLevel) {
            if (check(P == int(children.size()) && S == 0, "top-level numbers"))
                children.append(0);
        } else if (check(Level == SubLevel, "level") &&
                   check(P == int(children.size()) - 1 && P >= 0 && S == children[P],
                         "sub-level numbers")) {
            ++children[P];
        }
    }

    QList<QList<int>> items; // per button: the children count of each item
    QByteArray failure;

private:
    bool check(bool ok, const char* what)
    {
        if (!ok && failure.isEmpty())
            failure = what;
        return ok;
    }
    void checkText(const QByteArray& text, bool trimmed)
    {
        check(!text.contains('\r') && !text.contains('\n'), "line end inside a text");
        check(!trimmed || isTrimmed(text), "untrimmed caption");
        check(FText.contains(text), "text not taken from the file");
    }

    QByteArray FText;
};

// Builds real widgets from the text and compares them with the checked model.
void expectWidgetsMatch(const QByteArray& text, const QList<QList<int>>& model, int run)
{
    QWidget window;
    auto* sToolBar1 = new QToolBar(&window);
    QAction* ToolButton1 = sToolBar1->addSeparator();
    menu::MenuButtonArray MenuButtons{};
    menu::MenuPopupArray MenuPopups{};
    QList<QByteArray> MenuLines = menu::SplitMenuText(text);
    menu::MenuToolbarBuilder builder(sToolBar1, &window, {QIcon(), QIcon()}, MenuButtons,
                                     MenuPopups, [](QAction*) {});
    menu::BuildMenuToolbar(MenuLines, builder);

    ASSERT_EQ(sToolBar1->actions().size(), model.size() + 1) << "run " << run;
    EXPECT_EQ(sToolBar1->actions().last(), ToolButton1) << "run " << run;
    for (int n = 0; n < menu::MenuButtonCount; ++n) {
        ASSERT_EQ(MenuPopups[n].isNull(), n >= model.size()) << "run " << run;
        if (n >= model.size())
            continue;
        const QList<QAction*> actions = MenuPopups[n]->actions();
        ASSERT_EQ(actions.size(), model[n].size()) << "run " << run << " button " << n;
        for (int p = 0; p < actions.size(); ++p) {
            const int children = actions[p]->menu() ? actions[p]->menu()->actions().size() : 0;
            EXPECT_EQ(children, model[n][p]) << "run " << run << " button " << n << " item " << p;
        }
    }
}

TEST(MenuDefinitionFuzz, RandomAndMutatedFilesNeverBreakTheParserOrTheToolbar)
{
    constexpr int kRuns = 6000;
    constexpr int kWidgetEvery = 30;
    Random random(0x5EED2011);
    const QList<QByteArray> seeds = seedFiles();
    int buttonsSeen = 0;
    int subItemsSeen = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QByteArray text =
            run % 2 == 0 ? randomFile(random) : mutated(seeds[random.below(seeds.size())], random);
        QList<QByteArray> MenuLines = menu::SplitMenuText(text);
        CheckingBuilder checker(text);
        menu::BuildMenuToolbar(MenuLines, checker);
        ASSERT_TRUE(MenuLines.isEmpty()) << "run " << run;
        ASSERT_TRUE(checker.failure.isEmpty())
            << "run " << run << ": " << checker.failure.constData() << " in "
            << text.toHex(' ').constData();
        buttonsSeen += checker.items.size();
        for (const QList<int>& menuItems : checker.items)
            for (int children : menuItems)
                subItemsSeen += children;
        if (run % kWidgetEvery == 0)
            expectWidgetsMatch(text, checker.items, run);
        if (HasFatalFailure())
            return;
    }
    // The inputs reach the interesting paths, not only the ignored lines.
    EXPECT_GT(buttonsSeen, kRuns);
    EXPECT_GT(subItemsSeen, kRuns / 10);
}

} // namespace

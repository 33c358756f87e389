#include "menu/MenuDefinition.h"

#include "localfiles/Gbk.h"
#include "localfiles/TextLines.h"
#include "localfiles/unt_Public.h"
#include "menu/MenuBuilder.h"

#include <QFile>

namespace menu {
namespace {

const QByteArray kFullWidthColon = QByteArrayLiteral("\xA3\xBA");

// Optional sign and ASCII digits only. A number outside the picture list
// names no picture; text that is no number at all is picture 0.
int pictureNumber(const QByteArray& text)
{
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return 0;
    int value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        value = qMin(value * 10 + (text[i] - '0'), MenuPictureCount);
    }
    if (negative && value != 0)
        return NoMenuPicture;
    return value < MenuPictureCount ? value : NoMenuPicture;
}

struct ItemFields
{
    QByteArray caption;
    QByteArray target;
};

// The full-width colon is looked for on character boundaries only: its bytes
// A3 BA also stand inside text as the trail byte of one character followed by
// the lead byte of the next, and cutting there would split both characters.
ItemFields splitItemLine(const QByteArray& line)
{
    const int p = gbk::indexOfOnBoundary(line, kFullWidthColon, 1);
    if (p < 0)
        return {gbk::trimmed(line.mid(1)), {}};
    return {gbk::trimmed(line.mid(1, p - 1)), line.mid(p + kFullWidthColon.size())};
}

class Parser
{
public:
    explicit Parser(MenuBuilder& builder) : FBuilder(builder) {}

    void readLine(const QByteArray& line)
    {
        if (line.isEmpty())
            return;
        switch (line[0]) {
        case '=':
            readButtonLine(line);
            break;
        case '@':
            readItemLine(line);
            break;
        case '>':
            readSubItemLine(line);
            break;
        case '+':
            FBlockOpen = false;
            break;
        default:
            break;
        }
    }

private:
    void readButtonLine(const QByteArray& line)
    {
        FBlockOpen = true;
        FItemCount = 0;
        FSubItemCount = 0;
        if (FButtonNumber >= MenuButtonCount) {
            FCurrentButton = -1;
            return;
        }
        FCurrentButton = FButtonNumber++;
        const int p = gbk::indexOfOnBoundary(line, ":", 1);
        const QByteArray caption = gbk::trimmed(p < 0 ? line.mid(1) : line.mid(1, p - 1));
        const int picture = p < 0 ? 0 : pictureNumber(gbk::trimmed(line.mid(p + 1)));
        FBuilder.AddMenuButton(caption, picture, FCurrentButton);
    }

    void readItemLine(const QByteArray& line)
    {
        if (!FBlockOpen || FCurrentButton < 0)
            return;
        const ItemFields fields = splitItemLine(line);
        FBuilder.AddMenuItem(MenuBuilder::TopLevel, fields.caption, FCurrentButton, FItemCount, 0,
                             fields.target);
        ++FItemCount;
        FSubItemCount = 0;
    }

    void readSubItemLine(const QByteArray& line)
    {
        if (!FBlockOpen || FCurrentButton < 0 || FItemCount == 0)
            return;
        const ItemFields fields = splitItemLine(line);
        FBuilder.AddMenuItem(MenuBuilder::SubLevel, fields.caption, FCurrentButton, FItemCount - 1,
                             FSubItemCount, fields.target);
        ++FSubItemCount;
    }

    MenuBuilder& FBuilder;
    bool FBlockOpen = false;
    int FButtonNumber = 0;
    // The button whose block is open; -1 for a block of a dropped button line.
    int FCurrentButton = -1;
    // Items already in the current button's menu, children of its latest item.
    int FItemCount = 0;
    int FSubItemCount = 0;
};

} // namespace

QList<QByteArray> SplitMenuText(const QByteArray& Text)
{
    QByteArray joined;
    joined.reserve(Text.size() + Text.size() / 8 + 2);
    for (const QByteArray& line : localfiles::SplitTextLines(Text))
        joined += line + "\r\n";
    QList<QByteArray> MenuLines;
    localfiles::SplitString(joined, "\r\n", MenuLines);
    return MenuLines;
}

QList<QByteArray> LoadMenuLines(const QByteArray& FileName)
{
    QFile file(gbk::toUnicode(FileName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return SplitMenuText(file.readAll());
}

void BuildMenuToolbar(QList<QByteArray>& MenuLines, MenuBuilder& Builder)
{
    // MenuLines lives only for the build, however the build ends.
    struct Release
    {
        QList<QByteArray>& lines;
        ~Release() { lines.clear(); }
    } release{MenuLines};

    // The last entry is the lone LF that the re-split leaves behind.
    Parser parser(Builder);
    for (int i = 0; i + 1 < MenuLines.size(); ++i)
        parser.readLine(gbk::trimmed(MenuLines[i]));
}

} // namespace menu

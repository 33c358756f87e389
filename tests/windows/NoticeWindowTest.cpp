#include "windows/U_Fm_Notice.h"

#include "localfiles/Gbk.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

using windows::TFm_Notice;

QByteArray g(const QString& s)
{
    return gbk::fromUnicode(s);
}

QList<QByteArray> memoLines(const TFm_Notice& notice)
{
    const QString text = notice.M_Notice->toPlainText();
    QList<QByteArray> lines;
    if (!text.isEmpty())
        for (const QString& line : text.split(QLatin1Char('\n')))
            lines.append(g(line));
    return lines;
}

void showAgain(TFm_Notice& notice)
{
    notice.hide();
    notice.show();
}

TEST(NoticeWindow, WithoutNoticeFileShowsTheBuiltInTenLines)
{
    TempProgramFolder folder;
    TFm_Notice notice;
    EXPECT_FALSE(notice.isVisible()); // created hidden
    notice.show();

    const QList<QByteArray> lines = notice.noticeLines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines[0].endsWith("zantu.com"));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "2010-04-13");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], g(QStringLiteral("Zantu网公告栏：")));
    EXPECT_EQ(lines[5], "");
    const QByteArray lead = "        " + g(QStringLiteral("超级投注站拥有自己的代理网址")) + " ";
    ASSERT_TRUE(lines[6].startsWith(lead));
    ASSERT_TRUE(lines[6].endsWith("; "));
    const QByteArray address = lines[6].mid(lead.size(), lines[6].size() - lead.size() - 2);
    EXPECT_TRUE(address.contains(".zantu.com")) << address.constData();
    EXPECT_FALSE(address.contains(' '));
    EXPECT_EQ(lines[7],
              g(QStringLiteral("用户可以在这个代理地址下注册成为代理的会员；会员发起保存")));
    EXPECT_EQ(lines[8],
              g(QStringLiteral("方案的记录，站主可以在【方案管理】中查询到具体的方案内容。")));
    EXPECT_EQ(lines[9], g(QStringLiteral("站主可以直接在 帮助->关于 里保存自己的代理网址。")));
    EXPECT_EQ(memoLines(notice), lines);
}

TEST(NoticeWindow, EveryShowingLoadsNoticeFileWithAnyLineEnd)
{
    TempProgramFolder folder;
    // "今日公告" in GBK; CR LF, lone LF, lone CR, an empty line, no final line end.
    folder.write(QStringLiteral("Notice.txt"),
                 "\xBD\xF1\xC8\xD5\xB9\xAB\xB8\xE6\r\nline 2\nline 3\r\rlast");
    TFm_Notice notice;
    notice.show();
    const QList<QByteArray> expected{"\xBD\xF1\xC8\xD5\xB9\xAB\xB8\xE6", "line 2", "line 3", "",
                                     "last"};
    EXPECT_EQ(notice.noticeLines(), expected);
    EXPECT_EQ(notice.M_Notice->toPlainText(), QStringLiteral("今日公告\nline 2\nline 3\n\nlast"));

    folder.write(QStringLiteral("Notice.txt"), "changed\r\n");
    showAgain(notice);
    EXPECT_EQ(notice.noticeLines(), QList<QByteArray>{"changed"});
    EXPECT_EQ(memoLines(notice), QList<QByteArray>{"changed"});
}

TEST(NoticeWindow, NoticeFileGoneOrUnreadableKeepsWhatWasShown)
{
    TempProgramFolder folder;
    folder.write(QStringLiteral("Notice.txt"), "first notice\r\nsecond line\r\n");
    TFm_Notice notice;
    notice.show();
    const QList<QByteArray> loaded{"first notice", "second line"};
    ASSERT_EQ(notice.noticeLines(), loaded);

    ASSERT_TRUE(QFile::remove(folder.filePath(QStringLiteral("Notice.txt"))));
    showAgain(notice);
    EXPECT_EQ(notice.noticeLines(), loaded);
    EXPECT_EQ(memoLines(notice), loaded);

    // A folder in the file's place cannot be read either.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Notice.txt")));
    showAgain(notice);
    EXPECT_EQ(notice.noticeLines(), loaded);
}

TEST(NoticeWindow, EmptyNoticeFileEmptiesTheMemo)
{
    TempProgramFolder folder;
    folder.write(QStringLiteral("Notice.txt"), QByteArray());
    TFm_Notice notice;
    notice.show();
    EXPECT_TRUE(notice.noticeLines().isEmpty());
    EXPECT_TRUE(notice.M_Notice->toPlainText().isEmpty());
}

TEST(NoticeWindow, LayoutAndReadOnlyMemo)
{
    TempProgramFolder folder;
    TFm_Notice notice;
    EXPECT_EQ(notice.objectName(), QStringLiteral("Fm_Notice"));
    EXPECT_EQ(notice.windowTitle(), QStringLiteral("超级投注站公告："));
    EXPECT_FALSE(notice.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    notice.show();
    EXPECT_EQ(notice.frameGeometry().size(), QSize(527, 360));
    EXPECT_EQ(notice.M_Notice->objectName(), QStringLiteral("M_Notice"));
    EXPECT_EQ(notice.M_Notice->geometry(), notice.rect()); // fills the client area
    EXPECT_TRUE(notice.M_Notice->isReadOnly());
    EXPECT_EQ(notice.M_Notice->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(notice.M_Notice->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(notice.M_Notice->font().bold());
    EXPECT_EQ(notice.M_Notice->font().pixelSize(), 15);
    EXPECT_EQ(notice.M_Notice->palette().color(QPalette::Text), QColor(Qt::blue));
}

} // namespace

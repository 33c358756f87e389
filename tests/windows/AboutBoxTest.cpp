#include "windows/U_About.h"

#include "localfiles/Gbk.h"
#include "localfiles/ProfileFile.h"
#include "localfiles/unt_Public.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempProgramFolder.h"
#include "ui/MessageBoxes.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using windows::TAboutBox;

QByteArray g(const QString& s)
{
    return gbk::fromUnicode(s);
}

const QByteArray Refusal = g(QStringLiteral("输入地址非法，请重新输入！"));
const QByteArray RefusalCaption = g(QStringLiteral("系统提示:"));
const QByteArray Previous = "http://old.zantu.com";

struct SaveCase
{
    const char* what;
    QString typed;
    bool refused;
    QByteArray stored; // when accepted
};

void PrintTo(const SaveCase& c, std::ostream* os)
{
    *os << c.what;
}

class AboutBoxSave : public ::testing::TestWithParam<SaveCase>
{
};

TEST_P(AboutBoxSave, ValidatesAndStoresTheProxyAddress)
{
    const SaveCase& c = GetParam();
    TempProgramFolder folder;
    localfiles::WriteTaskConfig("HomePage", Previous);
    const QByteArray before = folder.read("Config.ini");
    MessageBoxRecorder boxes;
    TAboutBox about;
    about.show();
    about.edtMyURL->setText(c.typed);

    about.Button1->click();

    if (c.refused) {
        ASSERT_EQ(boxes.boxes().size(), 1);
        EXPECT_EQ(boxes.boxes()[0].text, Refusal);
        EXPECT_EQ(boxes.boxes()[0].caption, RefusalCaption);
        EXPECT_EQ(boxes.boxes()[0].flags, unsigned(ui::Mb::Ok)); // OK only, no icon
        EXPECT_EQ(folder.read("Config.ini"), before);
        EXPECT_EQ(about.edtMyURL->text(), c.typed);
    } else {
        EXPECT_TRUE(boxes.boxes().isEmpty());
        EXPECT_EQ(localfiles::ProfileFile::ReadString(folder.filePath("Config.ini").toUtf8(),
                                                      "TaskConfig", "HomePage", "<none>"),
                  c.stored);
        EXPECT_TRUE(folder.read("Config.ini").contains("HomePage=" + c.stored + "\r\n"));
    }
    EXPECT_TRUE(about.isVisible()); // no confirmation, the window stays
}

INSTANTIATE_TEST_SUITE_P(
    Table, AboutBoxSave,
    ::testing::Values(
        SaveCase{"Empty", QString(), true, {}},
        SaveCase{"OnlyBlanks", QStringLiteral("   "), true, {}},
        SaveCase{"DomainInCapitals", QStringLiteral("http://DEMO.ZANTU.COM"), true, {}},
        SaveCase{"OtherDomain", QStringLiteral("http://demo.zantu.co"), true, {}},
        SaveCase{"MarkerStartsInsideATwoByteCharacter",
                 // B0 7A is one GBK character whose trail byte is the letter z.
                 gbk::toUnicode("http://\xB0\x7A"
                                "antu.com"),
                 true,
                 {}},
        SaveCase{"Plain", QStringLiteral("http://demo.zantu.com"), false, "http://demo.zantu.com"},
        SaveCase{"BlanksAround", QStringLiteral("  http://demo.zantu.com/agent  "), false,
                 "http://demo.zantu.com/agent"},
        SaveCase{"TabsAround", QStringLiteral("\thttp://demo.zantu.com\t"), false,
                 "http://demo.zantu.com"},
        SaveCase{"InnerBlankKept", QStringLiteral("http://demo.zantu.com/a b"), false,
                 "http://demo.zantu.com/a b"},
        SaveCase{"MarkerOnlyInQuery", QStringLiteral("http://other.example/?from=zantu.com"), false,
                 "http://other.example/?from=zantu.com"},
        SaveCase{"MarkerOnlyInPath", QStringLiteral("http://other.example/zantu.com/reg"), false,
                 "http://other.example/zantu.com/reg"},
        SaveCase{"ChineseAround", QStringLiteral("代理 demo.zantu.com 站"), false,
                 g(QStringLiteral("代理 demo.zantu.com 站"))}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(AboutBox, EveryShowingReloadsTheStoredAddress)
{
    TempProgramFolder folder;
    TAboutBox about;
    about.show();
    EXPECT_EQ(about.edtMyURL->text(), QStringLiteral("0")); // nothing stored

    about.hide();
    localfiles::WriteTaskConfig("HomePage", "  http://demo.zantu.com  ");
    about.show();
    EXPECT_EQ(about.edtMyURL->text(), QStringLiteral("http://demo.zantu.com"));

    about.edtMyURL->setText(QStringLiteral("unsaved edit"));
    about.hide();
    about.show();
    EXPECT_EQ(about.edtMyURL->text(), QStringLiteral("http://demo.zantu.com"));

    about.hide();
    localfiles::WriteTaskConfig("HomePage", "   ");
    about.show();
    EXPECT_EQ(about.edtMyURL->text(), QStringLiteral("0"));
}

TEST(AboutBox, RefusedWriteReachesTheCallerAndSavesNothing)
{
    TempProgramFolder folder;
    // Root ignores read-only files; a folder in the file's place refuses every write.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Config.ini")));
    MessageBoxRecorder boxes;
    TAboutBox about;
    about.edtMyURL->setText(QStringLiteral("http://demo.zantu.com"));

    try {
        about.Button1Click();
        FAIL() << "no error";
    } catch (const localfiles::WriteError& e) {
        EXPECT_EQ(QByteArray(e.what()),
                  "Unable to write to " + localfiles::AppPath() + "Config.ini");
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(localfiles::ReadTaskConfig("HomePage"), "0");
}

TEST(AboutBox, LayoutCaptionsAndOkButton)
{
    TempProgramFolder folder;
    TAboutBox about;
    EXPECT_FALSE(about.isVisible()); // created hidden
    EXPECT_EQ(about.objectName(), QStringLiteral("AboutBox"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("关于（About）"));
    EXPECT_EQ(about.size(), QSize(391, 237));
    EXPECT_FALSE(about.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    struct Part
    {
        const char* name;
        QRect geometry;
        QString text;
    };
    const Part parts[] = {
        {"Panel1", {8, 8, 376, 185}, {}},
        {"ProgramIcon", {88, 16, 193, 41}, {}},
        {"edtMyURL", {24, 144, 217, 20}, {}},
        {"Button1", {247, 143, 99, 20}, QStringLiteral("保存代理网址")},
        {"OKButton", {159, 204, 75, 25}, QStringLiteral("OK")},
    };
    for (const Part& p : parts) {
        auto* w = about.findChild<QWidget*>(QLatin1String(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->geometry(), p.geometry) << p.name;
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(b->text(), p.text) << p.name;
        }
    }
    EXPECT_EQ(about.ProductName->text(), QStringLiteral("Zantu网彩票管家"));
    EXPECT_EQ(about.ProductName->pos(), QPoint(140, 72));
    EXPECT_EQ(about.Version->text(), QStringLiteral("版本（Version）：2.0"));
    EXPECT_EQ(about.Version->pos(), QPoint(120, 88));
    const QStringList owner = about.lbl_Owner->text().split(QLatin1Char('\n'));
    ASSERT_EQ(owner.size(), 2);
    EXPECT_TRUE(owner[0].startsWith(QStringLiteral("Zantu网")));
    EXPECT_TRUE(owner[1].startsWith(QStringLiteral("欢迎访问：")));
    EXPECT_TRUE(owner[1].endsWith(QStringLiteral(" 进行咨询")));
    EXPECT_TRUE(about.Button1->isDefault());
    EXPECT_EQ(about.edtMyURL->nextInFocusChain(), about.Button1);

    // Shown modally, OK ends the run with the result OK.
    QTimer::singleShot(0, &about, [&about] { about.OKButton->click(); });
    EXPECT_EQ(about.exec(), 1);
    EXPECT_FALSE(about.isVisible());
}

} // namespace

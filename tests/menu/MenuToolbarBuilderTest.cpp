#include "menu/MenuToolbarBuilder.h"

#include "localfiles/Gbk.h"
#include "menu/MenuDefinition.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

namespace {

QByteArray G(const char* utf8)
{
    return gbk::fromUnicode(QString::fromUtf8(utf8));
}
QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QByteArray T1 = "http://127.0.0.1:8765/Buy/ssq.php?id=1";
const QByteArray T2 = "http://127.0.0.1:8765/Buy/sfc.php";
const QByteArray T3 = "http://127.0.0.1:8765/Buy/r9.php";
const QByteArray T4 = "http://127.0.0.1:8765/help.html";

QByteArray exampleFile()
{
    return G("=彩票投注:1\r\n@双色球：") + T1 + G("\r\n@足彩：>>\r\n>胜负彩：") + T2 +
           G("\r\n>任选九：") + T3 + G("\r\n+\r\n\r\n=帮助:\r\n@使用说明：") + T4 + "\r\n+\r\n";
}

QRgb pictureColour(int i)
{
    return QColor::fromHsv(i * 40, 255, 255).rgb();
}

QRgb shownColour(const QToolButton* button)
{
    return button->icon().pixmap(32, 32).toImage().pixel(16, 16);
}

class MenuToolbarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.setGeometry(40, 30, 1124, 300);
        sToolBar1->setGeometry(0, 0, 1124, 70);
        ToolButton1 = sToolBar1->addSeparator();
        ToolButton1->setObjectName("ToolButton1");
        for (int i = 0; i < menu::MenuPictureCount; ++i) {
            QPixmap picture(32, 32);
            picture.fill(pictureColour(i));
            ImageList1.append(QIcon(picture));
        }
    }

    void buildFrom(const QByteArray& fileText)
    {
        QList<QByteArray> MenuLines = menu::SplitMenuText(fileText);
        menu::MenuToolbarBuilder builder(sToolBar1, &window, ImageList1, MenuButtons, MenuPopups,
                                         [this](QAction* item) { clicked.append(item); });
        menu::BuildMenuToolbar(MenuLines, builder);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QStringList toolbarOrder() const
    {
        QStringList names;
        for (QAction* action : sToolBar1->actions()) {
            QWidget* widget = sToolBar1->widgetForAction(action);
            names << (action->isSeparator() ? action->objectName() : widget->objectName());
        }
        return names;
    }

    // Presses the button at `at`; while its menu is open, `whileOpen` runs and
    // the menu is closed unless `whileOpen` closed it. Returns where it showed.
    QRect pressAndDrop(QToolButton* button, QPoint at,
                       const std::function<void(QMenu*)>& whileOpen = {})
    {
        QMenu* popup = button->menu();
        QRect shownAt;
        QObject context;
        QObject::connect(popup, &QMenu::aboutToShow, &context, [&] {
            QTimer::singleShot(0, popup, [&] {
                shownAt = popup->geometry();
                if (whileOpen)
                    whileOpen(popup);
                if (popup->isVisible())
                    popup->close();
            });
        });
        QTest::mousePress(button, Qt::LeftButton, {}, at);
        QTest::mouseRelease(button, Qt::LeftButton, {}, at);
        return shownAt;
    }

    QWidget window;
    QToolBar* sToolBar1 = new QToolBar(&window);
    QAction* ToolButton1 = nullptr;
    QList<QIcon> ImageList1;
    menu::MenuButtonArray MenuButtons{};
    menu::MenuPopupArray MenuPopups{};
    QList<QAction*> clicked;
};

TEST_F(MenuToolbarTest, ExampleFileGivesNamedButtonsRightToLeftBeforeTheDivider)
{
    buildFrom(exampleFile());

    EXPECT_EQ(toolbarOrder(), QStringList({"sSpeedB1", "sSpeedB0", "ToolButton1"}));
    ASSERT_TRUE(MenuButtons[0] && MenuButtons[1] && MenuPopups[0] && MenuPopups[1]);
    for (int n = 2; n < menu::MenuButtonCount; ++n)
        EXPECT_TRUE(MenuButtons[n].isNull() && MenuPopups[n].isNull()) << n;
    const QWidget* divider = sToolBar1->widgetForAction(ToolButton1);
    EXPECT_LT(MenuButtons[1]->x(), MenuButtons[0]->x());
    EXPECT_LT(MenuButtons[0]->x(), divider->x());

    struct Expected
    {
        int n;
        QString caption;
        int picture;
    } expected[] = {{0, U("彩票投注"), 1}, {1, U("帮助"), 0}};
    for (const Expected& e : expected) {
        QToolButton* button = MenuButtons[e.n];
        QMenu* popup = MenuPopups[e.n];
        EXPECT_EQ(button->objectName(), "sSpeedB" + QString::number(e.n));
        EXPECT_EQ(popup->objectName(), "PopupM" + QString::number(e.n));
        EXPECT_EQ(button->parentWidget(), sToolBar1);
        EXPECT_EQ(popup->parentWidget(), &window);
        EXPECT_EQ(button->menu(), popup);
        EXPECT_EQ(button->text(), e.caption);
        EXPECT_EQ(button->size(), QSize(106, 60));
        EXPECT_EQ(button->iconSize(), QSize(32, 32));
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_EQ(button->popupMode(), QToolButton::InstantPopup);
        EXPECT_EQ(shownColour(button), pictureColour(e.picture)) << e.n;
    }
}

TEST_F(MenuToolbarTest, MenusHoldTheItemsWithTargetsAsStatusTipsAndASubmenu)
{
    buildFrom(exampleFile());

    const QList<QAction*> items0 = MenuPopups[0]->actions();
    ASSERT_EQ(items0.size(), 2);
    EXPECT_EQ(items0[0]->text(), U("双色球"));
    EXPECT_EQ(items0[0]->objectName(), "MenuItem0");
    EXPECT_EQ(menu::MenuItemTarget(items0[0]), T1);
    EXPECT_EQ(items0[1]->text(), U("足彩"));
    EXPECT_EQ(items0[1]->objectName(), "MenuItem0");
    EXPECT_TRUE(items0[1]->statusTip().isEmpty());
    ASSERT_NE(items0[1]->menu(), nullptr);

    const QList<QAction*> subItems = items0[1]->menu()->actions();
    ASSERT_EQ(subItems.size(), 2);
    EXPECT_EQ(subItems[0]->text(), U("胜负彩"));
    EXPECT_EQ(subItems[0]->objectName(), "MenuItem0");
    EXPECT_EQ(menu::MenuItemTarget(subItems[0]), T2);
    EXPECT_EQ(subItems[1]->text(), U("任选九"));
    EXPECT_EQ(subItems[1]->objectName(), "MenuItem1");
    EXPECT_EQ(menu::MenuItemTarget(subItems[1]), T3);

    const QList<QAction*> items1 = MenuPopups[1]->actions();
    ASSERT_EQ(items1.size(), 1);
    EXPECT_EQ(items1[0]->text(), U("使用说明"));
    EXPECT_EQ(items1[0]->objectName(), "MenuItem1");
    EXPECT_EQ(menu::MenuItemTarget(items1[0]), T4);

    // The item that carries the submenu does nothing; every other choice
    // calls back, once per choice.
    items0[1]->trigger();
    EXPECT_TRUE(clicked.isEmpty());
    subItems[1]->trigger();
    subItems[1]->trigger();
    EXPECT_EQ(clicked, QList<QAction*>({subItems[1], subItems[1]}));
}

TEST_F(MenuToolbarTest, PressingFaceOrArrowDropsTheMenuOnePixelBelowTheButton)
{
    buildFrom(exampleFile());

    for (int n : {0, 1}) {
        QToolButton* button = MenuButtons[n];
        const QPoint expected = button->mapToGlobal(QPoint(0, button->height() + 1));
        for (QPoint at : {QPoint(45, 30), QPoint(100, 30), QPoint(2, 58)})
            EXPECT_EQ(pressAndDrop(button, at).topLeft(), expected)
                << "button " << n << " pressed at " << at.x() << "," << at.y();
    }
}

TEST_F(MenuToolbarTest, ChoosingAnItemInTheDroppedMenuCallsBackWithItsTarget)
{
    buildFrom(exampleFile());

    QAction* item = MenuPopups[0]->actions().at(0);
    pressAndDrop(MenuButtons[0], QPoint(45, 30), [item](QMenu* popup) {
        const QPoint at = popup->actionGeometry(item).center();
        QTest::mouseMove(popup, at);
        QTest::mouseClick(popup, Qt::LeftButton, {}, at);
    });
    ASSERT_EQ(clicked, QList<QAction*>({item}));
    EXPECT_EQ(menu::MenuItemTarget(clicked[0]), T1);
}

TEST_F(MenuToolbarTest, CaptionsShowAmpersandsAndTargetsComeBackByteForByte)
{
    const QByteArray chineseTarget = G("http://127.0.0.1:8765/搜索.php?name=中:1&b=2");
    buildFrom(G("=A&B:3\r\n@C&D：") + chineseTarget + G("\r\n@E：>>\r\n>F：>>\r\n=P:9\r\n"));

    EXPECT_EQ(MenuButtons[0]->text(), "A&&B");
    EXPECT_TRUE(QKeySequence::mnemonic(MenuButtons[0]->text()).isEmpty());
    EXPECT_EQ(shownColour(MenuButtons[0]), pictureColour(3));
    EXPECT_TRUE(MenuButtons[1]->icon().isNull()); // picture 9 does not exist

    const QList<QAction*> items = MenuPopups[0]->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "C&&D");
    EXPECT_TRUE(QKeySequence::mnemonic(items[0]->text()).isEmpty());
    EXPECT_EQ(menu::MenuItemTarget(items[0]), chineseTarget);

    // A sub-item whose target is ">>" is still chosen and opens that text.
    QAction* subItem = items[1]->menu()->actions().value(0);
    ASSERT_NE(subItem, nullptr);
    subItem->trigger();
    ASSERT_EQ(clicked, QList<QAction*>({subItem}));
    EXPECT_EQ(menu::MenuItemTarget(subItem), ">>");

    EXPECT_FALSE(menu::MenuItemTarget(MenuButtons[0]).has_value());
    EXPECT_FALSE(menu::MenuItemTarget(nullptr).has_value());
}

// A button line's number picks its picture of ImageList1, and a number the
// list does not have shows no picture at all.
TEST_F(MenuToolbarTest, PictureNumbersOutsideTheListShowNoPicture)
{
    struct Case
    {
        QByteArray text;
        int picture; // -1: none
    };
    const Case cases[] = {
        {"0", 0},
        {"7", 7},
        {"+3", 3},
        {"-0", 0},
        {"", 0},
        {" ", 0},
        {"x", 0},
        {"8", -1},
        {"9", -1},
        {"-1", -1},
        {"100", -1},
        {"-9", -1},
        {"99999999999999999999", -1},
    };
    QByteArray file;
    for (const Case& c : cases)
        file += "=B:" + c.text + "\r\n";
    buildFrom(file);

    for (int n = 0; n < int(std::size(cases)); ++n) {
        const Case& c = cases[n];
        SCOPED_TRACE("=B:" + c.text.toStdString());
        QToolButton* button = MenuButtons[n];
        ASSERT_TRUE(button);
        if (c.picture < 0) {
            EXPECT_TRUE(button->icon().isNull());
        } else {
            ASSERT_FALSE(button->icon().isNull());
            EXPECT_EQ(shownColour(button), pictureColour(c.picture));
        }
    }
}

TEST_F(MenuToolbarTest, BuilderIgnoresNumbersOutsideWhatExists)
{
    ImageList1 = ImageList1.mid(0, 2);
    menu::MenuToolbarBuilder builder(sToolBar1, &window, ImageList1, MenuButtons, MenuPopups,
                                     [this](QAction* item) { clicked.append(item); });
    builder.AddMenuButton("A", 5, 0);  // no picture 5 in a list of two: none shown
    builder.AddMenuButton("X", 0, -1); // no such button numbers
    builder.AddMenuButton("X", 0, menu::MenuButtonCount);
    builder.AddMenuItem(0, "x", 7, 0, 0, "T"); // button 7 was never built
    builder.AddMenuItem(0, "x", -1, 0, 0, "T");
    builder.AddMenuItem(1, "x", 0, 3, 0, "T"); // no item 3 to hang it on
    builder.AddMenuItem(2, "x", 0, 0, 0, "T"); // no such level

    EXPECT_EQ(toolbarOrder(), QStringList({"sSpeedB0", "ToolButton1"}));
    EXPECT_TRUE(MenuButtons[0]->icon().isNull());
    EXPECT_TRUE(MenuPopups[0]->actions().isEmpty());
}

} // namespace

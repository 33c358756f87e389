#include "browsing/NavigationBar.h"

#include "ui/ImageLists.h"
#include "ui/Skin.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

const NavigationBar::Layout NavigationBar::HomeTab = {QStringLiteral("Panel3"),
                                                      22,
                                                      15,
                                                      35,
                                                      125,
                                                      220,
                                                      315,
                                                      384,
                                                      476,
                                                      817,
                                                      881,
                                                      945,
                                                      19,
                                                      20,
                                                      QStringLiteral("Btn_SearchMan"),
                                                      QStringLiteral("RzToolButton10"),
                                                      false,
                                                      true};

const NavigationBar::Layout NavigationBar::PageFrame = {QStringLiteral("Panel2"),
                                                        23,
                                                        20,
                                                        38,
                                                        130,
                                                        225,
                                                        320,
                                                        389,
                                                        481,
                                                        820,
                                                        884,
                                                        948,
                                                        11,
                                                        12,
                                                        QStringLiteral("Btn_Search_Man"),
                                                        QStringLiteral("RzToolButton1"),
                                                        true,
                                                        false};

namespace {

QLabel* boldLabel(const QString& name, const QString& caption, int left, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setProperty("role", QStringLiteral("searchLabel"));
    label->move(left, 4);
    label->adjustSize();
    return label;
}

QToolButton* toolButton(const QString& name, const QString& caption, int left, int width,
                        int height, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setGeometry(left, 0, width, height);
    button->setAutoRaise(true);
    return button;
}

} // namespace

NavigationBar::NavigationBar(const Layout& layout, QWidget* parent) : QFrame(parent)
{
    setObjectName(layout.name);
    ui::ApplySkin(this);
    setFixedHeight(layout.height);
    const int searchTop = (layout.height - 17) / 2;

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(layout.image1, 2, 19, 18);
    Image1->setPixmap(ui::Image1Picture());

    RxLabel3 = boldLabel(QStringLiteral("RxLabel3"), QStringLiteral("彩票牛人搜索："),
                         layout.rxLabel3, this);

    edt_UserName = new QLineEdit(this);
    edt_UserName->setObjectName(QStringLiteral("edt_UserName"));
    edt_UserName->setGeometry(layout.userName, searchTop - 1, 92, 19);
    if (layout.searchHints)
        edt_UserName->setToolTip(QStringLiteral("请输入用户名，进行搜索..."));

    Btn_SearchMan =
        toolButton(layout.searchManName, QStringLiteral("搜索"), layout.searchMan, 65, 17, this);
    Btn_SearchMan->move(layout.searchMan, searchTop);

    RxLabel4 =
        boldLabel(QStringLiteral("RxLabel4"), QStringLiteral("方案查找："), layout.rxLabel4, this);

    edt_ProjectID = new QSpinBox(this);
    edt_ProjectID->setObjectName(QStringLiteral("edt_ProjectID"));
    edt_ProjectID->setGeometry(layout.projectId, searchTop - 1, 89, 19);
    edt_ProjectID->setRange(0, 100000000);
    edt_ProjectID->setGroupSeparatorShown(true);
    edt_ProjectID->setButtonSymbols(QAbstractSpinBox::NoButtons);
    // Thousands shown with ",", as the format ",0" shows them, whatever the desktop's language.
    edt_ProjectID->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    if (layout.searchHints)
        edt_ProjectID->setToolTip(QStringLiteral("请输入方案号码，进行查找..."));

    Btn_SearchProject_ID = toolButton(QStringLiteral("Btn_SearchProject_ID"),
                                      QStringLiteral("搜索"), layout.searchProject, 65, 17, this);
    Btn_SearchProject_ID->move(layout.searchProject, searchTop);

    btn_goBack = toolButton(QStringLiteral("btn_goBack"), QStringLiteral("后退"), layout.back, 63,
                            layout.height, this);
    btn_goBack->setToolTip(QStringLiteral("后退"));
    btn_goBack->setIcon(ui::ImageListIcon(layout.backImage));
    btn_goBack->setEnabled(false);

    btn_goforword = toolButton(QStringLiteral("btn_goforword"), QStringLiteral("前进"),
                               layout.forward, 63, layout.height, this);
    if (layout.frameHints)
        btn_goforword->setToolTip(QStringLiteral("前进"));
    btn_goforword->setIcon(ui::ImageListIcon(layout.forwardImage));
    btn_goforword->setEnabled(false);

    btn_refresh = toolButton(layout.refreshName, QStringLiteral("刷新"), layout.refresh, 81,
                             layout.height, this);
    btn_refresh->setIcon(ui::ImageListIcon(6));
    if (layout.frameHints)
        btn_refresh->setToolTip(QStringLiteral("刷新"));

    for (QToolButton* b : {btn_goBack, btn_goforword, btn_refresh})
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

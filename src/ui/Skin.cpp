#include "ui/Skin.h"

#include "ui/SkinTabFrameStyle.h"

#include <QTabBar>
#include <QTabWidget>

namespace ui {

QString SkinStyleSheet()
{
    return QStringLiteral(R"QSS(
QFrame#sCoolBar1 {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F4F8FF, stop:1 #C9DBF5);
    border-bottom: 1px solid #8FAAD9;
}
QToolBar#sToolBar1 { background: transparent; border: none; spacing: 2px; }
QToolBar#sToolBar1 QToolButton { color: navy; border: 1px solid transparent; border-radius: 3px; }
QToolBar#sToolBar1 QToolButton:hover { border-color: #7DA2CE; background: #E6F0FD; }
QToolBar#sToolBar1 QToolButton:pressed { background: #C9DBF5; }
QFrame#Panel3, TFrame_WebPopWindows QFrame#Panel2 { background: #C2D8FE; }
QLabel[role="searchLabel"] { color: navy; font-weight: bold; }
QFrame#Panel3 QToolButton, TFrame_WebPopWindows QFrame#Panel2 QToolButton { color: navy; }
QTabWidget#PageWebClient > QTabBar::tab {
    background: #E6F0FD; border: 1px solid #8FAAD9; padding: 3px 10px; margin-right: 1px;
}
QTabWidget#PageWebClient > QTabBar::tab:selected { background: white; border-top: 3px solid red; }
QMenu { background: white; border: 1px solid #8FAAD9; }
QMenu::item:selected { background: #C2D8FE; color: navy; }
)QSS");
}

void ApplySkin(QWidget* part)
{
    part->setStyleSheet(SkinStyleSheet());
}

void ApplySkinToTabs(QTabWidget* tabs)
{
    ApplySkin(tabs->tabBar());
    // A widget's own style reaches none of its children: the pages keep the
    // application's.
    tabs->setStyle(new SkinTabFrameStyle(tabs));
}

} // namespace ui

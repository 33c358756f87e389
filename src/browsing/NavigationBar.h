#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

// The one-line bar above every web view: the two site-search boxes and the
// back, forward and refresh buttons. The home tab and the page frames place
// and name its controls slightly differently.
class NavigationBar : public QFrame
{
    Q_OBJECT
public:
    struct Layout
    {
        QString name;
        int height;
        int image1, rxLabel3, userName, searchMan, rxLabel4, projectId, searchProject;
        int back, forward, refresh;
        int backImage, forwardImage;
        QString searchManName, refreshName;
        bool frameHints;  // hints on the forward and refresh buttons too
        bool searchHints; // hints on the two search boxes
    };
    static const Layout HomeTab;
    static const Layout PageFrame;

    NavigationBar(const Layout& layout, QWidget* parent);

    QLabel* Image1 = nullptr;
    QLabel* RxLabel3 = nullptr;
    QLineEdit* edt_UserName = nullptr;
    QToolButton* Btn_SearchMan = nullptr;
    QLabel* RxLabel4 = nullptr;
    QSpinBox* edt_ProjectID = nullptr;
    QToolButton* Btn_SearchProject_ID = nullptr;
    QToolButton* btn_goBack = nullptr;
    QToolButton* btn_goforword = nullptr;
    QToolButton* btn_refresh = nullptr;
};

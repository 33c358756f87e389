#pragma once

#include <QDialog>

class QPushButton;

// A small modal dialog with a confirm and a return button.
class TDlg_base : public QDialog
{
    Q_OBJECT
public:
    explicit TDlg_base(QWidget* parent = nullptr);

    QPushButton* btn_ok = nullptr;
    QPushButton* btn_close = nullptr;

    void btn_okClick();
    void btn_closeClick();

private:
    void FormCreate();
};

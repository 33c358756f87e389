#include "shell/u_base_dialog.h"

#include "shell/u_base.h"

#include <QPushButton>

namespace {

QPushButton* gradientButton(const QString& name, const QString& caption, int left, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(left, 163, 78, 28);
    button->setStyleSheet(
        QStringLiteral("QPushButton { border: 1px solid transparent; border-radius: 2px;"
                       "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 "
                       "rgb(218,234,253), stop:1 rgb(136,174,228)); }"
                       "QPushButton:hover { border-color: black;"
                       "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 "
                       "rgb(255,244,204), stop:1 rgb(255,208,145)); }"
                       "QPushButton:pressed { border-color: black;"
                       "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 "
                       "rgb(254,145,78), stop:1 rgb(255,211,142)); }"
                       "QPushButton:checked {"
                       "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 "
                       "rgb(255,211,142), stop:1 rgb(255,173,85)); }"));
    return button;
}

} // namespace

TDlg_base::TDlg_base(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dlg_base"));
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(419, 213);
    setStyleSheet(QStringLiteral("TDlg_base { background: white; }"));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);

    btn_ok = gradientButton(QStringLiteral("btn_ok"), QStringLiteral("打   印"), 177, this);
    btn_close = gradientButton(QStringLiteral("btn_close"), QStringLiteral("返   回"), 297, this);
    connect(btn_ok, &QPushButton::clicked, this, &TDlg_base::btn_okClick);
    connect(btn_close, &QPushButton::clicked, this, &TDlg_base::btn_closeClick);
    FormCreate();
}

void TDlg_base::FormCreate()
{
    CentreOnDesktop(this);
}

void TDlg_base::btn_okClick()
{
    done(QDialog::Accepted);
}

void TDlg_base::btn_closeClick()
{
    setResult(QDialog::Rejected);
    close();
}

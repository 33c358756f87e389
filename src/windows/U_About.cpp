#include "windows/U_About.h"

#include "localfiles/Gbk.h"
#include "localfiles/StationSettings.h"
#include "ui/ErrorReport.h"
#include "ui/MessageBoxes.h"
#include "windows/OwnerInfo.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace windows {
namespace {

QFont simSun(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun")});
    font.setPixelSize(pixelSize);
    return font;
}

// The product logo, 160 x 42, drawn rather than shipped as a picture.
QPixmap productLogo()
{
    QPixmap logo(160, 42);
    QPainter painter(&logo);
    QLinearGradient face(0, 0, 0, 42);
    face.setColorAt(0, QColor(218, 234, 253));
    face.setColorAt(1, QColor(136, 174, 228));
    painter.fillRect(logo.rect(), face);
    QFont font = simSun(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 128));
    painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("Zantu网"));
    return logo;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("关于（About）"));
    // A dialog frame with the system menu only: no minimise, maximise or help box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(simSun(12));
    setFixedSize(391, 237);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 376, 185);
    // Raised inner and lowered outer bevel.
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setMidLineWidth(1);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(88, 16, 193, 41);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(productLogo());

    ProductName = label(Panel1, "ProductName", QStringLiteral("Zantu网彩票管家"), 140, 72);
    Version = label(Panel1, "Version", QStringLiteral("版本（Version）：2.0"), 120, 88);
    lbl_Owner =
        label(Panel1, "lbl_Owner",
              QStringLiteral("Zantu网 出票热线：%1\n欢迎访问：%2 进行咨询")
                  .arg(QLatin1String(OwnerInfo::TicketPhone), QLatin1String(OwnerInfo::MainHost)),
              64, 104);
    lbl_Owner->setGeometry(64, 104, 264, 24);

    edtMyURL = new QLineEdit(Panel1);
    edtMyURL->setObjectName(QStringLiteral("edtMyURL"));
    edtMyURL->setGeometry(24, 144, 217, 20);

    Button1 = new QPushButton(QStringLiteral("保存代理网址"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(247, 143, 99, 20);
    // A refused write of Config.ini reaches the general error report.
    connect(Button1, &QPushButton::clicked, this, ui::ReportingErrors([this] { Button1Click(); }));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(159, 204, 75, 25);
    // Its modal result closes the window only when it runs modally.
    connect(OKButton, &QPushButton::clicked, this, [this] {
        if (isModal())
            done(QDialog::Accepted);
    });

    // Both buttons are default buttons of the layout; a dialog has one, and
    // Enter in the address box means "save it".
    OKButton->setAutoDefault(true);
    Button1->setDefault(true);

    setTabOrder(edtMyURL, Button1);
    setTabOrder(Button1, OKButton);
    edtMyURL->setFocus();
}

void TAboutBox::FormShow()
{
    edtMyURL->setText(gbk::toUnicode(localfiles::ReadSetting(localfiles::TaskConfigKey::HomePage)));
}

void TAboutBox::Button1Click()
{
    const QByteArray text = gbk::fromUnicode(edtMyURL->text());
    // On character boundaries: the trail byte of a two-byte character may be
    // an ASCII letter and must not begin the marker.
    if (gbk::indexOfOnBoundary(text, OwnerInfo::DomainMarker) < 0) {
        ui::ShowMessageBox(gbk::fromUnicode(QStringLiteral("输入地址非法，请重新输入！")),
                           gbk::fromUnicode(QStringLiteral("系统提示:")), ui::Mb::Ok);
        return;
    }
    localfiles::WriteSetting(localfiles::TaskConfigKey::HomePage, gbk::trimmed(text));
}

void TAboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // a restore by the window manager is not a showing
    if (!FCentred && screen()) {
        FCentred = true;
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->geometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

} // namespace windows

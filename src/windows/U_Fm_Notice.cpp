#include "windows/U_Fm_Notice.h"

#include "localfiles/Gbk.h"
#include "localfiles/TextLines.h"
#include "localfiles/unt_Public.h"
#include "windows/OwnerInfo.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace windows {
namespace {

constexpr QSize OuterSize(527, 360);

} // namespace

QList<QByteArray> TFm_Notice::BuiltInNotice()
{
    const auto g = [](const QString& s) { return gbk::fromUnicode(s); };
    return {
        OwnerInfo::MainHost,
        {},
        "2010-04-13",
        {},
        g(QStringLiteral("Zantu网公告栏：")),
        {},
        "        " + g(QStringLiteral("超级投注站拥有自己的代理网址")) + " " +
            OwnerInfo::ExampleProxyAddress + "; ",
        g(QStringLiteral("用户可以在这个代理地址下注册成为代理的会员；会员发起保存")),
        g(QStringLiteral("方案的记录，站主可以在【方案管理】中查询到具体的方案内容。")),
        g(QStringLiteral("站主可以直接在 帮助->关于 里保存自己的代理网址。")),
    };
}

TFm_Notice::TFm_Notice(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Fm_Notice"));
    setWindowTitle(QStringLiteral("超级投注站公告："));
    // Sizeable, with the system menu only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setGeometry(432, 227, OuterSize.width(), OuterSize.height());

    M_Notice = new QPlainTextEdit(this);
    M_Notice->setObjectName(QStringLiteral("M_Notice"));
    M_Notice->setReadOnly(true);
    M_Notice->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    M_Notice->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun")});
    font.setPixelSize(15);
    font.setBold(true);
    M_Notice->setFont(font);
    QPalette palette = M_Notice->palette();
    palette.setColor(QPalette::Text, Qt::blue);
    M_Notice->setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(M_Notice);
    setFocusProxy(M_Notice);

    setNoticeLines(BuiltInNotice());
}

void TFm_Notice::FormShow()
{
    QFile file(gbk::toUnicode(localfiles::AppPath() + "Notice.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    setNoticeLines(localfiles::SplitTextLines(text));
}

void TFm_Notice::setNoticeLines(const QList<QByteArray>& lines)
{
    FLines = lines;
    M_Notice->setPlainText(gbk::toUnicode(lines.join('\n')));
}

void TFm_Notice::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // a restore by the window manager is not a showing
    if (!FPlaced && screen()) {
        FPlaced = true;
        // The size is the outer size, frame included; centred on the desktop.
        const QSize frame = frameGeometry().size() - geometry().size();
        resize(OuterSize - frame);
        QRect outer(QPoint(), OuterSize);
        outer.moveCenter(screen()->virtualGeometry().center());
        move(outer.topLeft());
    }
    FormShow();
}

} // namespace windows

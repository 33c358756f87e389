#include "webview/CrashNotice.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace webview {

CrashNotice::CrashNotice(QWidget* covered) : QFrame(covered->parentWidget()), FCovered(covered)
{
    setObjectName(QStringLiteral("CrashNotice"));
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    auto* text = new QLabel(QStringLiteral(u"此页面已停止运行（网页进程意外结束）。\n"
                                           u"请按“刷新”重新载入此页面；其他页面不受影响。"),
                            this);
    text->setObjectName(QStringLiteral("CrashNoticeText"));
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* reload = new QPushButton(QStringLiteral(u"刷新"), this);
    reload->setObjectName(QStringLiteral("CrashNoticeReload"));
    layout->addWidget(reload, 0, Qt::AlignCenter);
    layout->addStretch(1);
    connect(reload, &QPushButton::clicked, this, &CrashNotice::ReloadRequested);
    FCovered->installEventFilter(this);
    hide();
}

void CrashNotice::ShowOver()
{
    setGeometry(FCovered->geometry());
    show();
    raise();
}

bool CrashNotice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FCovered && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        setGeometry(FCovered->geometry());
    return QFrame::eventFilter(watched, event);
}

} // namespace webview

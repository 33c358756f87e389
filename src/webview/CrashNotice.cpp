#include "webview/CrashNotice.h"

namespace webview {

CrashNotice::CrashNotice(QWidget* covered)
    : ViewNotice(covered, QStringLiteral("CrashNotice"),
                 QStringLiteral(u"此页面已停止运行（网页进程意外结束）。\n"
                                u"请按“刷新”重新载入此页面；其他页面不受影响。"),
                 QStringLiteral(u"刷新"), CoverView, QStringLiteral("CrashNoticeReload"))
{
    connect(this, &ViewNotice::ButtonClicked, this, &CrashNotice::ReloadRequested);
}

} // namespace webview

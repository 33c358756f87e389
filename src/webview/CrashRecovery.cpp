#include "webview/CrashRecovery.h"

#include "localfiles/SessionLog.h"

namespace webview {
namespace {

constexpr int RepeatWindowMs = 60000;
int repeatWindowForTesting = 0;

int repeatWindow()
{
    return repeatWindowForTesting > 0 ? repeatWindowForTesting : RepeatWindowMs;
}

} // namespace

void CrashRecovery::SetRepeatWindowForTesting(int ms)
{
    repeatWindowForTesting = ms;
}

CrashRecovery::Answer CrashRecovery::RendererEnded(const QUrl& url, bool documentIsGet,
                                                   bool byOperator)
{
    // A reload could post the form again: a bet must never be placed twice.
    if (!documentIsGet || url.isEmpty())
        return Answer::Notice;
    if (byOperator)
        return Answer::Reload;
    // A page that takes its renderer down again and again is not reloaded for ever.
    if (FLastAutoReload.isValid() && FLastAutoReload.elapsed() < repeatWindow())
        return Answer::Notice;
    FLastAutoReload.start();
    localfiles::WriteSessionLog(QStringLiteral(u"网页进程结束，自动重新载入：") + url.toString());
    return Answer::Reload;
}

} // namespace webview

#pragma once

#include <QElapsedTimer>
#include <QUrl>

namespace webview {

// What a view does when its renderer ends (a crash, a kill, no memory left):
// a page that came by GET loads again at once, by itself; a posted page, or a
// renderer that ends again within a minute of such a reload, leaves the
// notice, and the operator decides. Each automatic reload is one line in the
// day log "Session".
class CrashRecovery
{
public:
    enum class Answer { Reload, Notice };

    // `byOperator`: the operator ended the renderer (a hung page's notice).
    Answer RendererEnded(const QUrl& url, bool documentIsGet, bool byOperator);

    // Tests only: the time after an automatic reload in which a second end
    // leaves the notice; 0 puts back the minute.
    static void SetRepeatWindowForTesting(int ms);

private:
    QElapsedTimer FLastAutoReload;
};

} // namespace webview

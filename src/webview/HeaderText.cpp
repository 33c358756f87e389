#include "webview/HeaderText.h"

#include "localfiles/Gbk.h"

namespace webview {

QList<QPair<QByteArray, QByteArray>> ParseHeaderText(const QByteArray& headerText)
{
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray text = headerText;
    text.replace('\r', '\n');
    for (const QByteArray& line : text.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = gbk::trimmed(line.left(colon));
        if (!name.isEmpty())
            headers.append({name, gbk::trimmed(line.mid(colon + 1))});
    }
    return headers;
}

} // namespace webview

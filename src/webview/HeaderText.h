#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

namespace webview {

// "Name: value" lines of a header text as pairs; blank lines and the line
// breaks themselves go nowhere.
QList<QPair<QByteArray, QByteArray>> ParseHeaderText(const QByteArray& headerText);

} // namespace webview

#pragma once

#include "support/Wait.h"

#include <QVariant>
#include <QWebEnginePage>

#include <optional>

// Runs a script in the page's main world and waits for its result; nothing
// when the page did not answer in time.
inline std::optional<QVariant> RunPageScript(QWebEnginePage* page, const QString& script,
                                             int timeoutMs = 15000)
{
    std::optional<QVariant> result;
    page->runJavaScript(script, [&result](const QVariant& v) { result = v; });
    if (!WaitFor([&] { return result.has_value(); }, timeoutMs))
        return std::nullopt;
    return result;
}

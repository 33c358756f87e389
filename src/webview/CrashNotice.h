#pragma once

#include "webview/ViewNotice.h"

namespace webview {

// Lies over a view whose renderer has ended, saying so, until a page loads
// again. It stays where the view must not reload by itself: a page that came
// from a form's post, which a reload would post again, or a renderer that
// ended again soon after an automatic reload. Then the operator decides.
class CrashNotice : public ViewNotice
{
    Q_OBJECT
public:
    // Follows the geometry of `covered`, a sibling under the same parent.
    explicit CrashNotice(QWidget* covered);

signals:
    void ReloadRequested();
};

} // namespace webview

#pragma once

#include <QFrame>

namespace webview {

// Lies over a view whose renderer has ended, saying so, until a page loads
// again. The view does not reload by itself: the page may have been a form
// that a reload would post again, so the operator decides.
class CrashNotice : public QFrame
{
    Q_OBJECT
public:
    // Follows the geometry of `covered`, a sibling under the same parent.
    explicit CrashNotice(QWidget* covered);

    void ShowOver();

signals:
    void ReloadRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* FCovered;
};

} // namespace webview

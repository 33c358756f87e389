#include "webview/ViewShortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

#include <array>

namespace webview {
namespace {

constexpr std::array<double, 17> ZoomFactors{0.25, 1.0 / 3, 0.5,  2.0 / 3, 0.75, 0.8, 0.9, 1.0, 1.1,
                                             1.25, 1.5,     1.75, 2.0,     2.5,  3.0, 4.0, 5.0};
constexpr double Near = 0.001;

void addAction(QWidget* view, const QList<QKeySequence>& keys, std::function<void()> run)
{
    auto* action = new QAction(view);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(action, &QAction::triggered, view, [run] {
        if (run)
            run();
    });
    view->addAction(action);
}

} // namespace

ViewShortcuts::ViewShortcuts(QWidget* view, Actions actions)
    : QObject(view), FActions(std::move(actions))
{
    addAction(view, {QKeySequence(Qt::CTRL | Qt::Key_P)}, [this] { FActions.print(); });
    addAction(view, {QKeySequence(Qt::CTRL | Qt::Key_F)}, [this] { FActions.find(); });
    // Ctrl+= is Ctrl+plus without Shift on most keyboards.
    addAction(view, {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
              [this] { FActions.zoom(1); });
    addAction(view,
              {QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence(Qt::CTRL | Qt::Key_Underscore)},
              [this] { FActions.zoom(-1); });
    addAction(view, {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { FActions.zoom(0); });
}

double ViewShortcuts::ZoomStep(double current, int step)
{
    if (step == 0)
        return 1.0;
    if (step > 0) {
        for (const double f : ZoomFactors)
            if (f > current + Near)
                return f;
        return ZoomFactors.back();
    }
    for (auto it = ZoomFactors.rbegin(); it != ZoomFactors.rend(); ++it)
        if (*it < current - Near)
            return *it;
    return ZoomFactors.front();
}

} // namespace webview

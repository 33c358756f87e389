#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace webview {

// The keys a browser gives its pages: Ctrl+P prints, Ctrl+F finds, Ctrl+plus,
// Ctrl+minus and Ctrl+0 zoom. They belong to one view and act while the
// keyboard is in it (its page or its find bar).
class ViewShortcuts : public QObject
{
    Q_OBJECT
public:
    struct Actions
    {
        std::function<void()> print;
        std::function<void()> find;
        std::function<void(int step)> zoom; // +1 in, -1 out, 0 back to 100 %
    };
    ViewShortcuts(QWidget* view, Actions actions);

    // The zoom factor one step in (`step` > 0) or out from `current`, on the
    // steps the engine's own Ctrl+wheel uses; 1.0 for a `step` of 0.
    static double ZoomStep(double current, int step);

private:
    Actions FActions;
};

} // namespace webview

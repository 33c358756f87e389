#include "browsing/PopupPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace browsing {

QPoint CentredPosition(QSize window, QSize screen)
{
    // Halves go to the even neighbour under the default rounding mode.
    const auto centre = [](int screenLength, int windowLength) {
        return static_cast<int>(std::nearbyint((screenLength - windowLength) / 2.0));
    };
    return {centre(screen.width(), window.width()), centre(screen.height(), window.height())};
}

void PlacePopupWindow(QWidget* window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(CentredPosition(window->frameGeometry().size(), screen->geometry().size()));
    window->show();
    window->raise();
    window->activateWindow();
}

void SetOuterSize(QWidget* window, QSize outer)
{
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    window->resize(outer - frame);
}

} // namespace browsing

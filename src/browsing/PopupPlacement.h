#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

namespace browsing {

// Top-left corner that centres a window of outer size `window` on a screen of
// size `screen`, each coordinate rounded to the nearest integer, halves to the
// even neighbour: (1024 - 735) / 2 = 144.5 gives 144, (768 - 369) / 2 = 199.5 gives 200.
QPoint CentredPosition(QSize window, QSize screen);

// Places a pop-up window centred on the primary screen at its current outer
// size, on top of the others, and shows it.
void PlacePopupWindow(QWidget* window);

// Gives a top-level window the outer size (frame included) once the frame is known.
void SetOuterSize(QWidget* window, QSize outer);

} // namespace browsing

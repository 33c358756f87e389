#pragma once

#include <QIcon>

// The pictures compiled into the program: `ImageList` (16 x 16, the small
// tool buttons) and `ImageList1` (32 x 32, the menu buttons).
namespace ui {

constexpr int ImageListCount = 23;
constexpr int ImageList1Count = 8;

QIcon ImageListIcon(int index);
QIcon ImageList1Icon(int index);
QPixmap Image1Picture();
// The program's own icon, for its windows.
QIcon AppIcon();

} // namespace ui

#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

class QWidget;

// The one way the system asks or tells the operator something: a modal box
// with GBK text and caption and the Windows-style flags the station knows.
// Tests answer the boxes through SetMessageBoxHandler.
namespace ui {

namespace Mb {
enum : unsigned {
    Ok = 0x0,
    OkCancel = 0x1,
    YesNoCancel = 0x3,
    YesNo = 0x4,
    IconError = 0x10,
    IconQuestion = 0x20,
    IconWarning = 0x30,
    IconInformation = 0x40,
    DefButton2 = 0x100,
};
}

namespace Answer {
enum : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
}

using MessageBoxHandler = std::function<int(const QByteArray& text, const QByteArray& caption,
                                            unsigned flags, QWidget* parent)>;

// Returns the answer (Answer::*). The box belongs to `parent`'s window, which
// stays behind it; without one, to the active window.
int ShowMessageBox(const QByteArray& text, const QByteArray& caption, unsigned flags,
                   QWidget* parent = nullptr);

// Replaces the box; an empty handler puts the Qt message box back.
void SetMessageBoxHandler(MessageBoxHandler handler);

// A line of an input box; `value` is shown first and holds what was typed.
struct InputLine
{
    QByteArray label;
    QByteArray value;
    bool secret = false; // typed as a password
};

using InputBoxHandler = std::function<bool(const QByteArray& text, const QByteArray& caption,
                                           QList<InputLine>& lines, QWidget* parent)>;

// A box that asks for lines of text under `text`; true when the operator
// confirmed them, false when the box was cancelled.
bool ShowInputBox(const QByteArray& text, const QByteArray& caption, QList<InputLine>& lines,
                  QWidget* parent);

// Replaces the input box; an empty handler puts the Qt dialog back.
void SetInputBoxHandler(InputBoxHandler handler);

} // namespace ui

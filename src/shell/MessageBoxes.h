#pragma once

#include <QByteArray>

#include <functional>

// The one way the system asks or tells the operator something: a modal box
// with GBK text and caption and the Windows-style flags the station knows.
// Tests answer the boxes through SetMessageBoxHandler.
namespace shell {

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

using MessageBoxHandler =
    std::function<int(const QByteArray& text, const QByteArray& caption, unsigned flags)>;

// Returns the answer (Answer::*).
int ShowMessageBox(const QByteArray& text, const QByteArray& caption, unsigned flags);

// Replaces the box; an empty handler puts the Qt message box back.
void SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace shell

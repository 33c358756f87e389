#include "shell/MessageBoxes.h"

#include "localfiles/Gbk.h"

#include <QApplication>
#include <QMessageBox>

namespace shell {
namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler h;
    return h;
}

int qtMessageBox(const QByteArray& text, const QByteArray& caption, unsigned flags)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(gbk::toUnicode(text));
    box.setWindowTitle(gbk::toUnicode(caption));
    switch (flags & 0xF0) {
    case Mb::IconError:
        box.setIcon(QMessageBox::Critical);
        break;
    case Mb::IconQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case Mb::IconWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Mb::IconInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    QList<QPair<QMessageBox::StandardButton, int>> buttons;
    switch (flags & 0x0F) {
    case Mb::OkCancel:
        buttons = {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
        break;
    case Mb::YesNoCancel:
        buttons = {{QMessageBox::Yes, Answer::Yes},
                   {QMessageBox::No, Answer::No},
                   {QMessageBox::Cancel, Answer::Cancel}};
        break;
    case Mb::YesNo:
        buttons = {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}};
        break;
    default:
        buttons = {{QMessageBox::Ok, Answer::Ok}};
        break;
    }
    for (const auto& b : buttons)
        box.addButton(b.first);
    const int defaultIndex = (flags & Mb::DefButton2) && buttons.size() > 1 ? 1 : 0;
    box.setDefaultButton(buttons[defaultIndex].first);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& b : buttons)
        if (b.first == pressed)
            return b.second;
    // Closed with Escape or the close box: the answer of the last button, as a
    // box without a Cancel button would give.
    return buttons.back().second;
}

} // namespace

int ShowMessageBox(const QByteArray& text, const QByteArray& caption, unsigned flags)
{
    if (handler())
        return handler()(text, caption, flags);
    return qtMessageBox(text, caption, flags);
}

void SetMessageBoxHandler(MessageBoxHandler h)
{
    handler() = std::move(h);
}

} // namespace shell

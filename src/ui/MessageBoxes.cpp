#include "ui/MessageBoxes.h"

#include "localfiles/Gbk.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace ui {
namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler h;
    return h;
}

InputBoxHandler& inputHandler()
{
    static InputBoxHandler h;
    return h;
}

QWidget* ownerWindow(QWidget* parent)
{
    return parent ? parent->window() : QApplication::activeWindow();
}

int qtMessageBox(const QByteArray& text, const QByteArray& caption, unsigned flags, QWidget* parent)
{
    QMessageBox box(ownerWindow(parent));
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

bool qtInputBox(const QByteArray& text, const QByteArray& caption, QList<InputLine>& lines,
                QWidget* parent)
{
    QDialog dialog(ownerWindow(parent));
    dialog.setWindowTitle(gbk::toUnicode(caption));
    auto* form = new QFormLayout(&dialog);
    auto* label = new QLabel(gbk::toUnicode(text), &dialog);
    label->setWordWrap(true);
    form->addRow(label);
    QList<QLineEdit*> edits;
    for (const InputLine& line : lines) {
        auto* edit = new QLineEdit(gbk::toUnicode(line.value), &dialog);
        if (line.secret)
            edit->setEchoMode(QLineEdit::Password);
        form->addRow(gbk::toUnicode(line.label), edit);
        edits.append(edit);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (int i = 0; i < lines.size(); ++i)
        lines[i].value = gbk::fromUnicode(edits[i]->text());
    return true;
}

} // namespace

int ShowMessageBox(const QByteArray& text, const QByteArray& caption, unsigned flags,
                   QWidget* parent)
{
    if (handler())
        return handler()(text, caption, flags, parent);
    return qtMessageBox(text, caption, flags, parent);
}

bool ShowInputBox(const QByteArray& text, const QByteArray& caption, QList<InputLine>& lines,
                  QWidget* parent)
{
    if (inputHandler())
        return inputHandler()(text, caption, lines, parent);
    return qtInputBox(text, caption, lines, parent);
}

void SetInputBoxHandler(InputBoxHandler h)
{
    inputHandler() = std::move(h);
}

void SetMessageBoxHandler(MessageBoxHandler h)
{
    handler() = std::move(h);
}

} // namespace ui

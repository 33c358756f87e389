#include "support/MessageBoxRecorder.h"

MessageBoxRecorder::MessageBoxRecorder(int answer) : FAnswer(answer)
{
    ui::SetMessageBoxHandler(
        [this](const QByteArray& text, const QByteArray& caption, unsigned flags, QWidget* parent) {
            FBoxes.append({text, caption, flags, parent});
            return FQueued.isEmpty() ? FAnswer : FQueued.takeFirst();
        });
    ui::SetInputBoxHandler([this](const QByteArray& text, const QByteArray& caption,
                                  QList<ui::InputLine>& lines, QWidget* parent) {
        FInputBoxes.append({text, caption, lines, parent});
        if (FQueuedInput.isEmpty())
            return false;
        const QList<QByteArray> values = FQueuedInput.takeFirst();
        for (int i = 0; i < lines.size() && i < values.size(); ++i)
            lines[i].value = values[i];
        return true;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    ui::SetMessageBoxHandler({});
    ui::SetInputBoxHandler({});
}

QList<QByteArray> MessageBoxRecorder::texts() const
{
    QList<QByteArray> result;
    for (const Box& b : FBoxes)
        result.append(b.text);
    return result;
}

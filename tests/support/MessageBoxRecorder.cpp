#include "support/MessageBoxRecorder.h"

#include "shell/MessageBoxes.h"

MessageBoxRecorder::MessageBoxRecorder(int answer) : FAnswer(answer)
{
    shell::SetMessageBoxHandler(
        [this](const QByteArray& text, const QByteArray& caption, unsigned flags) {
            FBoxes.append({text, caption, flags});
            return FQueued.isEmpty() ? FAnswer : FQueued.takeFirst();
        });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    shell::SetMessageBoxHandler({});
}

QList<QByteArray> MessageBoxRecorder::texts() const
{
    QList<QByteArray> result;
    for (const Box& b : FBoxes)
        result.append(b.text);
    return result;
}

#pragma once

#include "ui/MessageBoxes.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QWidget>

// Answers the program's message boxes and input boxes while it lives and
// records each one with the window it was given.
class MessageBoxRecorder
{
public:
    struct Box
    {
        QByteArray text;
        QByteArray caption;
        unsigned flags;
        QPointer<QWidget> parent;
    };
    struct InputBox
    {
        QByteArray text;
        QByteArray caption;
        QList<ui::InputLine> lines; // as the box was opened
        QPointer<QWidget> parent;
    };

    // `answer` is given to every box (ui::Answer::*).
    explicit MessageBoxRecorder(int answer = 1);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void setAnswer(int answer) { FAnswer = answer; }
    // Answers given in turn before falling back to the standing answer.
    void queueAnswers(const QList<int>& answers) { FQueued = answers; }
    // The next input box is confirmed with these values, one a line; an
    // input box without queued values is cancelled.
    void queueInput(const QList<QByteArray>& values) { FQueuedInput.append(values); }

    const QList<Box>& boxes() const { return FBoxes; }
    QList<QByteArray> texts() const;
    const QList<InputBox>& inputBoxes() const { return FInputBoxes; }

private:
    int FAnswer;
    QList<int> FQueued;
    QList<QList<QByteArray>> FQueuedInput;
    QList<Box> FBoxes;
    QList<InputBox> FInputBoxes;
};

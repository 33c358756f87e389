#pragma once

#include <QByteArray>
#include <QList>

// Answers the program's message boxes while it lives and records each one.
class MessageBoxRecorder
{
public:
    struct Box
    {
        QByteArray text;
        QByteArray caption;
        unsigned flags;
    };

    // `answer` is given to every box (shell::Answer::*).
    explicit MessageBoxRecorder(int answer = 1);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void setAnswer(int answer) { FAnswer = answer; }
    // Answers given in turn before falling back to the standing answer.
    void queueAnswers(const QList<int>& answers) { FQueued = answers; }

    const QList<Box>& boxes() const { return FBoxes; }
    QList<QByteArray> texts() const;

private:
    int FAnswer;
    QList<int> FQueued;
    QList<Box> FBoxes;
};

#pragma once

#include <QByteArray>
#include <QList>

namespace localfiles {

// One line of a text file, with the line ending it had on disk, so a file can
// be written back with every untouched line exactly as it was.
struct TextLine
{
    QByteArray text;
    QByteArray ending; // "\r\n", "\n", "\r" or empty for a last line without one
};

// Splits at CR LF, LF or CR; a final line end does not start another line.
QList<TextLine> SplitTextLinesWithEndings(const QByteArray& content);
// The same lines without their endings.
QList<QByteArray> SplitTextLines(const QByteArray& content);

} // namespace localfiles

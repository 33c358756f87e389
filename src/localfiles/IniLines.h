#pragma once

#include <QByteArray>
#include <QList>

namespace localfiles {

// One line of an INI text, with the line ending it had on disk, so a file can
// be written back with every untouched line exactly as it was.
struct IniLine
{
    QByteArray text;
    QByteArray ending; // "\r\n", "\n", "\r" or empty for a last line without one
};

// Splits at CR LF, LF or CR.
QList<IniLine> SplitIniLines(const QByteArray& content);

} // namespace localfiles

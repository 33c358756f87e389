#pragma once

#include <QByteArray>
#include <QList>

#include <stdexcept>

// The small routines every subsystem uses for its local files and text.
// Paths and texts are GBK byte strings.
namespace localfiles {

class IoError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The folder of the running executable, ending with "/".
QByteArray AppPath();
// Tests only: puts the program folder elsewhere; an empty folder undoes it.
void SetAppPathForTesting(const QByteArray& folder);

// Cuts S at every Sep, removing the piece and only the first character of the
// separator: with Sep = CR LF every piece after the first begins with LF, and
// a text that ends with CR LF yields a last piece that holds only LF.
void SplitString(QByteArray S, const QByteArray& Sep, QList<QByteArray>& List);

// Replaces until Pattern no longer occurs, restarting from the start each time.
QByteArray ReplaceAll(QByteArray S, const QByteArray& Pattern, const QByteArray& Replacement);

// Appends Line and CR LF; creates the file and one missing folder level.
// Throws IoError.
void AppendLineToFile(const QByteArray& Line, const QByteArray& FileName);

// log/<Name>-YYYY-MM-DD.txt under the program folder; never throws.
void WriteDayLog(const QByteArray& Text, const QByteArray& Name, int OpenAfter,
                 QByteArray& LogPath);

// [TaskConfig] of Config.ini in the program folder; a blank or missing value reads "0".
QByteArray ReadTaskConfig(const QByteArray& Key);
// Throws WriteError("Unable to write to <file>") when the file cannot be written.
bool WriteTaskConfig(const QByteArray& Key, const QByteArray& Value);

} // namespace localfiles

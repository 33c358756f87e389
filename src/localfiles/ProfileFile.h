#pragma once

#include <QByteArray>

#include <stdexcept>

namespace localfiles {

class WriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Key-by-key access to a station INI file with the operating system's
// profile-file rules: nothing cached, every read opens the file, every write
// reaches the disk before it returns.
namespace ProfileFile {

constexpr int MaxValueBytes = 2047;

// Section and key without regard to case; the value trimmed and stripped of
// one pair of enclosing quotes; the default for a missing file, section or key.
QByteArray ReadString(const QByteArray& fileName, const QByteArray& section, const QByteArray& key,
                      const QByteArray& defaultValue);

// Replaces the key's value where it stands or appends the key, the section and
// the file as needed; every other line keeps its bytes and line ending. The new
// text goes to a temporary file renamed over the old one, so a failed write
// leaves the file whole. Throws WriteError("Unable to write to <file>").
void WriteString(const QByteArray& fileName, const QByteArray& section, const QByteArray& key,
                 const QByteArray& value);

} // namespace ProfileFile
} // namespace localfiles

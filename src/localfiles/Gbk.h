#pragma once

#include <QByteArray>
#include <QString>

// Every text of the system is a GBK byte string; these are the only
// conversions, used where text meets a widget, a path or the web view.
namespace gbk {

QString toUnicode(const QByteArray& bytes);
// Characters outside GBK become '?'.
QByteArray fromUnicode(const QString& text);

inline bool isLeadByte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}
inline bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// Length in bytes of the character that starts at `pos` (1 or 2).
int charLength(const QByteArray& bytes, int pos);

// Blanks and control bytes never occur inside a GBK character, so a byte-wise
// trim of bytes up to 0x20 is safe.
QByteArray trimmed(const QByteArray& bytes);

// ASCII letters compared without case; bytes of two-byte characters exactly.
bool equalsIgnoreCase(const QByteArray& a, const QByteArray& b);

// Position of `needle` in `haystack` at a character boundary of `haystack`
// at or after `from`, or -1.
int indexOfOnBoundary(const QByteArray& haystack, const QByteArray& needle, int from = 0);

} // namespace gbk

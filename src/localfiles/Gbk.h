#pragma once

#include <QByteArray>
#include <QString>

// Every text of the system is a GBK byte string; these are the only
// conversions, used where text meets a widget, a path or the web view. They
// use Qt's own GBK codec (Core5Compat), which every build of Qt has, with or
// without ICU; the bytes no GBK table settles are settled here: 0xFF is
// U+F8F5 both ways, a lead byte without a trail byte is U+FFFD (and dropped
// at the very end), and a character outside GBK is one '?'.
namespace gbk {

QString toUnicode(const QByteArray& bytes);
// Characters outside GBK become '?'.
QByteArray fromUnicode(const QString& text);

// Whether the GBK codec exists in this build. Without it the conversions
// keep ASCII only, and the program must not start.
bool ConverterAvailable();
// For tests: look the codec up under another name from now on (a name no
// codec has stands for a build without it); an empty name puts GBK back.
void UseConverterForTesting(const QByteArray& name);

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

#include "localfiles/Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace gbk {

QString toUnicode(const QByteArray& bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

QByteArray fromUnicode(const QString& text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

int charLength(const QByteArray& bytes, int pos)
{
    if (pos + 1 < bytes.size() && isLeadByte(static_cast<unsigned char>(bytes[pos])) &&
        isTrailByte(static_cast<unsigned char>(bytes[pos + 1])))
        return 2;
    return 1;
}

QByteArray trimmed(const QByteArray& bytes)
{
    int begin = 0;
    int end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 0x20)
        --end;
    return bytes.mid(begin, end - begin);
}

static char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsIgnoreCase(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size();) {
        const int len = charLength(a, i);
        if (len != charLength(b, i))
            return false;
        if (len == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
        } else if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
        i += len;
    }
    return true;
}

int indexOfOnBoundary(const QByteArray& haystack, const QByteArray& needle, int from)
{
    if (needle.isEmpty())
        return -1;
    for (int i = 0; i + needle.size() <= haystack.size(); i += charLength(haystack, i)) {
        if (i >= from && haystack.mid(i, needle.size()) == needle)
            return i;
    }
    return -1;
}

} // namespace gbk

#include "localfiles/Gbk.h"

#include <QTextCodec>

namespace gbk {
namespace {

constexpr char16_t ByteFFChar = 0xF8F5; // where Windows code page 936 puts byte 0xFF

QByteArray& converterName()
{
    static QByteArray name = QByteArrayLiteral("GBK");
    return name;
}

QTextCodec* codec()
{
    return QTextCodec::codecForName(converterName());
}

} // namespace

bool ConverterAvailable()
{
    return codec() != nullptr;
}

void UseConverterForTesting(const QByteArray& name)
{
    converterName() = name.isEmpty() ? QByteArrayLiteral("GBK") : name;
}

QString toUnicode(const QByteArray& bytes)
{
    QTextCodec* gbk = codec();
    if (!gbk)
        return QString::fromLatin1(bytes);
    // The codec gets runs of ASCII bytes and whole two-byte characters only;
    // what is left is decided here, the same with every codec.
    QString text;
    int run = 0;
    auto flush = [&](int end) {
        if (end > run)
            text += gbk->toUnicode(bytes.constData() + run, end - run);
    };
    for (int i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0xFF) {
            flush(i);
            text += QChar(ByteFFChar);
            run = ++i;
        } else if (isLeadByte(b)) {
            if (charLength(bytes, i) == 2) {
                i += 2;
                continue;
            }
            flush(i);
            if (i + 1 < bytes.size())
                text += QChar(QChar::ReplacementCharacter);
            run = ++i;
        } else {
            ++i;
        }
    }
    flush(bytes.size());
    return text;
}

QByteArray fromUnicode(const QString& text)
{
    QTextCodec* gbk = codec();
    if (!gbk)
        return text.toLatin1();
    QByteArray bytes;
    int run = 0;
    auto flush = [&](int end) {
        if (end > run)
            bytes += gbk->fromUnicode(text.constData() + run, end - run);
    };
    for (int i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c.unicode() == ByteFFChar || c.isSurrogate()) {
            flush(i);
            const bool pair =
                c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            bytes += c.unicode() == ByteFFChar ? '\xFF' : '?';
            i += pair ? 2 : 1;
            run = i;
        } else {
            ++i;
        }
    }
    flush(text.size());
    return bytes;
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

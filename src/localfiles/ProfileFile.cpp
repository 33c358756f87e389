#include "localfiles/ProfileFile.h"

#include "localfiles/Gbk.h"
#include "localfiles/TextLines.h"

#include <QFile>
#include <QSaveFile>

namespace localfiles::ProfileFile {
namespace {

bool sectionName(const QByteArray& line, QByteArray& name)
{
    const QByteArray t = gbk::trimmed(line);
    if (!t.startsWith('['))
        return false;
    const int close = t.indexOf(']');
    name = gbk::trimmed(t.mid(1, close < 0 ? -1 : close - 1));
    return true;
}

bool keyLine(const QByteArray& line, QByteArray& key, QByteArray& value)
{
    const int eq = line.indexOf('=');
    if (eq < 0)
        return false;
    key = gbk::trimmed(line.left(eq));
    value = line.mid(eq + 1);
    return !key.isEmpty();
}

QByteArray stripQuotes(QByteArray value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// Cuts at a character boundary so a value never ends in half a character.
QByteArray limitBytes(const QByteArray& value)
{
    if (value.size() <= MaxValueBytes)
        return value;
    int end = 0;
    while (end < value.size()) {
        const int len = gbk::charLength(value, end);
        if (end + len > MaxValueBytes)
            break;
        end += len;
    }
    return value.left(end);
}

struct Location
{
    int sectionLine = -1; // index of the section's header line
    int lastLine = -1;    // last non-blank line of the section
    int keyLine = -1;
};

Location locate(const QList<TextLine>& lines, const QByteArray& section, const QByteArray& key)
{
    Location at;
    bool inSection = false;
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray name;
        if (sectionName(lines[i].text, name)) {
            if (inSection)
                break; // the first section of that name is the one
            inSection = gbk::equalsIgnoreCase(name, section);
            if (inSection)
                at.sectionLine = at.lastLine = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!gbk::trimmed(lines[i].text).isEmpty())
            at.lastLine = i;
        QByteArray k, v;
        if (keyLine(lines[i].text, k, v) && gbk::equalsIgnoreCase(k, key)) {
            at.keyLine = i;
            break;
        }
    }
    return at;
}

QByteArray readAll(const QByteArray& fileName, bool* exists = nullptr)
{
    QFile file(gbk::toUnicode(fileName));
    if (exists)
        *exists = file.exists();
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

QByteArray ReadString(const QByteArray& fileName, const QByteArray& section, const QByteArray& key,
                      const QByteArray& defaultValue)
{
    const QList<TextLine> lines = SplitTextLinesWithEndings(readAll(fileName));
    const Location at = locate(lines, section, key);
    if (at.keyLine < 0)
        return defaultValue;
    QByteArray k, v;
    keyLine(lines[at.keyLine].text, k, v);
    return limitBytes(stripQuotes(gbk::trimmed(v)));
}

void WriteString(const QByteArray& fileName, const QByteArray& section, const QByteArray& key,
                 const QByteArray& value)
{
    const QString path = gbk::toUnicode(fileName);
    const auto fail = [&] { throw WriteError("Unable to write to " + fileName.toStdString()); };

    bool exists = false;
    const QByteArray old = readAll(fileName, &exists);
    if (exists && old.isEmpty() && !QFile(path).open(QIODevice::ReadOnly))
        fail(); // an unreadable file must not be replaced by one holding a single key

    QList<TextLine> lines = SplitTextLinesWithEndings(old);
    QByteArray ending = "\r\n";
    for (const TextLine& line : lines)
        if (!line.ending.isEmpty()) {
            ending = line.ending;
            break;
        }

    // A line break inside a value would start a new line, that is a new key.
    QByteArray safeValue = value;
    safeValue.replace('\r', ' ').replace('\n', ' ');
    const QByteArray entry = key + "=" + safeValue;

    const Location at = locate(lines, section, key);
    if (at.keyLine >= 0) {
        lines[at.keyLine].text = entry;
    } else if (at.sectionLine >= 0) {
        if (lines[at.lastLine].ending.isEmpty())
            lines[at.lastLine].ending = ending;
        lines.insert(at.lastLine + 1, {entry, ending});
    } else {
        if (!lines.isEmpty() && lines.back().ending.isEmpty())
            lines.back().ending = ending;
        lines.append({"[" + section + "]", ending});
        lines.append({entry, ending});
    }

    QByteArray content;
    for (const TextLine& line : lines)
        content += line.text + line.ending;

    // Unbuffered, so that a short write shows here: QSaveFile::commit() does
    // not notice a failed flush of its buffer and would rename a cut-off file
    // over the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(content) != content.size()) {
        file.cancelWriting();
        fail();
    }
    if (!file.commit())
        fail();
}

} // namespace localfiles::ProfileFile

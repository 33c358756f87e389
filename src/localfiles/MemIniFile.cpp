#include "localfiles/MemIniFile.h"

#include "localfiles/Gbk.h"
#include "localfiles/TextLines.h"

#include <QFile>

namespace localfiles {
namespace {

// A "]" that is the trail byte of a two-byte character does not close a section.
bool endsWithBracket(const QByteArray& line)
{
    int last = 0;
    for (int i = 0; i < line.size(); i += gbk::charLength(line, i))
        last = i;
    return !line.isEmpty() && last == line.size() - 1 && line.endsWith(']');
}

} // namespace

MemIniFile::MemIniFile(const QByteArray& fileName)
{
    QFile file(gbk::toUnicode(fileName));
    if (file.open(QIODevice::ReadOnly))
        Parse(file.readAll());
}

MemIniFile MemIniFile::FromBytes(const QByteArray& content)
{
    MemIniFile ini;
    ini.Parse(content);
    return ini;
}

void MemIniFile::Parse(const QByteArray& content)
{
    Section* current = nullptr;
    for (const TextLine& raw : SplitTextLinesWithEndings(content)) {
        const QByteArray line = gbk::trimmed(raw.text);
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[') && endsWithBracket(line)) {
            FSections.append({gbk::trimmed(line.mid(1, line.size() - 2)), {}});
            current = &FSections.back();
            continue;
        }
        if (!current)
            continue;
        const int eq = line.indexOf('=');
        current->lines.append(
            eq < 0 ? line : gbk::trimmed(line.left(eq)) + "=" + gbk::trimmed(line.mid(eq + 1)));
    }
}

QByteArray MemIniFile::ReadString(const QByteArray& section, const QByteArray& key,
                                  const QByteArray& defaultValue) const
{
    for (int i = 0; i < FSections.size(); ++i) {
        // The first section of a name is the one looked in.
        if (gbk::equalsIgnoreCase(FSections[i].name, section))
            return ReadSectionString(i, key, defaultValue);
    }
    return defaultValue;
}

QByteArray MemIniFile::ReadSectionString(int index, const QByteArray& key,
                                         const QByteArray& defaultValue) const
{
    if (index < 0 || index >= FSections.size())
        return defaultValue;
    for (const QByteArray& line : FSections[index].lines) {
        const int eq = line.indexOf('=');
        if (eq >= 0 && gbk::equalsIgnoreCase(line.left(eq), key))
            return line.mid(eq + 1);
    }
    return defaultValue;
}

} // namespace localfiles

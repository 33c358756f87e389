#include "localfiles/MemIniFile.h"

#include "localfiles/Gbk.h"
#include "localfiles/TextLines.h"

#include <QFile>

namespace localfiles {

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
        if (line.startsWith('[') && line.endsWith(']')) {
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
    for (const Section& s : FSections) {
        if (!gbk::equalsIgnoreCase(s.name, section))
            continue;
        for (const QByteArray& line : s.lines) {
            const int eq = line.indexOf('=');
            if (eq >= 0 && gbk::equalsIgnoreCase(line.left(eq), key))
                return line.mid(eq + 1);
        }
        return defaultValue; // the first section of a name is the one looked in
    }
    return defaultValue;
}

} // namespace localfiles

#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

namespace localfiles {

// Read-only, in-memory reader of the update descriptors: the file is loaded
// whole once and then queried; it is never written.
class MemIniFile
{
public:
    explicit MemIniFile(const QByteArray& fileName);
    // The same reader over bytes already in memory.
    static MemIniFile FromBytes(const QByteArray& content);

    // Section and key without regard to case; values keep their quotes.
    QByteArray ReadString(const QByteArray& section, const QByteArray& key,
                          const QByteArray& defaultValue) const;

    // The sections in file order, each on its own even when two share a name.
    int SectionCount() const { return FSections.size(); }
    QByteArray SectionName(int index) const { return FSections.value(index).name; }
    QByteArray ReadSectionString(int index, const QByteArray& key,
                                 const QByteArray& defaultValue) const;

private:
    MemIniFile() = default;
    void Parse(const QByteArray& content);

    struct Section
    {
        QByteArray name;
        QList<QByteArray> lines; // "key=value" with the blanks around the first "=" removed
    };
    QList<Section> FSections;
};

} // namespace localfiles

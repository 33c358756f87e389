#include "localfiles/IniLines.h"

namespace localfiles {

QList<IniLine> SplitIniLines(const QByteArray& content)
{
    QList<IniLine> lines;
    int start = 0;
    int i = 0;
    while (i < content.size()) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            const int endingLength =
                (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ? 2 : 1;
            lines.append({content.mid(start, i - start), content.mid(i, endingLength)});
            i += endingLength;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < content.size())
        lines.append({content.mid(start), QByteArray()});
    return lines;
}

} // namespace localfiles

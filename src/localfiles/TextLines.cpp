#include "localfiles/TextLines.h"

namespace localfiles {

QList<TextLine> SplitTextLinesWithEndings(const QByteArray& content)
{
    QList<TextLine> lines;
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

QList<QByteArray> SplitTextLines(const QByteArray& content)
{
    QList<QByteArray> lines;
    for (const TextLine& line : SplitTextLinesWithEndings(content))
        lines.append(line.text);
    return lines;
}

} // namespace localfiles

#include "browsing/TabCaption.h"

#include "localfiles/Gbk.h"

namespace browsing {

QByteArray TabCaption(const QByteArray& title)
{
    if (title.size() >= TabCaptionMaxBytes) {
        // Walk the characters from the start: a byte in the lead range may
        // just as well be the second byte of the character before it.
        int pos = 0;
        while (pos < TabCaptionMaxBytes - 1)
            pos += gbk::charLength(title, pos);
        const int cut = (pos == TabCaptionMaxBytes - 1 && gbk::charLength(title, pos) == 2)
                            ? TabCaptionMaxBytes + 1
                            : TabCaptionMaxBytes;
        return title.left(cut) + "...";
    }
    if (title.size() < 2)
        return "\xD0\xC2\xBD\xA8\xD2\xB3\xC3\xE6" + title; // 新建页面
    return title;
}

} // namespace browsing

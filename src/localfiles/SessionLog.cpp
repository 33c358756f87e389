#include "localfiles/SessionLog.h"

#include "localfiles/Gbk.h"
#include "localfiles/unt_Public.h"

namespace localfiles {

void WriteSessionLog(const QString& text)
{
    QByteArray logPath;
    WriteDayLog(gbk::fromUnicode(text), "Session", 0, logPath);
}

} // namespace localfiles

#pragma once

#include <QString>

namespace localfiles {

// One line in the day log "Session" (log/Session-YYYY-MM-DD.txt): what the
// program did by itself to bring a page or the open tabs back. Never throws.
void WriteSessionLog(const QString& text);

} // namespace localfiles

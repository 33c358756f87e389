#pragma once

#include <QString>

namespace update {

// Starts `program` detached and hidden; on systems with execute bits the
// owner's bit is set first, as a fetched updater arrives without one.
bool StartDetachedHidden(const QString& program);

} // namespace update

#pragma once

#include "update/UpdateOperations.h"

#include <QString>

namespace update {

class UpdateRunner;

// Starts `program` detached and hidden; on systems with execute bits the
// owner's bit is set first, as a fetched updater arrives without one.
bool StartDetachedHidden(const QString& program);

// Starts the comparison of AutoUpdate.ini in the program folder with the one
// on its UpdateServer; the runner acts on the difference with the
// operator's consent. False when a check is already under way.
bool CheckUpdate(UpdateRunner& runner, const UpdateOperations& ops);

// The on-demand command: the check, and a note when it ends with nothing to do.
void act_updateExecute(UpdateRunner& runner, const UpdateOperations& ops);

} // namespace update

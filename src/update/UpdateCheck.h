#pragma once

#include "update/UpdateOperations.h"

namespace update {

class UpdateRunner;

// Starts the comparison of AutoUpdate.ini in the program folder with the one
// on its UpdateServer; the runner acts on the difference with the
// operator's consent. False when a check is already under way.
bool CheckUpdate(UpdateRunner& runner, const UpdateOperations& ops);

// The on-demand command: the check, and a note when it ends with nothing to do.
void act_updateExecute(UpdateRunner& runner, const UpdateOperations& ops);

} // namespace update

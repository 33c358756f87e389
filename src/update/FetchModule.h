#pragma once

#include "update/FetchModuleApi.h"

namespace update {

// Loads the fetch module from the program's own folder the first time it is
// asked for, on whichever thread asks; the update fetches ask on the fetch
// thread, so libcurl and libsodium are never loaded on the GUI thread.
class FetchModule
{
public:
    // Null when the module cannot be loaded or does not match this program.
    static const FetchModuleApi* Api();
};

} // namespace update

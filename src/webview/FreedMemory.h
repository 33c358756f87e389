#pragma once

namespace webview {

// The C library keeps the heap that a discarded page's objects freed; on a
// station that closes tabs all day that heap never goes back to the system.

// Returns the free heap to the system now; false where the C library cannot.
bool ReleaseFreedMemory();

// The same, once the engine has had a moment to free what a discard lets go:
// a second after the last call.
void ReleaseFreedMemorySoon();

} // namespace webview

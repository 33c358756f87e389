#pragma once

#include <QString>

namespace shell {

// The look of the whole program: light blue bars, navy captions, a red bar
// on the active tab.
QString SkinStyleSheet();

} // namespace shell

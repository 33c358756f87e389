#pragma once

#include <string>

// The site speaks GBK, as the real one does; the page texts are written in
// UTF-8 here and converted on the way out.
namespace demosite {

// Characters that GBK cannot hold become '?'.
std::string toGbk(const std::string& utf8);

} // namespace demosite

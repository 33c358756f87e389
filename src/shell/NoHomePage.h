#pragma once

#include <QByteArray>

namespace shell {

// The home tab's page when no home page is set: where the station sets one,
// naming the program folder (Config.ini) and the working directory
// (AutoUpdate.ini) as given, in GBK. Returns GBK HTML; the folders' names
// are text in it, never markup.
QByteArray NoHomePageHtml(const QByteArray& programFolder, const QByteArray& workingDirectory);

} // namespace shell

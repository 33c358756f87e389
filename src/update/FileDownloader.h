#pragma once

#include <QByteArray>

#include <functional>

namespace update {

// Empties the body of the home tab's page; false when there is no document
// or no body to empty.
using ClearHomeBody = std::function<bool()>;

// Fetches `url` and stores the whole body as `localFile` (its folder must
// exist). An existing file is replaced only once the complete body has
// arrived, and never when it is read-only. With `report` a failure blanks the
// home page and warns the operator. True only when the file was written.
bool DownloadFile(const QByteArray& url, const QByteArray& localFile, bool report,
                  const ClearHomeBody& clearHomeBody);

} // namespace update

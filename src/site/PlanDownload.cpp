#include "site/PlanDownload.h"

namespace site {

bool DownloadPlan(const QByteArray& linkAddress)
{
    Q_UNUSED(linkAddress)
    return false;
}

} // namespace site

#include "site/SiteValues.h"

namespace site {

bool IsAccountPageUrl(const QByteArray& url)
{
    for (const char* page : AccountPages) {
        if (page && *page && url.contains(page))
            return true;
    }
    return false;
}

} // namespace site

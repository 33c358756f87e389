#include "site/LinkCheck.h"

#include "localfiles/Gbk.h"
#include "site/SiteValues.h"

namespace site {

QByteArray LinkAddress(const PressedElement& element)
{
    return gbk::trimmed(element.href);
}

LinkKind ClassifyPress(const PressedElement& element)
{
    // Tag names compare with ASCII letters upper-cased only.
    if (element.tag != "A" && element.tag != "a")
        return LinkKind::None;
    const QByteArray address = LinkAddress(element);
    if (address.contains(PlanDownloadPage))
        return LinkKind::PlanDownload;
    if (IsAccountPageUrl(address))
        return LinkKind::AccountPage;
    return LinkKind::None;
}

} // namespace site

#include "browsing/StationRule.h"

#include "site/SiteValues.h"

namespace browsing {
namespace {

QByteArray urlOrigin(const QByteArray& url)
{
    const int schemeEnd = url.indexOf("://");
    if (schemeEnd <= 0)
        return {};
    const int hostStart = schemeEnd + 3;
    int hostEnd = hostStart;
    while (hostEnd < url.size() && url[hostEnd] != '/' && url[hostEnd] != '?' &&
           url[hostEnd] != '#')
        ++hostEnd;
    if (hostEnd == hostStart)
        return {};
    return url.left(hostEnd);
}

} // namespace

QByteArray StationUrlPrefix(const QByteArray& url)
{
    const QByteArray marker = site::DomainSuffixMarker;
    const int at = url.indexOf(marker);
    if (at >= 0)
        return url.left(at + marker.size());
    return urlOrigin(url);
}

StationRuleOutcome ApplyStationRule(const StationRuleInput& input)
{
    StationRuleOutcome out;
    if (input.stationNameSaved)
        return out;
    out.ran = true;
    out.currentStationName = input.title;
    if (!input.url.contains(site::StationIndexPage))
        return out;

    const QByteArray prefix = StationUrlPrefix(input.url);
    if (out.currentStationName.isEmpty() && input.readStoredStationName)
        out.currentStationName = input.readStoredStationName();

    out.setCaptions = true;
    out.windowCaption = "\xA1\xBE" + out.currentStationName + "\xA1\xBF " + prefix; // 【 】
    out.homeTabCaption = "[" + out.currentStationName + "] Zantu\xCD\xF8\xCA\xD7\xD2\xB3"; // 网首页

    if (!input.title.isEmpty()) {
        out.writeStationName = true;
        out.stationName = input.title;
        // A URL without an origin gives no home page worth keeping.
        out.writeHomePage = input.view == StationView::PageTab && !prefix.isEmpty();
        out.homePage = prefix;
        out.markSaved = true;
    }
    return out;
}

} // namespace browsing

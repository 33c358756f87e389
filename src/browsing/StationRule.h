#pragma once

#include <QByteArray>

#include <functional>

namespace browsing {

// Where a completed document was shown: a page tab writes the station's home
// page along with its name, the home tab writes the name only.
enum class StationView { PageTab, HomeTab };

struct StationRuleInput
{
    QByteArray url;   // the URL reported with the completed document
    QByteArray title; // the document's own title, whole
    StationView view = StationView::PageTab;
    bool stationNameSaved = false;
    // Reads StationName of [TaskConfig] in Config.ini ("0" when blank); called
    // only when the station index page has an empty title.
    std::function<QByteArray()> readStoredStationName;
};

// What the caller has to do, in this order: take currentStationName, set both
// captions, write StationName then (when writeHomePage) HomePage to Config.ini,
// then set StationNameSaved when markSaved. A write that throws leaves
// StationNameSaved false and skips what follows it.
struct StationRuleOutcome
{
    bool ran = false; // false once the name has been saved: nothing changes
    QByteArray currentStationName;
    bool setCaptions = false;
    QByteArray windowCaption;  // "【" name "】 " prefix
    QByteArray homeTabCaption; // "[" name "] Zantu网首页"
    bool writeStationName = false;
    QByteArray stationName;
    bool writeHomePage = false;
    QByteArray homePage;
    bool markSaved = false;
};

StationRuleOutcome ApplyStationRule(const StationRuleInput& input);

// The start of the station index page's URL that names the station's site:
// up to and including the domain-suffix marker; without the marker, the
// URL's origin (scheme "://" host and port as they stand), or empty when the
// URL has no host.
QByteArray StationUrlPrefix(const QByteArray& url);

} // namespace browsing

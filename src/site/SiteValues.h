#pragma once

#include <QByteArray>

// The lottery site's own values, kept together so that a change of host or of
// an account page touches one file.
namespace site {

inline constexpr char Domain[] = "zantu.com";
// Cuts the station's home page out of the station index page's URL.
inline constexpr char DomainSuffixMarker[] = ".com";
inline constexpr char MainHost[] = "www.zantu.com";

// Host-name prefixes that map the main host onto the purchase host in the
// search addresses; the comparison is case-sensitive, hence both forms.
inline constexpr char MainHostMarker[] = "www.zantu";
inline constexpr char MainHostMarkerUpper[] = "WWW.ZANTU";
inline constexpr char PurchaseHostMarker[] = "buy.zantu";

inline constexpr char StationIndexPage[] = "StationIndex.php";
inline constexpr char PlanDownloadPage[] = "printdownload.php";

inline constexpr int AccountPageCount = 20;
// A navigation to (or, in the home tab, a click on) an address holding one of
// these sends that web view's next new window to the pop-up window. Empty
// entries are skipped.
inline constexpr const char* AccountPages[AccountPageCount] = {
    "StationInfo.php",
    "ModifyPassword.php",
    "UserModifyBank.php",
    "UserModifyMobile.php",
    "UserModifyOther.php",
    "UserModifyInfo.php",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
};

// True when the address contains a non-empty AccountPages entry (case-sensitive).
// The before-navigation handlers set FOpenInPopup to this for every navigation.
bool IsAccountPageUrl(const QByteArray& url);

} // namespace site

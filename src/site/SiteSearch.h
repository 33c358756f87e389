#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// Addresses of the two search boxes above every web view. All values are GBK
// byte strings; the base of every address is the home page chosen at show time.
namespace site {

inline constexpr char PlanPagePath[] = "/Buy06/JoinLotteryProject.php?ProjectID=";
inline constexpr char UserPagePath[] = "/User/UserBuyInfo/UserBuyInfo.php";
// Line feed before carriage return, nothing after: 49 bytes as the site expects them.
inline constexpr char UserSearchHeaderText[] =
    "Content-Type: application/x-www-form-urlencoded\n\r";

// Letters, digits and ! $ ' ( ) * - . _ @ stay; a blank becomes "+"; every
// other byte, each byte of a two-byte character on its own, becomes %XX.
QByteArray FormUrlEncode(const QByteArray& text);

// The home page with the main-host marker (lower, then upper case) replaced by
// the purchase-host marker; nothing trimmed or added.
QByteArray SearchBase(const QByteArray& homePageUrl);

// The plan-number box's value as it reaches the URL: rounded, halves to even.
qint64 PlanNumber(double boxValue);
QByteArray PlanSearchUrl(const QByteArray& homePageUrl, qint64 planNumber);

struct UserSearchRequest
{
    QByteArray url;
    QByteArray body;       // posted as it stands, no terminating zero
    QByteArray headerText; // UserSearchHeaderText
};
// `userName` as typed, not trimmed.
UserSearchRequest UserSearch(const QByteArray& homePageUrl, const QByteArray& userName);

} // namespace site

#include "site/SiteSearch.h"

#include "localfiles/unt_Public.h"
#include "site/SiteValues.h"

#include <cmath>

namespace site {
namespace {

bool copiedUnchanged(unsigned char b)
{
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9'))
        return true;
    switch (b) {
    case '!':
    case '$':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '-':
    case '.':
    case '_':
    case '@':
        return true;
    default:
        return false;
    }
}

} // namespace

QByteArray FormUrlEncode(const QByteArray& text)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(text.size() * 3);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (copiedUnchanged(b)) {
            out += c;
        } else if (b == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        }
    }
    return out;
}

QByteArray SearchBase(const QByteArray& homePageUrl)
{
    const QByteArray base = localfiles::ReplaceAll(homePageUrl, MainHostMarker, PurchaseHostMarker);
    return localfiles::ReplaceAll(base, MainHostMarkerUpper, PurchaseHostMarker);
}

qint64 PlanNumber(double boxValue)
{
    // The default floating-point rounding mode rounds halves to the even neighbour.
    return static_cast<qint64>(std::nearbyint(boxValue));
}

QByteArray PlanSearchUrl(const QByteArray& homePageUrl, qint64 planNumber)
{
    return SearchBase(homePageUrl) + PlanPagePath + QByteArray::number(planNumber);
}

UserSearchRequest UserSearch(const QByteArray& homePageUrl, const QByteArray& userName)
{
    UserSearchRequest request;
    request.url = SearchBase(homePageUrl) + UserPagePath;
    request.body = "UserName=" + FormUrlEncode(userName) + "&Submit=";
    request.headerText = UserSearchHeaderText;
    return request;
}

} // namespace site

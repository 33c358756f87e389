#pragma once

#include <QByteArray>

// What a left press on an element of a page means to the station: the
// innermost element under the press is all that counts, so an image inside a
// link is not the link.
namespace site {

enum class LinkKind { None, PlanDownload, AccountPage };

struct PressedElement
{
    QByteArray tag; // as the document gives it
    // The link's address as the page resolved it (absolute, against the
    // document's base), in GBK; empty without an HREF attribute.
    QByteArray href;
};

// The link address the checks look at and DownloadPlan gets: the resolved
// address without the bytes of 32 or below around it.
QByteArray LinkAddress(const PressedElement& element);

LinkKind ClassifyPress(const PressedElement& element);

} // namespace site

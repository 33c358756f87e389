#pragma once

#include <QByteArray>

// What a left press on an element of a page means to the station: the
// innermost element under the press is all that counts, so an image inside a
// link is not the link.
namespace site {

enum class LinkKind { None, PlanDownload, AccountPage };

struct PressedElement
{
    QByteArray tag;  // as the document gives it
    QByteArray href; // the HREF attribute in GBK, untrimmed; empty when absent
};

// The link address the checks look at: HREF without the bytes of 32 or below
// around it.
QByteArray LinkAddress(const PressedElement& element);

LinkKind ClassifyPress(const PressedElement& element);

} // namespace site

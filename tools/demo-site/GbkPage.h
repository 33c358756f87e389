#pragma once

#include <string>

namespace demosite {

// An HTML page in GBK. Markup and texts of the site are given in UTF-8 and
// converted; what a request carried is added as it came, HTML-escaped, so
// GBK bytes a client sent show as the characters they stand for.
class GbkPage
{
public:
    // An empty title leaves the page without a <title> element.
    explicit GbkPage(const std::string& titleUtf8);

    GbkPage& html(const std::string& utf8);
    GbkPage& escaped(const std::string& bytes);

    std::string bytes() const;

private:
    std::string FHead;
    std::string FBody;
};

// The bytes of `text` with & < > " ' replaced by entities. Byte-wise is safe
// on GBK: those characters are all below 0x40 and never the second byte of
// a two-byte character.
std::string escapeHtml(const std::string& text);

} // namespace demosite

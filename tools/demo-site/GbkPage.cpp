#include "GbkPage.h"

#include "GbkText.h"

namespace demosite {

namespace {

const char* const Style = R"(<style>
body { font-family: "WenQuanYi Zen Hei", "SimSun", sans-serif; font-size: 14px; margin: 12px; background: #f4f8ff; color: #102050; }
h1 { font-size: 20px; color: #000080; border-bottom: 2px solid #c2d8fe; padding-bottom: 4px; }
h2 { font-size: 15px; color: #000080; margin: 14px 0 4px; }
ul { margin: 4px 0; }
li { margin: 3px 0; }
a { color: #0645ad; }
table.echo td { border: 1px solid #c2d8fe; padding: 2px 8px; vertical-align: top; font-family: monospace; }
.columns { column-count: 3; column-gap: 28px; }
.columns h2 { break-after: avoid; }
.columns ul, .columns p { break-inside: avoid; }
.nav { background: #c2d8fe; padding: 4px 8px; margin: -12px -12px 10px; }
</style>
)";

} // namespace

GbkPage::GbkPage(const std::string& titleUtf8)
{
    FHead = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"gbk\">\n";
    if (!titleUtf8.empty())
        FHead += "<title>" + toGbk(escapeHtml(titleUtf8)) + "</title>\n";
    FHead += Style;
    FHead += "</head>\n<body>\n";
}

GbkPage& GbkPage::html(const std::string& utf8)
{
    FBody += toGbk(utf8);
    return *this;
}

GbkPage& GbkPage::escaped(const std::string& bytes)
{
    FBody += escapeHtml(bytes);
    return *this;
}

std::string GbkPage::bytes() const
{
    return FHead + FBody + "\n</body>\n</html>\n";
}

std::string escapeHtml(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace demosite

#pragma once

#include <QByteArray>

#include <optional>

namespace localfiles {
class MemIniFile;
}

namespace webview {

// One section of Print.ini: how the pages it matches are printed.
struct PrintProfile
{
    QByteArray section;
    QByteArray printer; // empty: the system's default printer
    bool silent = false;
    std::optional<double> paperWidthMm; // both or neither: the printer's default paper
    std::optional<double> paperHeightMm;
    std::optional<double> marginsMm; // none: the printer's default margins
    int copies = 1;
};

struct PrintProfileChoice
{
    enum class Kind { None, Usable, Unusable };
    Kind kind = Kind::None;
    PrintProfile profile; // for Unusable, the section's name only
    QByteArray badKey;    // for Unusable: the key that could not be read, and its value
    QByteArray badValue;
};

// "Print.ini" in the program folder.
QByteArray PrintProfileFile();

// The first section in file order whose UrlContains occurs in `pageUrl`
// (case-sensitive; an empty or missing UrlContains matches every page).
PrintProfileChoice ChoosePrintProfile(const localfiles::MemIniFile& ini, const QByteArray& pageUrl);

} // namespace webview

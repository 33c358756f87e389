#include "webview/PrintProfile.h"

#include "localfiles/Gbk.h"
#include "localfiles/MemIniFile.h"
#include "localfiles/unt_Public.h"

#include <QRegularExpression>

namespace webview {
namespace {

constexpr double MinPaperMm = 10;
constexpr double MaxPaperMm = 5000;
constexpr double MaxMarginsMm = 100;
constexpr int MaxCopies = 9;

// Plain decimal numbers only: "80", "57.5"; no sign, exponent, unit or comma.
std::optional<double> readMillimetres(const QByteArray& value)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,6}(\\.[0-9]{1,3})?$"));
    if (!number.match(QString::fromLatin1(value)).hasMatch())
        return std::nullopt;
    return value.toDouble();
}

class SectionReader
{
public:
    SectionReader(const localfiles::MemIniFile& ini, int index, PrintProfileChoice& choice)
        : FIni(ini), FIndex(index), FChoice(choice)
    {}

    QByteArray Value(const QByteArray& key) const
    {
        return FIni.ReadSectionString(FIndex, key, {});
    }

    // False once the value is there but cannot be read; the first such key is kept.
    bool Reject(const QByteArray& key)
    {
        if (FChoice.kind != PrintProfileChoice::Kind::Unusable) {
            FChoice.kind = PrintProfileChoice::Kind::Unusable;
            FChoice.badKey = key;
            FChoice.badValue = Value(key);
        }
        return false;
    }

    bool Millimetres(const QByteArray& key, double min, double max, std::optional<double>& out)
    {
        const QByteArray value = Value(key);
        if (value.isEmpty())
            return true;
        const std::optional<double> mm = readMillimetres(value);
        if (!mm || *mm < min || *mm > max)
            return Reject(key);
        out = mm;
        return true;
    }

private:
    const localfiles::MemIniFile& FIni;
    int FIndex;
    PrintProfileChoice& FChoice;
};

void readProfile(SectionReader& reader, PrintProfile& p)
{
    p.printer = reader.Value("Printer");

    const QByteArray silent = reader.Value("Silent");
    if (silent == "1")
        p.silent = true;
    else if (!silent.isEmpty() && silent != "0")
        return void(reader.Reject("Silent"));

    if (!reader.Millimetres("PaperWidthMm", MinPaperMm, MaxPaperMm, p.paperWidthMm) ||
        !reader.Millimetres("PaperHeightMm", MinPaperMm, MaxPaperMm, p.paperHeightMm))
        return;
    // A paper needs both sides: the one that is missing is the key at fault.
    if (p.paperWidthMm && !p.paperHeightMm)
        return void(reader.Reject("PaperHeightMm"));
    if (p.paperHeightMm && !p.paperWidthMm)
        return void(reader.Reject("PaperWidthMm"));

    if (!reader.Millimetres("MarginsMm", 0, MaxMarginsMm, p.marginsMm))
        return;
    // The margins must leave some of the paper to print on.
    if (p.marginsMm && p.paperWidthMm &&
        (2 * *p.marginsMm >= *p.paperWidthMm || 2 * *p.marginsMm >= *p.paperHeightMm))
        return void(reader.Reject("MarginsMm"));

    const QByteArray copies = reader.Value("Copies");
    if (!copies.isEmpty()) {
        if (copies.size() != 1 || copies[0] < '1' || copies[0] > '0' + MaxCopies)
            return void(reader.Reject("Copies"));
        p.copies = copies[0] - '0';
    }
}

} // namespace

QByteArray PrintProfileFile()
{
    return localfiles::AppPath() + "Print.ini";
}

PrintProfileChoice ChoosePrintProfile(const localfiles::MemIniFile& ini, const QByteArray& pageUrl)
{
    PrintProfileChoice choice;
    for (int i = 0; i < ini.SectionCount(); ++i) {
        const QByteArray needle = ini.ReadSectionString(i, "UrlContains", {});
        if (!needle.isEmpty() && gbk::indexOfOnBoundary(pageUrl, needle) < 0)
            continue;
        choice.kind = PrintProfileChoice::Kind::Usable;
        choice.profile.section = ini.SectionName(i);
        SectionReader reader(ini, i, choice);
        readProfile(reader, choice.profile);
        if (choice.kind == PrintProfileChoice::Kind::Unusable) {
            choice.profile = PrintProfile();
            choice.profile.section = ini.SectionName(i);
        }
        return choice;
    }
    return choice;
}

} // namespace webview

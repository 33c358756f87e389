#include "webview/PagePrinter.h"

#include "localfiles/Gbk.h"
#include "localfiles/MemIniFile.h"
#include "localfiles/unt_Public.h"
#include "ui/MessageBoxes.h"
#include "webview/PdfPrinting.h"
#include "webview/PrintProfile.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace webview {
namespace {

bool askPrinter(QPrinter& printer, QWidget* window)
{
    QPrintDialog dialog(&printer, window);
    return dialog.exec() == QDialog::Accepted;
}

constexpr int PdfTimeoutMs = 60000;

PagePrinter::PrintDialog& printDialog()
{
    static PagePrinter::PrintDialog dialog = askPrinter;
    return dialog;
}

QByteArray text(const char16_t* unicode)
{
    return gbk::fromUnicode(QString::fromUtf16(unicode));
}

// What the operator chose: a printer, or a PDF file when printing to one.
QByteArray printerLabel(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return gbk::fromUnicode(printer.outputFileName());
    const QString name = printer.printerName();
    return name.isEmpty() ? QByteArray("-") : gbk::fromUnicode(name);
}

QString findPrinter(const QByteArray& wanted)
{
    if (wanted.isEmpty())
        return QPrinterInfo::defaultPrinterName();
    // Printer names are not case-sensitive on Windows or in CUPS.
    const QString name = gbk::toUnicode(wanted);
    for (const QString& listed : QPrinterInfo::availablePrinterNames()) {
        if (listed.compare(name, Qt::CaseInsensitive) == 0)
            return listed;
    }
    return {};
}

} // namespace

const QByteArray PagePrinter::Printed = "printed";
const QByteArray PagePrinter::Failed = "failed";
const QByteArray PagePrinter::PrinterMissing = "printer missing";
const QByteArray PagePrinter::Cancelled = "cancelled";
const QByteArray PagePrinter::ProfileUnusable = "profile unusable";

void PagePrinter::SetPrintDialog(PrintDialog dialog)
{
    printDialog() = dialog ? std::move(dialog) : askPrinter;
}

PagePrinter::PagePrinter(QWebEngineView* view, QWidget* owner)
    : QObject(owner), FView(view), FOwner(owner)
{}

PagePrinter::~PagePrinter() = default;

void PagePrinter::Request()
{
    ++FWaiting;
    StartNext();
}

void PagePrinter::StartNext()
{
    if (FActive || FWaiting == 0)
        return;
    --FWaiting;
    FActive = true;
    FJob = Job{};
    FJob.url = gbk::fromUnicode(FView->url().toString());

    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(FView->title());
    const PrintProfileChoice choice =
        ChoosePrintProfile(localfiles::MemIniFile(PrintProfileFile()), FJob.url);
    if (choice.kind == PrintProfileChoice::Kind::Unusable) {
        FJob.section = choice.profile.section;
        Log("-", 1, ProfileUnusable + ": " + choice.badKey + "=" + choice.badValue);
        FJob.section = "-"; // the dialog that follows is today's, without the profile
    } else if (choice.kind == PrintProfileChoice::Kind::Usable) {
        FJob.section = choice.profile.section;
        const bool found = ApplyProfile(choice.profile, *printer);
        if (found && choice.profile.silent)
            return StartEngine(std::move(printer));
        if (!found) {
            QPointer<PagePrinter> self(this);
            ReportMissingPrinter(choice.profile);
            if (!self)
                return;
        }
    }
    AskThenPrint(std::move(printer));
}

bool PagePrinter::ApplyProfile(const PrintProfile& profile, QPrinter& printer)
{
    const QString name = findPrinter(profile.printer);
    if (!name.isEmpty())
        printer.setPrinterName(name);
    // The profile's paper also for the dialog that follows a missing printer.
    if (profile.paperWidthMm && profile.paperHeightMm) {
        printer.setPageSize(QPageSize(QSizeF(*profile.paperWidthMm, *profile.paperHeightMm),
                                      QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        printer.setPageOrientation(QPageLayout::Portrait); // the sides as the profile gives them
    }
    if (profile.marginsMm) {
        // The engine lays the page out in the margins' rectangle; a printer that
        // cannot print that close to the edge gets its own least margin there.
        QPageLayout layout = printer.pageLayout();
        layout.setUnits(QPageLayout::Millimeter);
        const QMarginsF least = layout.minimumMargins();
        const double m = *profile.marginsMm;
        if (!printer.setPageMargins(QMarginsF(std::max(m, least.left()), std::max(m, least.top()),
                                              std::max(m, least.right()),
                                              std::max(m, least.bottom())),
                                    QPageLayout::Millimeter))
            printer.setPageMargins(printer.pageLayout().minimumMargins(),
                                   printer.pageLayout().units());
    }
    printer.setCopyCount(profile.copies);
    return !name.isEmpty();
}

void PagePrinter::ReportMissingPrinter(const PrintProfile& profile)
{
    const QByteArray shown = profile.printer.isEmpty() ? text(u"默认打印机") : profile.printer;
    Log(shown, profile.copies, PrinterMissing);
    ui::ShowMessageBox(text(u"找不到打印机“") + shown + text(u"”，请检查打印机设置。"),
                       text(u"打印提示"), ui::Mb::IconWarning, FOwner);
}

void PagePrinter::AskThenPrint(std::unique_ptr<QPrinter> printer)
{
    QPointer<PagePrinter> self(this);
    const bool accepted = printDialog()(*printer, FOwner->window());
    if (!self)
        return; // the view went while the dialog was open
    if (!accepted) {
        Log(printerLabel(*printer), printer->copyCount(), Cancelled);
        return Done();
    }
    StartEngine(std::move(printer));
}

void PagePrinter::StartEngine(std::unique_ptr<QPrinter> printer)
{
    // The engine lays the page out on the printer's paper and margins as a PDF;
    // its own print to a QPrinter misplaces pages that have margins.
    FPrinter = std::move(printer);
    const int job = ++FJobNumber;
    QPointer<PagePrinter> self(this);
    FView->page()->printToPdf(
        [self, job](const QByteArray& pdf) {
            if (self && self->FPrinter && job == self->FJobNumber)
                self->OnEngineFinished(!pdf.isEmpty() && PrintPdf(pdf, *self->FPrinter));
        },
        FPrinter->pageLayout(), FPrinter->pageRanges());
    // A page whose renderer ended never answers: the view must not stop printing.
    QTimer::singleShot(PdfTimeoutMs, this, [this, job] {
        if (FPrinter && job == FJobNumber)
            OnEngineFinished(false);
    });
}

void PagePrinter::OnEngineFinished(bool ok)
{
    const std::unique_ptr<QPrinter> printer = std::move(FPrinter);
    ++FJobNumber; // a late answer of the engine finds nothing to do
    const QByteArray label = printerLabel(*printer);
    Log(label, printer->copyCount(), ok ? Printed : Failed);
    if (!ok) {
        QPointer<PagePrinter> self(this);
        ui::ShowMessageBox(text(u"打印失败：页面“") + FJob.url + text(u"”未能送到打印机“") + label +
                               text(u"”。"),
                           text(u"打印提示"), ui::Mb::Ok | ui::Mb::IconError, FOwner);
        if (!self)
            return;
    }
    emit Finished(ok);
    Done();
}

void PagePrinter::Done()
{
    FActive = false;
    // Back in the event loop first: the engine may still be inside its report.
    QTimer::singleShot(0, this, &PagePrinter::StartNext);
}

void PagePrinter::Log(const QByteArray& printer, int copies, const QByteArray& result) const
{
    QByteArray path;
    localfiles::WriteDayLog(FJob.section + "  " + printer + "  " + FJob.url + "  " +
                                QByteArray::number(copies) + "  " + result,
                            "Print", 0, path);
}

} // namespace webview

#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>
#include <memory>

class QPrinter;
class QWebEngineView;
class QWidget;

namespace webview {

struct PrintProfile;

// Prints one view's page for window.print() and Ctrl+P, after the profile of
// Print.ini that matches the page (read afresh for every print): silently on
// the profile's printer and paper, or through the print dialog. Requests that
// come while one is printing wait their turn; every print leaves a line in the
// day log "Print".
class PagePrinter : public QObject
{
    Q_OBJECT
public:
    // Sets up the printer, owned by the view's window; false prints nothing.
    // By default the print dialog, which also prints to a PDF file. Tests put
    // their own in.
    using PrintDialog = std::function<bool(QPrinter& printer, QWidget* window)>;
    static void SetPrintDialog(PrintDialog dialog);

    // Messages go to `owner`'s window.
    PagePrinter(QWebEngineView* view, QWidget* owner);
    ~PagePrinter() override;

    void Request();

    // The log's words for how a print ended.
    static const QByteArray Printed, Failed, PrinterMissing, Cancelled, ProfileUnusable;

signals:
    // The engine has finished a print; false when it never reached the printer.
    void Finished(bool ok);

private:
    struct Job
    {
        QByteArray section = "-";
        QByteArray url;
    };
    void StartNext();
    // False when the profile's printer is not one the system lists.
    bool ApplyProfile(const PrintProfile& profile, QPrinter& printer);
    void ReportMissingPrinter(const PrintProfile& profile);
    void AskThenPrint(std::unique_ptr<QPrinter> printer);
    void StartEngine(std::unique_ptr<QPrinter> printer);
    void OnEngineFinished(bool ok);
    void Done();
    void Log(const QByteArray& printer, int copies, const QByteArray& result) const;

    QWebEngineView* FView;
    QWidget* FOwner;
    int FWaiting = 0;
    bool FActive = false; // a dialog, a message or the engine is at work for this view
    Job FJob;
    std::unique_ptr<QPrinter> FPrinter; // the job's, while the engine makes its PDF
    int FJobNumber = 0;
};

} // namespace webview

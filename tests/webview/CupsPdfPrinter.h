#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A printer of the test's own on the local CUPS scheduler, on the cups-pdf
// backend: every job becomes a PDF in cups-pdf's output folder. The scheduler
// is started when it does not run (as root, as on CI); the printer is removed
// with the object.
class CupsPdfPrinter
{
public:
    CupsPdfPrinter();
    ~CupsPdfPrinter();
    CupsPdfPrinter(const CupsPdfPrinter&) = delete;
    CupsPdfPrinter& operator=(const CupsPdfPrinter&) = delete;

    // Empty when the printer is ready; otherwise why CUPS cannot run here.
    const QString& unavailable() const { return FUnavailable; }
    // Set when CUPS should run here but failed: a fault, not a reason to skip.
    const QString& failure() const { return FFailure; }

    const QString& name() const { return FName; }
    // Job ids of the printer in CUPS, done or not, oldest first.
    QList<int> jobs() const;
    // The PDFs of this printer's jobs that cups-pdf has finished, oldest first.
    QStringList finishedPdfs(const QString& title) const;

    struct PageSize
    {
        double widthMm = 0;
        double heightMm = 0;
        int pages = 0;
    };
    static PageSize pdfPageSize(const QString& pdf);
    // The first page in grey at `dpi`; counts pixels darker than mid-grey and
    // gives the box around them in pixels.
    struct Ink
    {
        int width = 0, height = 0; // the page
        int dark = 0;
        int left = -1, top = -1, right = -1, bottom = -1;
    };
    static Ink pdfInk(const QString& pdf, int dpi);

private:
    QString FName;
    QString FOutFolder;
    QString FUnavailable;
    QString FFailure;
    bool FAdded = false;
};

// Runs a program and gives its output, empty when it could not run or failed.
QByteArray RunTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr,
                   int timeoutMs = 20000);

#include "webview/PagePrinter.h"
#include "webview/WebPage.h"
#include "webview/WebView.h"

#include "localfiles/Gbk.h"
#include "support/LocalHttpServer.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempProgramFolder.h"
#include "support/Wait.h"
#include "support/WebTestProfile.h"
#include "webview/CupsPdfPrinter.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QRandomGenerator>
#include <QWebEngineProfile>

#include <gtest/gtest.h>

namespace {

QByteArray gbkText(const char16_t* text)
{
    return gbk::fromUnicode(QString::fromUtf16(text));
}

// What the print dialog's seam was handed.
struct DialogCall
{
    QString printer;
    QSizeF paperMm;
    int copies = 0;
    QWidget* window = nullptr;
};

// A view on a page with a black block of a known size in millimetres, in a
// program folder of its own; the dialog's seam records and cancels.
class PrintingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.page("/ticket.html", ticketPage("40mm", "30mm"));
        // Each print makes the block 20 mm taller, so every sheet shows which print it was.
        server.page("/counted.html",
                    "<html><head><title>" + title.toStdString() + "</title>" + Style +
                        "<script>var n = 0; window.onbeforeprint = function () { n++;"
                        " document.getElementById('b').style.height = (20 * n) + 'mm'; };"
                        "</script></head><body><div id=\"b\"></div></body></html>");
        server.page("/other.html", ticketPage("10mm", "10mm"));
        server.start();
        webview::WebView::SetPrintDialog([this](QPrinter& printer, QWidget* window) {
            events.append("dialog");
            dialogs.append({printer.printerName(),
                            printer.pageLayout().pageSize().size(QPageSize::Millimeter),
                            printer.copyCount(), window});
            return false;
        });
        ui::SetMessageBoxHandler([this](const QByteArray& text, const QByteArray& caption,
                                        unsigned flags, QWidget* parent) {
            events.append("box");
            boxes.append({text, caption, flags, parent});
            return 1;
        });
        view = std::make_unique<webview::WebView>(profile.get(), nullptr);
        view->resize(800, 600);
        view->show();
    }

    void TearDown() override
    {
        view.reset();
        webview::WebView::SetPrintDialog({});
        ui::SetMessageBoxHandler({});
    }

    static std::string ticketPage(const std::string& width, const std::string& height)
    {
        return "<html><head><title>" + title.toStdString() + "</title>" + Style +
               "</head><body><div id=\"b\" style=\"width:" + width + ";height:" + height +
               "\"></div></body></html>";
    }

    bool load(const std::string& path)
    {
        bool done = false;
        QObject::connect(view.get(), &webview::WebBrowser::DocumentComplete, view.get(),
                         [&, url = server.urlBytes(path)](const QByteArray& completed) {
                             done = done || completed == url;
                         });
        view->Navigate(server.urlBytes(path));
        return WaitFor([&] { return done; });
    }

    void windowPrint(const QString& script = QStringLiteral("window.print()"))
    {
        view->page()->runJavaScript(script);
    }

    QList<QByteArray> logLines() const
    {
        const QByteArray log = program.read(TempProgramFolder::DayLogName(QStringLiteral("Print")));
        QList<QByteArray> lines;
        for (const QByteArray& line : log.split('\n')) {
            // "YYYY-MM-DD HH:NN:SS  " before the text, CR LF after it.
            if (line.size() > 21 && line.endsWith('\r'))
                lines.append(line.mid(21, line.size() - 22));
        }
        return lines;
    }

    void writePrintIni(const QByteArray& content) const
    {
        program.write(QStringLiteral("Print.ini"), content);
    }

    static inline const std::string Style =
        "<style>body{margin:0} #b{background:#000;-webkit-print-color-adjust:exact;"
        "print-color-adjust:exact}</style>";
    // cups-pdf names each PDF after the job's title, the page's.
    static inline const QString title =
        QStringLiteral("ZantuTicket%1").arg(QRandomGenerator::global()->generate() % 1000000);

    TempProgramFolder program;
    LocalHttpServer server;
    std::unique_ptr<QWebEngineProfile> profile = MakeTestProfile();
    std::unique_ptr<webview::WebView> view;
    QList<QByteArray> events;
    QList<DialogCall> dialogs;
    QList<MessageBoxRecorder::Box> boxes;
};

constexpr int PrintWaitMs = 90000;

// The same, with a cups-pdf printer of the test's own.
class CupsPrintingTest : public PrintingTest
{
protected:
    void SetUp() override
    {
        if (!printer.failure().isEmpty())
            FAIL() << printer.failure().toStdString();
        if (!printer.unavailable().isEmpty())
            GTEST_SKIP() << "CUPS cannot run here: " << printer.unavailable().toStdString();
        PrintingTest::SetUp();
    }
    void TearDown() override
    {
        PrintingTest::TearDown();
        for (const QString& pdf : printer.finishedPdfs(title))
            QFile::remove(pdf);
    }

    QByteArray printerName() const { return printer.name().toLatin1(); }

    CupsPdfPrinter printer;
};

TEST_F(CupsPrintingTest, ASilentProfilePrintsTheTicketOnItsPrinterAndPaperWithoutADialog)
{
    writePrintIni("; the ticket printer\r\n[Ticket80]\r\nUrlContains=/ticket.html\r\nPrinter=" +
                  printerName() +
                  "\r\nSilent=1\r\nPaperWidthMm=80\r\nPaperHeightMm=200\r\nMarginsMm=5\r\n");
    ASSERT_TRUE(load("/ticket.html"));
    windowPrint();
    ASSERT_TRUE(WaitFor([&] { return printer.finishedPdfs(title).size() == 1; }, PrintWaitMs));
    const QString pdf = printer.finishedPdfs(title).value(0);

    const CupsPdfPrinter::PageSize size = CupsPdfPrinter::pdfPageSize(pdf);
    EXPECT_EQ(size.pages, 1);
    EXPECT_NEAR(size.widthMm, 80, 1);
    EXPECT_NEAR(size.heightMm, 200, 1);
    // At 30 dpi the 40 x 30 mm block is 47 x 35 pixels, 5 mm (6 pixels) in from the corner.
    const CupsPdfPrinter::Ink ink = CupsPdfPrinter::pdfInk(pdf, 30);
    EXPECT_NEAR(ink.right - ink.left + 1, 47, 2);
    EXPECT_NEAR(ink.bottom - ink.top + 1, 35, 2);
    EXPECT_NEAR(ink.left, 6, 2);
    EXPECT_NEAR(ink.top, 6, 2);
    EXPECT_NEAR(ink.dark, 47 * 35, 47 * 35 / 10);

    EXPECT_TRUE(dialogs.isEmpty());
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(logLines(), QList<QByteArray>{"Ticket80  " + printerName() + "  " +
                                            server.urlBytes("/ticket.html") + "  1  printed"});
}

// The second request comes while the first prints; it waits, then prints.
TEST_F(CupsPrintingTest, TwoQuickPrintsFromOneViewGiveTwoSheetsInOrder)
{
    writePrintIni("[Ticket80]\r\nPrinter=" + printerName() +
                  "\r\nSilent=1\r\nPaperWidthMm=80\r\nPaperHeightMm=200\r\nMarginsMm=0\r\n");
    ASSERT_TRUE(load("/counted.html"));
    windowPrint(QStringLiteral("window.print(); window.print();"));
    ASSERT_TRUE(WaitFor([&] { return printer.finishedPdfs(title).size() == 2; }, PrintWaitMs))
        << printer.finishedPdfs(title).size();
    const QStringList pdfs = printer.finishedPdfs(title); // in the order of their jobs
    // The engine readies the page for each print it makes (and the page for
    // each window.print() too): the later sheet has the block 20 mm, at 30 dpi
    // 24 pixels, taller than the earlier one.
    const CupsPdfPrinter::Ink first = CupsPdfPrinter::pdfInk(pdfs[0], 30);
    const CupsPdfPrinter::Ink second = CupsPdfPrinter::pdfInk(pdfs[1], 30);
    EXPECT_GT(first.dark, 0);
    EXPECT_NEAR((second.bottom - second.top) - (first.bottom - first.top), 24, 2);
    EXPECT_TRUE(dialogs.isEmpty());
    const QByteArray line =
        "Ticket80  " + printerName() + "  " + server.urlBytes("/counted.html") + "  1  printed";
    EXPECT_EQ(logLines(), (QList<QByteArray>{line, line}));
}

// Silent=0: the dialog opens with the profile's printer and paper chosen.
TEST_F(CupsPrintingTest, AProfileThatIsNotSilentChoosesItsPrinterAndPaperInTheDialog)
{
    writePrintIni("[Ticket80]\r\nUrlContains=/ticket.html\r\nPrinter=" + printerName() +
                  "\r\nSilent=0\r\nPaperWidthMm=80\r\nPaperHeightMm=200\r\nCopies=2\r\n");
    ASSERT_TRUE(load("/ticket.html"));
    view->Print(); // Ctrl+P
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_EQ(dialogs[0].printer, printer.name());
    EXPECT_NEAR(dialogs[0].paperMm.width(), 80, 0.1);
    EXPECT_NEAR(dialogs[0].paperMm.height(), 200, 0.1);
    EXPECT_EQ(dialogs[0].copies, 2);
    EXPECT_EQ(dialogs[0].window, view->window());
    EXPECT_TRUE(boxes.isEmpty());
    EXPECT_EQ(logLines(), QList<QByteArray>{"Ticket80  " + printerName() + "  " +
                                            server.urlBytes("/ticket.html") + "  2  cancelled"});
}

TEST_F(PrintingTest, APrinterTheSystemDoesNotListIsNamedThenTheDialogOpens)
{
    writePrintIni("[\xD0\xA1\xC6\xB1]\r\nUrlContains=/ticket.html\r\nPrinter=zantu-no-such-printer"
                  "\r\nSilent=1\r\nPaperWidthMm=80\r\nPaperHeightMm=200\r\n");
    ASSERT_TRUE(load("/ticket.html"));
    windowPrint();
    ASSERT_TRUE(WaitFor([&] { return !dialogs.isEmpty(); }));
    EXPECT_EQ(events, (QList<QByteArray>{"box", "dialog"}));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].caption, gbkText(u"打印提示"));
    EXPECT_EQ(boxes[0].text, gbkText(u"找不到打印机“zantu-no-such-printer”，请检查打印机设置。"));
    EXPECT_EQ(boxes[0].flags, 48u);
    EXPECT_EQ(boxes[0].parent, view.get());
    // The dialog keeps the profile's paper, so the ticket can go to another printer.
    EXPECT_NEAR(dialogs[0].paperMm.width(), 80, 0.1);
    EXPECT_NEAR(dialogs[0].paperMm.height(), 200, 0.1);
    const QByteArray url = server.urlBytes("/ticket.html");
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "\xD0\xA1\xC6\xB1  zantu-no-such-printer  " + url + "  1  printer missing");
    EXPECT_TRUE(lines[1].startsWith("\xD0\xA1\xC6\xB1  ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("  " + url + "  1  cancelled")) << lines[1].toStdString();
}

TEST_F(PrintingTest, WithoutAProfileForThePageTheDialogOpensAsEver)
{
    ASSERT_TRUE(load("/ticket.html"));
    windowPrint(); // no Print.ini
    ASSERT_TRUE(WaitFor([&] { return dialogs.size() == 1; }));
    writePrintIni("[Plans]\r\nUrlContains=/plans.php\r\nSilent=1\r\n");
    view->Print(); // a Print.ini that has nothing for this page, read afresh
    ASSERT_TRUE(WaitFor([&] { return dialogs.size() == 2; }));
    EXPECT_EQ(dialogs[0].window, view->window());
    EXPECT_TRUE(boxes.isEmpty());
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(line.startsWith("-  ")) << line.toStdString();
        EXPECT_TRUE(line.endsWith("  " + server.urlBytes("/ticket.html") + "  1  cancelled"))
            << line.toStdString();
    }
}

TEST_F(PrintingTest, AnUnreadableValueFallsBackToTheDialogAndTheLogNamesIt)
{
    writePrintIni("[Ticket80]\r\nUrlContains=/ticket.html\r\nPrinter=zantu-no-such-printer\r\n"
                  "Silent=1\r\nCopies=12\r\n[Any]\r\nSilent=1\r\n");
    ASSERT_TRUE(load("/ticket.html"));
    windowPrint();
    ASSERT_TRUE(WaitFor([&] { return dialogs.size() == 1; }));
    EXPECT_TRUE(boxes.isEmpty()); // nothing of the profile is used, its printer neither
    EXPECT_EQ(dialogs[0].copies, 1);
    const QByteArray url = server.urlBytes("/ticket.html");
    const QList<QByteArray> lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Ticket80  -  " + url + "  1  profile unusable: Copies=12");
    EXPECT_TRUE(lines[1].startsWith("-  ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("  " + url + "  1  cancelled")) << lines[1].toStdString();
}

// The profile's paper and margins reach the sheet at their size, also when
// the operator prints from the dialog, here to a PDF file.
TEST_F(PrintingTest, TheProfilesPaperAndMarginsReachTheSheetAtTheirSize)
{
    writePrintIni("[Ticket80]\r\nPaperWidthMm=80\r\nPaperHeightMm=200\r\nMarginsMm=10\r\n");
    const QString pdf = program.filePath(QStringLiteral("ticket.pdf"));
    webview::WebView::SetPrintDialog([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    bool printed = false;
    QObject::connect(view.get(), &webview::WebView::PrintFinished, view.get(),
                     [&](bool ok) { printed = ok; });
    ASSERT_TRUE(load("/ticket.html"));
    view->Print();
    ASSERT_TRUE(WaitFor([&] { return printed; }, PrintWaitMs));
    const CupsPdfPrinter::PageSize size = CupsPdfPrinter::pdfPageSize(pdf);
    EXPECT_NEAR(size.widthMm, 80, 0.5);
    EXPECT_NEAR(size.heightMm, 200, 0.5);
    // At 127 dpi, 5 pixels a millimetre: the 40 x 30 mm block 10 mm in from the corner.
    const CupsPdfPrinter::Ink ink = CupsPdfPrinter::pdfInk(pdf, 127);
    EXPECT_NEAR(ink.left, 50, 2);
    EXPECT_NEAR(ink.top, 50, 2);
    EXPECT_NEAR(ink.right - ink.left + 1, 200, 2);
    EXPECT_NEAR(ink.bottom - ink.top + 1, 150, 2);
}

// A request made while the dialog of the last one is open waits for it.
TEST_F(PrintingTest, ARequestWhileTheDialogIsOpenComesAfterIt)
{
    int depth = 0, deepest = 0, calls = 0;
    webview::WebView::SetPrintDialog([&](QPrinter&, QWidget*) {
        ++depth;
        deepest = std::max(deepest, depth);
        if (++calls == 1)
            view->Print(); // as a page's script may while the dialog is open
        --depth;
        return false;
    });
    ASSERT_TRUE(load("/ticket.html"));
    view->Print();
    EXPECT_EQ(calls, 1);
    ASSERT_TRUE(WaitFor([&] { return calls == 2; }));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(logLines().size(), 2);
}

} // namespace

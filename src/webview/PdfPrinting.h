#pragma once

#include <QByteArray>

class QPrinter;

namespace webview {

// Draws every page of `pdf` on `printer`, each page over the whole sheet: the
// engine has laid the page out on the printer's paper with its margins
// already. The printer's own copies, or as many passes where it has none.
// False when the PDF cannot be read or the printer refuses the job.
bool PrintPdf(const QByteArray& pdf, QPrinter& printer);

} // namespace webview

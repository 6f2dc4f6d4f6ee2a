#pragma once

#include <QString>
#include <vector>

class PrintPage;

// Printing a laid-out page goes through this seam: the program prints on
// the default printer, the PDF export writes a file, and tests render to
// PDF or simulate a printer that fails.
class PagePrinter {
public:
    virtual ~PagePrinter() = default;

    // Prints `pages` in order as one job or document, each on a sheet of
    // its own, scaled to the paper with its proportions kept. False on any
    // failure: no printer, a job that cannot start or does not finish.
    // `title` names the job or the document.
    virtual bool printPages(const std::vector<const PrintPage*>& pages, const QString& title) = 0;
    // One page alone.
    bool print(const PrintPage& page, const QString& title) { return printPages({&page}, title); }
};

// The system's default printer.
class DefaultPagePrinter final : public PagePrinter {
public:
    bool printPages(const std::vector<const PrintPage*>& pages, const QString& title) override;
};

// A PDF file on A4 paper with the fonts embedded, drawn exactly as the
// printout. The file is written beside its final name and renamed over it
// only when complete, so a failed export never leaves half a file or
// destroys an older one.
class PdfPagePrinter final : public PagePrinter {
public:
    explicit PdfPagePrinter(QString file) : file_(std::move(file)) {}
    bool printPages(const std::vector<const PrintPage*>& pages, const QString& title) override;

private:
    QString file_;
};

#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <deque>
#include <optional>

#include "core/common/clock.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "ui/output/output_services.h"
#include "ui/output/page_printer.h"
#include "ui/output/print_page.h"
#include "ui/output/save_file_chooser.h"

// A printer that keeps what it was given: every label's text of the first
// page by object name and each label's place, and answers with `works`.
// With `pdfFolder` set, each print is also rendered there as a PDF
// (print-N.pdf).
class RecordingPrinter final : public PagePrinter {
public:
    explicit RecordingPrinter(bool works = true) : works_(works) {}

    bool printPages(const std::vector<const PrintPage*>& pages, const QString& title) override {
        ++calls;
        titles << title;
        texts.clear();
        places.clear();
        const PrintPage& page = *pages.front();
        pageSize = page.size();
        for (const QLabel* l : page.findChildren<QLabel*>()) {
            texts[l->objectName()] = l->text();
            places[l->objectName()] = l->geometry();
        }
        if (!pdfFolder.isEmpty()) {
            PdfPagePrinter pdf(QDir(pdfFolder).filePath(QStringLiteral("print-%1.pdf").arg(calls)));
            pdf.printPages(pages, title);
        }
        return works_;
    }

    int calls = 0;
    QStringList titles;
    QMap<QString, QString> texts;
    QMap<QString, QRect> places;
    QSize pageSize;
    QString pdfFolder;

private:
    bool works_;
};

// A save dialog that answers from a queue; an empty queue cancels.
class ScriptedFileChooser final : public SaveFileChooser {
public:
    std::optional<QString> choosePdfFile(QWidget*, const QString& proposedPath) override {
        return next(answers, proposedPath);
    }

    std::optional<SheetFileChoice> chooseSheetFile(QWidget*, const QString& proposedPath) override {
        return next(sheetAnswers, proposedPath);
    }

    std::deque<std::optional<QString>> answers;
    std::deque<std::optional<SheetFileChoice>> sheetAnswers;
    QStringList proposed;

private:
    template <typename Choice>
    std::optional<Choice> next(std::deque<std::optional<Choice>>& queue,
                               const QString& proposedPath) {
        proposed << proposedPath;
        if (queue.empty()) {
            return std::nullopt;
        }
        const auto answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

// Whether `file` holds a PDF that carries its fonts: without them the
// customer's reader substitutes its own for the Chinese text.
inline bool isPdfWithItsFonts(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = pdf.readAll();
    return bytes.startsWith("%PDF-") && bytes.contains("/FontFile");
}

// What the printouts and the price table window are handed in a test:
// scripted boxes, a printer that records (and works or fails), scripted
// save dialogs and a fixed day, 7 December 2026 unless told.
struct OutputFakes {
    explicit OutputFakes(bool printerWorks = true,
                         inkquot::CivilDate day = inkquot::CivilDate{2026, 12, 7})
        : printer(printerWorks), clock(day) {}

    // With `shopFolder` the printouts carry its letterhead and propose its
    // last headings.
    OutputServices services(const inkquot::ProgramFolder* shopFolder = nullptr) {
        return {dialogs, printer, files, clock, shopFolder};
    }

    ScriptedDialogs dialogs;
    RecordingPrinter printer;
    ScriptedFileChooser files;
    inkquot::FixedClock clock;
};

#pragma once

#include <QDir>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <deque>
#include <optional>

#include "ui/output/page_printer.h"
#include "ui/output/print_page.h"
#include "ui/output/save_file_chooser.h"

// A printer that keeps what it was given: every label's text by object
// name and each label's place, and answers with `works`. With `pdfFolder`
// set, each page is also rendered there as a PDF (print-N.pdf).
class RecordingPrinter final : public PagePrinter {
public:
    explicit RecordingPrinter(bool works = true) : works_(works) {}

    bool print(const PrintPage& page, const QString& title) override {
        ++calls;
        titles << title;
        texts.clear();
        places.clear();
        pageSize = page.size();
        for (const QLabel* l : page.findChildren<QLabel*>()) {
            texts[l->objectName()] = l->text();
            places[l->objectName()] = l->geometry();
        }
        if (!pdfFolder.isEmpty()) {
            PdfPagePrinter pdf(QDir(pdfFolder).filePath(QStringLiteral("print-%1.pdf").arg(calls)));
            pdf.print(page, title);
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
        proposed << proposedPath;
        if (answers.empty()) {
            return std::nullopt;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<SheetFileChoice> chooseSheetFile(QWidget*, const QString& proposedPath) override {
        proposed << proposedPath;
        if (sheetAnswers.empty()) {
            return std::nullopt;
        }
        const auto answer = sheetAnswers.front();
        sheetAnswers.pop_front();
        return answer;
    }

    std::deque<std::optional<QString>> answers;
    std::deque<std::optional<SheetFileChoice>> sheetAnswers;
    QStringList proposed;
};

#pragma once

#include <QDialog>
#include <memory>

#include "core/job/production_ticket.h"
#include "ui/output/output_services.h"

class LetterheadPage;
class PagePreview;
class QPushButton;
class QScrollArea;
class TicketPage;

// "墨衡印件计价系统-施工单": the production ticket as it will print, under
// the shop's letterhead when one is set, in a scrolling view; the buttons
// print it, export it as PDF or close the window.
class TicketWindow : public QDialog {
    Q_OBJECT

public:
    TicketWindow(const inkquot::ProductionTicket& ticket, OutputServices services,
                 QWidget* parent = nullptr);
    ~TicketWindow() override;

    // Sizes the window for a screen whose free area is `available`: the
    // whole page when it fits, else as much as fits, the rest scrolled to.
    // The constructor fits the window to its own screen.
    void fitToScreen(const QRect& available);

    // "打印施工单": prints the page and closes the window ("打印机错误!"
    // first when printing fails).
    void printTicket();
    // "导出PDF": the same page into a PDF file the user names; the window
    // stays open.
    void exportPdf();

    QScrollArea* view = nullptr;
    PagePreview* preview = nullptr;
    QPushButton* cmdprint = nullptr;  // "打印施工单"
    QPushButton* cmdpdf = nullptr;    // "导出PDF"
    QPushButton* cmdexit = nullptr;   // "退出"

private:
    QString documentTitle() const;

    inkquot::ProductionTicket ticket_;
    OutputServices services_;
    // The page shown; the letterhead page, when there is one, holds it and
    // goes first.
    std::unique_ptr<TicketPage> page_;
    std::unique_ptr<LetterheadPage> headed_;
};

#pragma once

#include <QImage>
#include <QPointer>
#include <QString>

#include "core/identity/letterhead.h"
#include "ui/output/print_page.h"

class QLabel;
class PagePrinter;

namespace inkquot {
class ProgramFolder;
}

// A printout under the shop's letterhead: the letterhead band across the
// top (logo on the left, the shop's name, address and telephone centred,
// a rule below) and the printout's own page under it, unchanged. The band
// takes the page's blank top (above its first text or line) where it can,
// so a page with room above its heading grows only by what the band needs
// beyond that room.
class LetterheadPage : public PrintPage {
    Q_OBJECT

public:
    // `body` is lent to the letterhead page while it lives and handed back
    // unchanged when it goes.
    LetterheadPage(const inkquot::Letterhead& letterhead, const QImage& logo, PrintPage& body);
    ~LetterheadPage() override;

    std::vector<QLineF> rules() const override;
    void paintDrawing(QPainter& painter) const override;

    QLabel* logo = nullptr;
    QLabel* shopName = nullptr;
    QLabel* shopAddress = nullptr;
    QLabel* shopTelephone = nullptr;

private:
    PrintPage& body_;
    QPoint bodyPlace_;
    QPointer<QWidget> bodyParent_;
    bool bodyWasHidden_ = true;
    qreal ruleY_ = 0;
};

// The logo the letterhead names, or a null image when it has none or the
// file cannot be read.
QImage letterheadLogo(const inkquot::ProgramFolder& folder, const inkquot::Letterhead& letterhead);

// Prints `page` with `printer`: exactly as it is when `shopFolder` is null
// or holds no letterhead, else under the letterhead.
// `nextPage`, when given, follows as a page of its own, without the
// letterhead.
bool printWithLetterhead(PagePrinter& printer, PrintPage& page, const QString& title,
                         const inkquot::ProgramFolder* shopFolder,
                         const PrintPage* nextPage = nullptr);

#pragma once

#include <QStringList>
#include <QWidget>

// The pricing page (job entry). It fills its paper lists from the names the
// current price scheme holds: the ten paper lists from the 50 papers, the
// sticker paper list from the 10 sticker papers; list position + 1 is the
// paper's record number.
class PricingPage : public QWidget {
    Q_OBJECT

public:
    explicit PricingPage(QWidget* parent = nullptr);

    // The main window's load selects the first entry of the job entry lists
    // before anything else.
    void selectStartingEntries() {}

    void fillPaperLists(const QStringList& paperNames);
    void fillStickerPaperList(const QStringList& stickerPaperNames);
};

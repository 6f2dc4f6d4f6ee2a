#pragma once

#include <vector>

#include "ui/output/print_page.h"

class QLabel;

namespace inkquot {
struct ProductionTicket;
}  // namespace inkquot

// The production ticket (施工单) as one page, 11175 twips wide like the
// quotation: the heading, the job's header, then a ruled box for every
// part, the binding and the paper use, their fields three to a row. The
// page grows downwards with the ticket.
class TicketPage : public PrintPage {
    Q_OBJECT

public:
    static constexpr int kWidthTwips = 11175;

    explicit TicketPage(QWidget* parent = nullptr);

    // Replaces the page's texts with the ticket's and lays them out.
    void fill(const inkquot::ProductionTicket& ticket);

    std::vector<QLineF> rules() const override { return rules_; }

    QLabel* heading = nullptr;

private:
    QLabel* addLabel(const QString& name, const QString& text, const QFont& font);
    // Lays out fields of `texts` (with their column spans) three to a row
    // from `top` and returns the bottom of the last row.
    int placeFields(const QString& name, const std::vector<std::pair<QString, int>>& texts,
                    int top);

    std::vector<QLineF> rules_;
};

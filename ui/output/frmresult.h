#pragma once

#include "ui/output/print_page.h"

class QLabel;

// The quotation page: a letter to the customer, 11175 × 6840 twips. The
// heading is centred across the page; the addressee, the letter and the
// date sit at their places in 宋体.
class FrmResult : public PrintPage {
    Q_OBJECT

public:
    static constexpr int kWidthTwips = 11175;
    static constexpr int kHeightTwips = 6840;

    explicit FrmResult(QWidget* parent = nullptr);

    // Sets the four texts and places the labels around them.
    void fill(const QString& heading, const QString& addressee, const QString& letter,
              const QString& date);

    QLabel* lbiaoti = nullptr;  // heading
    QLabel* lkehu = nullptr;    // addressee line
    QLabel* labre = nullptr;    // the letter
    QLabel* labdate = nullptr;  // date
};

#pragma once

#include "ui/output/price_sheet.h"

// The print layout of the price table: filled anew from the window's
// labels for every printout and discarded after it.
class FrmList : public PriceSheet {
    Q_OBJECT

public:
    explicit FrmList(QWidget* parent = nullptr);
};

#pragma once

#include <QDialog>
#include <vector>

#include "core/costing/cost_records.h"
#include "core/job/scheme_comparison.h"

class QTableWidget;

// "方案比较": the shown job priced under every stored price scheme, side by
// side: the result of the pricing run first ("当前结果", the scheme in use
// with any edits not yet stored), then one column per scheme of the list,
// each with the unit price, the total and every cost item. A scheme whose
// tables are damaged says so in its column; the others are still priced.
class SchemeComparisonDialog : public QDialog {
public:
    SchemeComparisonDialog(const inkquot::CostResult& current,
                           const std::vector<inkquot::SchemePrice>& schemes,
                           QWidget* parent = nullptr);

    QTableWidget* table = nullptr;
};

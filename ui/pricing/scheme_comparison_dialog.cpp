#include "ui/pricing/scheme_comparison_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "core/common/number_text.h"
#include "ui/common/utf8_text.h"

namespace {

using inkquot::CostResult;

struct Row {
    const char* label;
    float CostResult::*member;
    int decimals;
};

// The rows in the order of the result panel; folding has no line of its own
// there and is shown here under its own name.
const std::array<Row, 16> kRows = {{
    {"单价", &CostResult::UnitPrice, 4},
    {"总价", &CostResult::TotalPrice, 2},
    {"菲林费", &CostResult::FilmCost, 2},
    {"拼版费", &CostResult::ImpositionCost, 2},
    {"纸价", &CostResult::PaperCost, 2},
    {"印刷费", &CostResult::PrintCost, 2},
    {"装订费", &CostResult::BindingCost, 2},
    {"表面处理", &CostResult::SurfaceCost, 2},
    {"烫电化铝", &CostResult::FoilCost, 2},
    {"模切费", &CostResult::DieCutCost, 2},
    {"模板费", &CostResult::DieBoardCost, 2},
    {"压凸费", &CostResult::EmbossCost, 2},
    {"对裱费", &CostResult::MountCost, 2},
    {"裱坑费", &CostResult::CorrugatedCost, 2},
    {"粘盒费", &CostResult::GlueCost, 2},
    {"折页费", &CostResult::FoldCost, 2},
}};

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void fillColumn(QTableWidget& table, int column, const CostResult& result) {
    for (int r = 0; r < static_cast<int>(kRows.size()); ++r) {
        const Row& row = kRows[static_cast<std::size_t>(r)];
        table.setItem(r, column,
                      cell(fromUtf8(inkquot::groupedFixed(result.*row.member, row.decimals))));
    }
}

// A scheme that could not price the job: the reason in its first cell, in
// full in the tooltip.
void fillRefusal(QTableWidget& table, int column, const inkquot::SchemePrice& price) {
    const QString shown =
        price.damaged ? fromUtf8(inkquot::kDamagedSchemeText) : QStringLiteral("无法计价");
    auto* first = cell(shown);
    first->setTextAlignment(Qt::AlignCenter);
    first->setForeground(QColor(0x9C, 0x00, 0x06));
    first->setToolTip(fromUtf8(price.problem));
    table.setItem(0, column, first);
    for (int r = 1; r < static_cast<int>(kRows.size()); ++r) {
        table.setItem(r, column, cell(QString()));
    }
}

}  // namespace

SchemeComparisonDialog::SchemeComparisonDialog(const CostResult& current,
                                               const std::vector<inkquot::SchemePrice>& schemes,
                                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("方案比较"));
    const int columns = 1 + static_cast<int>(schemes.size());
    table = new QTableWidget(static_cast<int>(kRows.size()), columns, this);
    table->setObjectName(QStringLiteral("comparison"));
    QStringList headings{QStringLiteral("当前结果")};
    for (const auto& s : schemes) {
        headings << fromUtf8(s.scheme);
    }
    table->setHorizontalHeaderLabels(headings);
    QStringList rows;
    for (const Row& row : kRows) {
        rows << QString::fromUtf8(row.label);
    }
    table->setVerticalHeaderLabels(rows);
    fillColumn(*table, 0, current);
    for (int c = 1; c < columns; ++c) {
        const inkquot::SchemePrice& price = schemes[static_cast<std::size_t>(c - 1)];
        if (price.problem.empty()) {
            fillColumn(*table, c, price.result);
        } else {
            fillRefusal(*table, c, price);
        }
    }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setMinimumSectionSize(96);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* note =
        new QLabel(QStringLiteral("同一印件按各价格方案计价，当前使用的方案不变，不写入任何文件。"
                                  "纸张按印件所选的序号取各方案的纸价。"),
                   this);
    note->setWordWrap(true);
    // Why a scheme has no price, in full, under the table.
    QStringList reasons;
    for (const auto& price : schemes) {
        if (!price.problem.empty()) {
            reasons << fromUtf8(price.scheme) + QStringLiteral("：") + fromUtf8(price.problem);
        }
    }
    auto* problems = new QLabel(reasons.join(QLatin1Char('\n')), this);
    problems->setObjectName(QStringLiteral("labproblems"));
    problems->setWordWrap(true);
    problems->setStyleSheet(QStringLiteral("color: #9C0006;"));
    problems->setVisible(!reasons.isEmpty());
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("退出"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdclose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(table, 1);
    layout->addWidget(problems);
    layout->addWidget(buttons);
    resize(760, 560);
}

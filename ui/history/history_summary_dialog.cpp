#include "ui/history/history_summary_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kBarRow = 26;  // pixels a customer takes

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

}  // namespace

QString yuanText(std::int64_t cents) {
    return QLocale(QLocale::Chinese, QLocale::China)
        .toString(static_cast<double>(cents) / 100.0, 'f', 2);
}

CustomerBars::CustomerBars(std::vector<inkquot::CustomerTotals> customers, QWidget* parent)
    : QWidget(parent), customers_(std::move(customers)) {
    setObjectName(QStringLiteral("customerBars"));
    setMinimumHeight(kBarRow * 3);
}

QSize CustomerBars::sizeHint() const {
    return {320, kBarRow * std::max<int>(1, static_cast<int>(customers_.size())) + 8};
}

void CustomerBars::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QFontMetrics fm = fontMetrics();
    if (customers_.empty()) {
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("没有记录"));
        return;
    }
    // Names take at most two fifths of the width, the sums their own widest.
    int nameWidth = 0;
    int sumWidth = 0;
    for (const auto& c : customers_) {
        nameWidth = std::max(nameWidth, fm.horizontalAdvance(QString::fromStdString(c.customer)));
        sumWidth = std::max(sumWidth, fm.horizontalAdvance(yuanText(c.totals.cents)));
    }
    nameWidth = std::min(nameWidth, width() * 2 / 5);
    const int barLeft = 8 + nameWidth + 8;
    const int barSpace = std::max(10, width() - barLeft - sumWidth - 16);
    const std::int64_t largest = std::max<std::int64_t>(1, customers_.front().totals.cents);
    int y = 4;
    for (const auto& c : customers_) {
        const QRect nameBox(8, y, nameWidth, kBarRow - 4);
        p.setPen(palette().text().color());
        p.drawText(nameBox, Qt::AlignRight | Qt::AlignVCenter,
                   fm.elidedText(QString::fromStdString(c.customer), Qt::ElideRight, nameWidth));
        const double share = std::clamp(static_cast<double>(c.totals.cents) / largest, 0.0, 1.0);
        const int length = std::max(1, static_cast<int>(share * barSpace));
        p.fillRect(QRect(barLeft, y + 4, length, kBarRow - 12), QColor(0x3a, 0x7c, 0xc4));
        p.drawText(QRect(barLeft + length + 6, y, sumWidth + 8, kBarRow - 4),
                   Qt::AlignLeft | Qt::AlignVCenter, yuanText(c.totals.cents));
        y += kBarRow;
    }
}

HistorySummaryDialog::HistorySummaryDialog(const inkquot::HistorySummary& summary, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("查询统计"));
    auto* total = new QLabel(QStringLiteral("共%1份报价，金额合计%2元")
                                 .arg(summary.all.quotes)
                                 .arg(yuanText(summary.all.cents)),
                             this);
    total->setObjectName(QStringLiteral("labtotal"));

    months = new QTableWidget(static_cast<int>(summary.months.size()), 3, this);
    months->setObjectName(QStringLiteral("months"));
    months->setHorizontalHeaderLabels(
        {QStringLiteral("月份"), QStringLiteral("报价数"), QStringLiteral("金额（元）")});
    months->verticalHeader()->setVisible(false);
    months->setEditTriggers(QAbstractItemView::NoEditTriggers);
    months->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < months->rowCount(); ++r) {
        const auto& m = summary.months[static_cast<std::size_t>(r)];
        const QString month =
            m.year == 0 ? QStringLiteral("?") : QStringLiteral("%1年%2月").arg(m.year).arg(m.month);
        months->setItem(r, 0, cell(month, Qt::AlignLeft));
        months->setItem(r, 1, cell(QString::number(m.totals.quotes), Qt::AlignRight));
        months->setItem(r, 2, cell(yuanText(m.totals.cents), Qt::AlignRight));
    }
    months->resizeColumnsToContents();
    months->horizontalHeader()->setStretchLastSection(true);
    // The latest month is what a clerk looks for first.
    if (months->rowCount() > 0) {
        months->scrollToBottom();
    }

    bars = new CustomerBars(summary.customers, this);
    auto* monthBox = new QGroupBox(QStringLiteral("按月统计"), this);
    (new QVBoxLayout(monthBox))->addWidget(months);
    auto* customerBox = new QGroupBox(QStringLiteral("金额最多的客户"), this);
    auto* customerLayout = new QVBoxLayout(customerBox);
    customerLayout->addWidget(bars);
    customerLayout->addStretch(1);

    auto* row = new QHBoxLayout;
    row->addWidget(monthBox, 2);
    row->addWidget(customerBox, 3);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(total);
    layout->addLayout(row, 1);
    layout->addWidget(close);
    resize(720, 460);
}

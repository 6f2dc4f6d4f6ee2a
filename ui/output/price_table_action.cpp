#include "ui/output/price_table_action.h"

#include <QApplication>
#include <QLabel>

#include "core/common/clock.h"
#include "core/costing/price_table.h"
#include "core/identity/letterhead.h"
#include "core/identity/remembered_headings.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/frmshow.h"
#include "ui/output/price_sheet.h"

PriceTableShown generatePriceTableWindow(QWidget* parent, const inkquot::ProgramFolder& folder,
                                         inkquot::JobForm& form, inkquot::CostResult& result,
                                         OutputServices services,
                                         const std::function<void(FrmShow&)>& showModal) {
    std::optional<inkquot::PriceTableGrid> grid;
    {
        // 84 costings, each reading the price files: a busy pointer meanwhile.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        grid = inkquot::generatePriceTable(folder, form, result);
        QApplication::restoreOverrideCursor();
    }
    if (!grid) {
        return PriceTableShown::NotOffered;
    }
    const int refused = grid->refusedCount();
    if (refused == inkquot::kTableCellCount) {
        services.dialogs.warning(parent, fromUtf8(grid->refusal));
        return PriceTableShown::Refused;
    }
    if (refused > 0) {
        services.dialogs.warning(
            parent, QStringLiteral("价格表中有%1格无法计价，以“-”表示：\n").arg(refused) +
                        fromUtf8(grid->refusal));
    }

    FrmShow frmshow(services, parent);
    frmshow.setTable(*grid);
    if (services.shopFolder) {
        frmshow.setLetterhead(inkquot::letterheadLines(*services.shopFolder));
    }
    using inkquot::HeadingKind;
    const auto heading = services.dialogs.input(
        parent, fromUtf8(inkquot::kTableTitlePrompt),
        fromUtf8(inkquot::proposedHeading(services.shopFolder, HeadingKind::PriceTable)), false);
    if (!heading || heading->isEmpty()) {
        return PriceTableShown::Cancelled;
    }
    if (services.shopFolder) {
        inkquot::rememberHeading(*services.shopFolder, HeadingKind::PriceTable, toUtf8(*heading));
    }
    frmshow.Picture2->labdate->setText(fromUtf8(inkquot::tableMonthText(services.clock.today())));
    frmshow.Picture2->labiaoti->setText(*heading);
    if (showModal) {
        showModal(frmshow);
    } else {
        frmshow.exec();
    }
    return PriceTableShown::Shown;
}

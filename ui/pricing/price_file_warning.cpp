#include "ui/pricing/price_file_warning.h"

#include <vector>

#include "core/pricedata/default_scheme.h"
#include "core/pricedata/table_damage.h"
#include "ui/common/dialogs.h"

PriceFileWarning::PriceFileWarning(const inkquot::ProgramFolder& folder, Dialogs& dialogs)
    : folder_(folder), dialogs_(dialogs) {}

bool PriceFileWarning::checkBeforePricing(QWidget* parent) {
    std::vector<std::string> problems;
    const auto status = inkquot::checkWorkingTables(folder_, problems);
    damage_.clear();
    if (!status) {
        dialogs_.warning(parent, QString::fromStdString(status.message));
        return false;
    }
    QStringList fresh;
    for (const auto& p : problems) {
        damage_ << QString::fromStdString(p);
        if (told_.insert(p).second) {
            fresh << QString::fromStdString(p);
        }
    }
    if (!fresh.isEmpty()) {
        if (scheme_ && scheme_() == QString::fromUtf8(inkquot::kDefaultSchemeName)) {
            fresh << QString::fromUtf8(inkquot::kRepairSuggestion.data(),
                                       qsizetype(inkquot::kRepairSuggestion.size()));
        }
        dialogs_.warning(parent, fresh.join(QLatin1Char('\n')));
    }
    return true;
}

QString PriceFileWarning::resultLine() const {
    if (damage_.isEmpty()) {
        return {};
    }
    return QStringLiteral("注意：%1。以上价格由损坏的价格文件算出，可能有误。")
        .arg(damage_.join(QStringLiteral("；")));
}

#include "core/job/scheme_comparison.h"

#include <array>

#include "core/common/file_io.h"
#include "core/job/priced_job.h"
#include "core/pricedata/price_tables.h"
#include "core/pricedata/scheme_list.h"
#include "core/pricedata/scheme_ops.h"
#include "core/pricedata/table_damage.h"

namespace inkquot {

IoStatus loadSchemeBook(const ProgramFolder& folder, std::string_view scheme, PriceBook& book) {
    const std::string damaged = std::string(kDamagedSchemeText) + "：";
    std::array<TableImage, 4> tables;
    if (IoStatus status = readStoredScheme(folder, scheme, tables); !status) {
        status.message = damaged + status.message;
        return status;
    }
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const std::vector<std::string> problems = tableDamage(
            tables[i], displayName(storedFile(folder, scheme, kAllPriceTables[i]).filename()));
        if (!problems.empty()) {
            return IoStatus::failure(IoError::BadText, damaged + problems.front());
        }
    }
    book = priceBookFromImages(tables[0], tables[1], tables[2], tables[3]);
    return IoStatus::success();
}

SchemePrice priceUnderScheme(const ProgramFolder& folder, std::string_view scheme,
                             const FormState& job) {
    SchemePrice price;
    price.scheme = scheme;
    PriceBook book;
    if (const IoStatus loaded = loadSchemeBook(folder, scheme, book); !loaded) {
        price.problem = loaded.message;
        price.damaged = true;
        return price;
    }
    PricedJob priced;
    const PriceOutcome outcome = priceJob(PriceSource(book), job, priced);
    if (!outcome.ok()) {
        price.problem = outcome.refusal;
        return price;
    }
    price.result = priced.result;
    return price;
}

IoStatus priceUnderEveryScheme(const ProgramFolder& folder, const FormState& job,
                               std::vector<SchemePrice>& prices) {
    prices.clear();
    std::vector<std::string> names;
    if (IoStatus status = readSchemeList(folder.schemeList(), names); !status) {
        return status;
    }
    for (const std::string& name : names) {
        prices.push_back(priceUnderScheme(folder, name, job));
    }
    return IoStatus::success();
}

}  // namespace inkquot

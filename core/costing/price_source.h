#pragma once

#include <optional>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/costing/price_book.h"

namespace inkquot {

// Where a costing takes its prices from. Ordinarily the working tables of the
// program folder, the scheme in use, which are read afresh for every part so
// that an edit saved a moment ago counts at once. A job can also be priced
// from a book read beforehand, such as the tables of another stored scheme,
// without that scheme being put in use.
class PriceSource {
public:
    // The working tables of `folder` (LoadPriceBook).
    PriceSource(const ProgramFolder& folder);  // NOLINT(google-explicit-constructor)
    // A book read once; every part is priced from it as it is.
    explicit PriceSource(const PriceBook& book);

    IoStatus load(PriceBook& book) const;
    // True for the working tables, whose unreadable files the refusal names.
    bool isWorkingTables() const { return !book_.has_value(); }

private:
    ProgramFolder folder_;
    std::optional<PriceBook> book_;
};

}  // namespace inkquot

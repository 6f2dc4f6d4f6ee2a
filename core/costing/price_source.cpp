#include "core/costing/price_source.h"

namespace inkquot {

PriceSource::PriceSource(const ProgramFolder& folder) : folder_(folder) {}

PriceSource::PriceSource(const PriceBook& book) : folder_(std::filesystem::path()), book_(book) {}

IoStatus PriceSource::load(PriceBook& book) const {
    if (book_) {
        book = *book_;
        return IoStatus::success();
    }
    return LoadPriceBook(folder_, book);
}

}  // namespace inkquot

// The first byte picks the table; the rest are the file's bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/pricedata/price_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace inkquot;
    if (size == 0) {
        return 0;
    }
    const PriceTable table = kAllPriceTables[data[0] % kAllPriceTables.size()];
    TableImage image(table, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    switch (table) {
        case PriceTable::Jiben:
            for (const auto& r : jibenTableOf(image)) {
                if (!std::isfinite(r.Shuju) || r.Mingcheng.empty()) {
                    std::abort();
                }
            }
            break;
        case PriceTable::Gongjia:
            for (const auto& r : gongjiaTableOf(image)) {
                if (!std::isfinite(r.Danjia) || !std::isfinite(r.Tag4)) {
                    std::abort();
                }
            }
            break;
        case PriceTable::Zhijia:
        case PriceTable::Zhijiabu:
            for (const auto& r : zhijiaTableOf(image)) {
                if (!std::isfinite(r.Jiage)) {
                    std::abort();
                }
            }
            break;
    }
    return 0;
}

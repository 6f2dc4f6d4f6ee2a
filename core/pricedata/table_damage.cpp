#include "core/pricedata/table_damage.h"

#include <cmath>
#include <cstdio>

#include "core/common/le_bytes.h"
#include "core/pricedata/scheme_ops.h"

namespace inkquot {

namespace {

struct NumberField {
    std::size_t offset;
    const char* label;
};

// The numbers the price book takes from each table.
std::vector<NumberField> numberFields(PriceTable table) {
    switch (table) {
        case PriceTable::Jiben:
            return {{jiben_field::Shuju, "数据"}};
        case PriceTable::Gongjia:
            return {{gongjia_field::Danjia, "单价"},
                    {gongjia_field::Tag1, "TAG1"},
                    {gongjia_field::Tag2, "TAG2"},
                    {gongjia_field::Tag3, "TAG3"},
                    {gongjia_field::Tag4, "TAG4"}};
        case PriceTable::Zhijia:
        case PriceTable::Zhijiabu:
            return {{zhijia_field::Jiage, "价格"}};
    }
    return {};
}

std::string numberText(float v) {
    if (std::isnan(v)) {
        return "非数值";
    }
    if (std::isinf(v)) {
        return v > 0 ? "无穷大" : "负无穷大";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}

}  // namespace

std::vector<std::string> tableDamage(const TableImage& image, std::string_view fileName) {
    const TableLayout& layout = layoutOf(image.table());
    const std::string name(fileName);
    std::vector<std::string> problems;
    const std::size_t size = image.bytes().size();
    // A record counts when its data bytes are all there; the filler after the
    // last record's data carries nothing.
    const int complete =
        size < layout.dataLength
            ? 0
            : std::min<int>(layout.recordCount,
                            static_cast<int>((size - layout.dataLength) / layout.slotLength) + 1);
    if (complete < layout.recordCount) {
        problems.push_back("价格文件 " + name + " 不完整：只有 " + std::to_string(complete) +
                           " 条记录");
    }
    int bad = 0;
    std::string first;
    for (int n = 1; n <= complete; ++n) {
        const std::size_t slot = static_cast<std::size_t>(n - 1) * layout.slotLength;
        for (const NumberField& field : numberFields(image.table())) {
            const float v = le::readFloat(image.bytes(), slot + field.offset);
            if (std::isfinite(v) && v >= 0.0f && v <= kAbsurdPriceLimit) {
                continue;
            }
            if (bad++ == 0) {
                first =
                    "第 " + std::to_string(n) + " 条记录的" + field.label + "为 " + numberText(v);
            }
        }
    }
    if (bad > 0) {
        problems.push_back("价格文件 " + name + " 有不合理的数值：" + first +
                           (bad > 1 ? "，共 " + std::to_string(bad) + " 处" : std::string()));
    }
    return problems;
}

IoStatus checkWorkingTables(const ProgramFolder& folder, std::vector<std::string>& problems) {
    problems.clear();
    for (const PriceTable table : kAllPriceTables) {
        TableImage image;
        IoStatus status = TableImage::load(workingFile(folder, table), table, image);
        if (!status) {
            return status;
        }
        for (auto& p : tableDamage(image, layoutOf(table).workingFile)) {
            problems.push_back(std::move(p));
        }
    }
    return IoStatus::success();
}

}  // namespace inkquot

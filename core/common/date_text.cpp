#include "core/common/date_text.h"

namespace inkquot {

std::string longDateText(CivilDate date) {
    return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" +
           std::to_string(date.day) + "日";
}

std::string shortDateText(CivilDate date) {
    return std::to_string(date.year) + "/" + std::to_string(date.month) + "/" +
           std::to_string(date.day);
}

}  // namespace inkquot

#include "core/job/quotation_text.h"

#include "core/common/number_text.h"
#include "core/costing/result_text.h"

namespace inkquot {

std::string quotationAddressee(const PricedJob& job) {
    return "致" + job.customer + "：";
}

std::string quotationLetter(const PricedJob& job) {
    const CostResult& r = job.result;
    const float prepress = prepressCost(r);
    const float other = otherCost(r);
    const std::string indent(4, ' ');
    // The comma after 元/份 is an ASCII one; the rest of the punctuation is
    // fullwidth, as a Chinese letter has it.
    return indent + "贵单位的印件" + "<<" + job.jobName + ">>" + "共印制" +
           groupedFixed(job.quantity, 0) + "份，" + "单价为：" + groupedFixed(r.UnitPrice, 4) +
           "元/份," + "总价为：" + amountText(r.TotalPrice) + "元。" + indent +
           "其中，印前制作费：" + amountText(prepress) + "元，" + "纸价：" +
           amountText(r.PaperCost) + "元，" + "印刷费：" + amountText(r.PrintCost) + "元，" +
           "装订费：" + amountText(r.BindingCost) + "元，" + "其它费：" + amountText(other) +
           "元。";
}

}  // namespace inkquot

#include "core/job/quotation_text.h"

#include <initializer_list>

#include "core/common/number_text.h"

namespace inkquot {

namespace {

float storedSum(std::initializer_list<float> items) {
    double sum = 0;
    for (float v : items) {
        sum += v;
    }
    return static_cast<float>(sum);
}

std::string amount(float v) {
    return groupedFixed(v, 2);
}

}  // namespace

std::string quotationAddressee(const PricedJob& job) {
    return "致" + job.customer + "：";
}

std::string quotationLetter(const PricedJob& job) {
    const CostResult& r = job.result;
    const float prepress = storedSum({r.FilmCost, r.ImpositionCost});
    const float other =
        storedSum({r.FoilCost, r.SurfaceCost, r.EmbossCost, r.MountCost, r.DieBoardCost,
                   r.DieCutCost, r.CorrugatedCost, r.GlueCost, r.FoldCost});
    const std::string indent(4, ' ');
    // The comma after 元/份 is an ASCII one; the rest of the punctuation is
    // fullwidth, as a Chinese letter has it.
    return indent + "贵单位的印件" + "<<" + job.jobName + ">>" + "共印制" +
           groupedFixed(job.quantity, 0) + "份，" + "单价为：" + groupedFixed(r.UnitPrice, 4) +
           "元/份," + "总价为：" + amount(r.TotalPrice) + "元。" + indent + "其中，印前制作费：" +
           amount(prepress) + "元，" + "纸价：" + amount(r.PaperCost) + "元，" + "印刷费：" +
           amount(r.PrintCost) + "元，" + "装订费：" + amount(r.BindingCost) + "元，" + "其它费：" +
           amount(other) + "元。";
}

}  // namespace inkquot

#include "core/job/priced_job.h"

#include "core/common/number_text.h"
#include "core/costing/result_text.h"
#include "core/job/form_rules.h"
#include "core/job/job_description.h"

namespace inkquot {

PricedJob pricedJobOf(const FormState& job, const CostResult& result) {
    PricedJob p;
    p.kind = job.listIndex(Ctl::comleibie);
    p.result = result;
    p.description = describeJob(job);
    if (p.kind < 0) {
        return p;
    }
    p.customer = job.text(Ctl::txtkehuming, p.kind);
    p.jobName = job.text(Ctl::txtyinjianming, p.kind);
    p.quantity = parseNumber(job.text(Ctl::txtshuliang, p.kind)).value_or(0.0f);
    p.guige = composeGuige(job, p.kind);
    p.yaoqiu = composeYaoqiu(job, p.kind);
    p.resultText = composeResultText(job, p.kind, result);
    return p;
}

FormState formOfPricedJob(const ProgramFolder& folder, const PricedJob& priced) {
    FormState form;
    fillPaperLists(folder, form);
    readJobDescription(priced.description, "", form);
    return form;
}

PriceOutcome priceJob(const PriceSource& prices, const FormState& job, PricedJob& priced) {
    if (auto refusal = firstOutOfRange(job)) {
        return {std::move(*refusal), {}};
    }
    CostResult result;
    PriceOutcome outcome = priceJob(prices, job, result);
    if (outcome.ok()) {
        priced = pricedJobOf(job, result);
        priced.figures = outcome.figures;
    }
    return outcome;
}

}  // namespace inkquot

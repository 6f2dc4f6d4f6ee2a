#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "core/common/program_folder.h"
#include "core/costing/cost_records.h"
#include "core/costing/price_job.h"
#include "core/job/form_state.h"

namespace inkquot {

// A job as one pricing run priced it: everything the result panel shows, the
// history keeps and the quotation prints. It is taken from the job when the
// run happens, so later changes on the entry screen (another entry, a price
// table with its forced settings) cannot mix into a saved or printed result.
struct PricedJob {
    int kind = -1;
    std::string customer;  // txtkehuming of the kind
    std::string jobName;   // txtyinjianming of the kind
    float quantity = 0;    // txtshuliang of the kind as a number, 0 when it is none
    std::string guige;     // size field of the history record
    std::string yaoqiu;    // processing description of the history record
    std::string resultText;
    CostResult result;
    // The sheets and plates the costing formed the money from: what the
    // production ticket gives the press room.
    JobFigures figures;
    nlohmann::json description;  // the job description that was priced
};

// The job of a priced job again, from its description over the paper lists
// of the scheme in use: what the job entry screen held when it was priced.
FormState formOfPricedJob(const ProgramFolder& folder, const PricedJob& priced);

// The priced job of `job` with the costing's `result`.
PricedJob pricedJobOf(const FormState& job, const CostResult& result);

// A pricing run ("开始计价") on `job`: on success `priced` holds the whole
// priced job; a refusal leaves `priced` as it was. A box holding a number
// outside its range (firstOutOfRange) refuses the run before any costing,
// so what is priced, saved and reopened is always a job the job
// description reader takes.
PriceOutcome priceJob(const PriceSource& prices, const FormState& job, PricedJob& priced);

}  // namespace inkquot

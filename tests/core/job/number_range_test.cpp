#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "core/costing/control_catalogue.h"
#include "core/job/form_rules.h"
#include "core/job/form_state.h"
#include "core/job/job_description.h"

namespace inkquot {
namespace {

// Each number box at and just past the ends of its range: the job
// description reader and the pricing run's check of the whole form agree on
// every row, and a refusal names the box and the range.
TEST(NumberRanges, BoxesTakeTheirRangeAndRefuseJustPastIt) {
    struct Row {
        int kind;
        Ctl control;
        int index;
        const char* text;
        const char* refusal;  // nullptr: taken
    };
    const char* const quantity = "书刊\\画册的计价数量“%s”必须是1到100000000之间的整数";
    const Row rows[] = {
        {0, Ctl::txtshuliang, 0, "1", nullptr},
        {0, Ctl::txtshuliang, 0, "100,000,000", nullptr},
        {0, Ctl::txtshuliang, 0, " 1e8 ", nullptr},
        {0, Ctl::txtshuliang, 0, "1000.0", nullptr},
        {0, Ctl::txtshuliang, 0, "-500", quantity},
        {0, Ctl::txtshuliang, 0, "12.5", quantity},
        {0, Ctl::txtshuliang, 0, "0.5", quantity},
        // Its 32-bit float is 100000000: the text as typed decides.
        {0, Ctl::txtshuliang, 0, "100000001", quantity},
        {0, Ctl::txtshuliang, 0, "99999999999999999999", quantity},
        // A quantity of 0 keeps the pricing run's own warning.
        {0, Ctl::txtshuliang, 0, "0", nullptr},
        {2, Ctl::txtshuliang, 2, "-5", "单张\\招贴的计价数量“-5”必须是1到100000000之间的整数"},
        {0, Ctl::txtye, 0, "20000", nullptr},
        {0, Ctl::txtye, 0, "12.5", nullptr},  // rounds to 12, as it always has
        {0, Ctl::txtye, 0, "20004", "内页一的页数“20004”必须在0到20000之间"},
        {1, Ctl::txtye, 3, "-4", "页二的版数“-4”必须在0到20000之间"},
        {0, Ctl::Ncomke, 1, "10", nullptr},
        {0, Ctl::Ncomke, 1, "2000", nullptr},
        {0, Ctl::Ncomke, 1, "9.9", "内页一的纸厚（克重）“9.9”必须在10到2000之间"},
        {2, Ctl::Ncomke, 7, "18446744073709551617",
         "单张的纸厚（克重）“18446744073709551617”必须在10到2000之间"},
        {0, Ctl::Ncomyinse, 2, "16", nullptr},
        {0, Ctl::Ncomyinse, 2, "17", "内页一的正面印色“17”必须是0到16之间的整数"},
        {0, Ctl::Ncomyinse, 3, "2.5", "内页一的反面印色“2.5”必须是0到16之间的整数"},
        {2, Ctl::Ncomzhuanse, 7, "-1", "单张的专色或实地色“-1”必须是0到16之间的整数"},
        {0, Ctl::Comnd, 0, "0.01", nullptr},
        {0, Ctl::Comnd, 0, "20", nullptr},
        {0, Ctl::Comnd, 0, "0.009", "封面的难度系数“0.009”必须在0.01到20之间"},
        {3, Ctl::Comnd, 15, "20.5", "纸盒\\纸袋的模板难度系数“20.5”必须在0.01到20之间"},
        {3, Ctl::txttang, 1, "100000", nullptr},
        {3, Ctl::txttang, 1, "100000.5", "纸盒\\纸袋的烫电化铝面积“100000.5”必须在0到100000之间"},
        {2, Ctl::Ncomkai, 5, "2000000", nullptr},
        {2, Ctl::Ncomkai, 5, "0.5", "单张\\招贴规格的开数“0.5”必须在1到2000000之间"},
        {2, Ctl::Ntxtkaizhi, 5, "64", nullptr},
        {2, Ctl::Ntxtkaizhi, 5, "2.5", "单张\\招贴规格的上机纸张开数“2.5”必须是1到64之间的整数"},
        {2, Ctl::Cmbzheci, 0, "20", nullptr},
        {2, Ctl::Cmbzheci, 0, "21", "单张\\招贴的折次“21”必须是1到20之间的整数"},
    };
    for (const Row& row : rows) {
        const std::string name = std::string(controlName(row.control));
        std::string expected = row.refusal != nullptr ? row.refusal : "";
        if (const auto at = expected.find("%s"); at != std::string::npos) {
            expected.replace(at, 2, row.text);
        }
        SCOPED_TRACE(name + " " + row.text);

        FormState form;
        form.setListIndex(Ctl::comleibie, 0, row.kind);
        form.setText(row.control, row.index, row.text);
        const auto found = firstOutOfRange(form);
        EXPECT_EQ(found.value_or(""), expected);

        nlohmann::json job = {{"kind", row.kind}};
        if (row.control == Ctl::Cmbzheci) {
            job["controls"][name] = row.text;
        } else {
            job["controls"][name][std::to_string(row.index)] = row.text;
        }
        FormState read;
        try {
            readJobDescription(job, "price", read);
            EXPECT_EQ(expected, "");
            EXPECT_EQ(read.text(row.control, row.index), row.text);
        } catch (const JobRefused& e) {
            EXPECT_EQ(std::string(e.what()), "price: " + expected);
        }
    }
}

// The form the screen starts with is a job every range takes.
TEST(NumberRanges, TheStartingFormIsInsideEveryRange) {
    EXPECT_EQ(firstOutOfRange(FormState()).value_or(""), "");
}

}  // namespace
}  // namespace inkquot

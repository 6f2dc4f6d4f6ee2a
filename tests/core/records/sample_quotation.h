#pragma once

#include <string>

#include "core/records/history_file.h"

namespace inkquot::testing {

// One quotation of the history: 1000 pieces of 大度16开 at 0.5 yuan, 500 in
// all, quoted to `customer` on day `day`.
inline JiluRec quotation(double day, const std::string& customer) {
    JiluRec r;
    r.Riqi = day;
    r.Kehuming = customer;
    r.Yinjianming = "印件1";
    r.Shuliang = 1000;
    r.Guige = "大度16开";
    r.Yaoqiu = "157克铜版纸4+4色印刷；";
    r.Danjia = 0.5f;
    r.Zongjia = 500;
    return r;
}

}  // namespace inkquot::testing

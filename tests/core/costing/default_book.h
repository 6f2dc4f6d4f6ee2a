#pragma once

#include "core/costing/price_book.h"

namespace inkquot::testing {

// The book the built-in scheme loads into: its basic parameters, process
// prices and factors, and paper prices raised by its 15 % management fee.
inline PriceBook defaultPriceBook() {
    PriceBook book;
    const float jiben[] = {20,  8,   100, 8,   3000, 1000, 500, 5000, 1000,
                           100, 100, 100, 100, 100,  100,  20,  1.5f, 15};
    for (int i = 1; i <= 18; ++i) {
        book.jiben[i] = jiben[i - 1];
    }
    const GongItem gong[] = {
        {40, 0.8f, 0.8f, 0, 0},
        {800, 0.8f, 0.8f, 0, 0},  // 1, 2
        {1000, 0.8f, 0.8f, 0, 0},
        {24, 0.8f, 0.8f, 0, 0},  // 3, 4
        {480, 0.8f, 0.8f, 0, 0},
        {600, 0.8f, 0.8f, 0, 0},  // 5, 6
        {12, 0.8f, 0.8f, 0, 0},
        {240, 0.8f, 0.8f, 0, 0},  // 7, 8
        {300, 0.8f, 0.8f, 0, 0},
        {27.5f, 0.8f, 0.8f, 0, 0},  // 9, 10
        {100, 0, 0, 0, 0},
        {60, 0, 0, 0, 0},  // 11, 12
        {30, 0, 0, 0, 0},
        {100, 0, 0, 0, 0},  // 13, 14
        {100, 0.8f, 0.8f, 0, 0},
        {320, 0.8f, 0.8f, 0, 0},  // 15, 16
        {80, 0.8f, 0.8f, 0, 0},
        {20, 0.6f, 0.3f, 0, 0},  // 17, 18
        {1.05f, 0, 0, 0, 0},
        {1.25f, 0, 0, 0, 0},  // 19, 20
        {0.55f, 0, 0, 0, 0},
        {1.05f, 0, 0, 0, 0},  // 21, 22
        {450, 0.6f, 0.3f, 0, 0},
        {20, 0, 0, 0, 0},  // 23, 24
        {400, 0.6f, 0.3f, 0, 0},
        {240, 0.6f, 0.3f, 0, 0},  // 25, 26
        {240, 0.6f, 0.3f, 0, 0},
        {0.15f, 0.5f, 0.2f, 0.12f, 0.08f},  // 27, 28
        {120, 0.6f, 0.3f, 0, 0},
        {2, 1.5f, 2, 0, 0},  // 29, 30
        {0.1f, 1.5f, 0.8f, 0.6f, 0.4f},
        {0.02f, 0, 0, 0, 0},  // 31, 32
        {1, 1.5f, 0.8f, 0.6f, 0.4f},
        {0.03f, 0, 0, 0, 0},  // 33, 34
        {3, 1.5f, 0.8f, 0.6f, 0.4f},
        {0.03f, 0, 0, 0, 0},  // 35, 36
        {1, 1.5f, 0.8f, 0.6f, 0.4f},
        {0.02f, 0, 0, 0, 0},  // 37, 38
        {1, 1.5f, 0.8f, 0.6f, 0.4f},
        {0.02f, 0, 0, 0, 0},  // 39, 40
        {1, 1.5f, 0.8f, 0.6f, 0.4f},
        {0.02f, 0, 0, 0, 0},  // 41, 42
        {0.01f, 1.5f, 0.8f, 0, 0},
        {0.5f, 0.9f, 0.8f, 0.7f, 0.6f},  // 43, 44
    };
    for (int k = 1; k <= 44; ++k) {
        book.gong[k] = gong[k - 1];
    }
    const float zhi[] = {8000, 9200, 7800, 5800, 5000, 5500, 8000, 7000, 5600};
    for (int i = 1; i <= 50; ++i) {
        book.zhi[i] = withManagementFee(i <= 9 ? zhi[i - 1] : 8000, 15);
    }
    for (int i = 1; i <= 10; ++i) {
        book.zhibu[i] = withManagementFee(i == 1 ? 1.2f : 2, 15);
    }
    return book;
}

}  // namespace inkquot::testing

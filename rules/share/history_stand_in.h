// Stand-in for the price history's snapshot type until that work is merged; removed then.
#pragma once

#include <array>
#include <chrono>
#include <string>

#include "core/catalogue.h"

namespace ledgerly {

using UtcSeconds = std::chrono::sys_seconds;

struct PriceSnapshot {
    UtcSeconds time{};
    int tp = 0;
    std::string source;
    std::array<float, kCommodityCount + 1> prices{};
};

}  // namespace ledgerly

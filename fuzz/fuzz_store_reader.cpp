// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the trade values file reader. Besides crashes and sanitizer reports it
// stops on any broken promise of the reader:
// - a failed read says why and leaves the table exactly as it was;
// - a successful read stores only finite numbers (anything that would overflow a float is
//   rejected), leaves the unstored column 0 alone, and after the start-up pass every value is at
//   least 1 and every stamp is 10 or at least 11;
// - whatever the reader accepted, the writer turns into a file the reader accepts again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/store_file.h"
#include "core/trade_data.h"

namespace {

using namespace ledgerly;

[[noreturn]] void broken(const char* promise, int tp, int c) {
    std::fprintf(stderr, "store reader broke its promise: %s (post %d, commodity %d)\n", promise,
                 tp, c);
    std::abort();
}

void require(bool kept, const char* promise, int tp = 0, int c = 0) {
    if (!kept)
        broken(promise, tp, c);
}

// Distinct, recognisable contents, so a read that touches anything it should not is noticed.
float sentinelValue(int tp, int c) {
    return static_cast<float>(tp * 1000 + c) + 0.25F;
}
float sentinelStamp(int tp) {
    return static_cast<float>(500000 + tp);
}

void fillSentinels(TradeData& data) {
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 0; c <= kCommodityCount; ++c)
            data.setValue(tp, c, sentinelValue(tp, c));
        data.setStamp(tp, sentinelStamp(tp));
    }
}

void checkUntouched(const TradeData& data) {
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 0; c <= kCommodityCount; ++c) {
            require(data.value(tp, c) == sentinelValue(tp, c), "failed read kept the table", tp, c);
        }
        require(data.stamp(tp) == sentinelStamp(tp), "failed read kept the stamps", tp);
    }
}

void checkAccepted(TradeData& data) {
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        require(data.value(tp, 0) == sentinelValue(tp, 0), "column 0 is not read", tp, 0);
        for (int c = 1; c <= kCommodityCount; ++c) {
            require(std::isfinite(data.value(tp, c)), "values read are finite", tp, c);
        }
        require(std::isfinite(data.stamp(tp)), "stamps read are finite", tp);
    }

    data.raiseLowValues();
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 0; c <= kCommodityCount; ++c) {
            require(data.value(tp, c) >= kNeverValued, "raised values are at least 1", tp, c);
        }
        const float stamp = data.stamp(tp);
        require(stamp == kNeverValuedStamp || stamp >= 11.0F, "raised stamps are 10 or >= 11", tp);
    }

    TradeData reread;
    const auto problem = readStoreText(storeText(data), reread);
    if (problem)
        std::fprintf(stderr, "%s\n", problem->c_str());
    require(!problem, "the reader accepts what the writer wrote");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    TradeData data;
    fillSentinels(data);
    const auto problem = readStoreText(text, data);
    if (problem) {
        require(!problem->empty(), "a failed read says why");
        checkUntouched(data);
    } else {
        checkAccepted(data);
    }
    return 0;
}

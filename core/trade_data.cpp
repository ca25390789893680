// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/trade_data.h"

#include <cassert>
#include <cmath>

namespace ledgerly {
namespace {

std::size_t cpmIndex(int a, int b, int k) {
    assert(isTradingPost(a) && isTradingPost(b) && isGoodsSlot(k));
    return (static_cast<std::size_t>(a) * (kTradingPostCount + 1) + static_cast<std::size_t>(b)) *
               (kGoodsSlotCount + 1) +
           static_cast<std::size_t>(k);
}

}  // namespace

std::int32_t& ReportBuffers::cpm(int a, int b, int k) {
    return cpm_[cpmIndex(a, b, k)];
}
std::int32_t ReportBuffers::cpm(int a, int b, int k) const {
    return cpm_[cpmIndex(a, b, k)];
}

float TradeData::value(int tp, int c) const {
    assert(isTradingPost(tp) && isCommodity(c));
    return values_[static_cast<std::size_t>(tp)][static_cast<std::size_t>(c)];
}

void TradeData::setValue(int tp, int c, float v) {
    assert(isTradingPost(tp) && isCommodity(c));
    values_[static_cast<std::size_t>(tp)][static_cast<std::size_t>(c)] = v;
}

float TradeData::stamp(int tp) const {
    assert(isTradingPost(tp));
    return stamps_[static_cast<std::size_t>(tp)];
}

void TradeData::setStamp(int tp, float hours) {
    assert(isTradingPost(tp));
    stamps_[static_cast<std::size_t>(tp)] = hours;
}

void TradeData::setDefaults() {
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 1; c <= kCommodityCount; ++c)
            setValue(tp, c, kNeverValued);
        setStamp(tp, kNeverValuedStamp);
    }
}

void TradeData::raiseLowValues() {
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 0; c <= kCommodityCount; ++c) {
            const float v = value(tp, c);
            // Written as "not at least 1" so that NaN is replaced too.
            if (!(v >= kNeverValued))
                setValue(tp, c, kNeverValued);
        }
        const float s = stamp(tp);
        if (!(s >= 11.0F))
            setStamp(tp, kNeverValuedStamp);
    }
}

}  // namespace ledgerly

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The fixed world of the game: trading posts, commodities, what each post sells and how
// many moves lie between two posts. Constant data, indexed from 1 like the rest of the program
// (the commodity axis starts at the placeholder 0, "none").
#pragma once

#include <string_view>

namespace ledgerly {

inline constexpr int kTradingPostCount = 19;
inline constexpr int kCommodityCount = 88;
inline constexpr int kGoodsSlotCount = 5;
inline constexpr int kNoRouteMoves = 100000;

struct TradingPost {
    std::string_view listLabel;  // item text of every trading-post picker
    std::string_view townName;   // short name used in report rows and exports
    std::string_view shopName;   // the shop's title as the game prints it
};

constexpr bool isTradingPost(int tp) {
    return tp >= 1 && tp <= kTradingPostCount;
}
constexpr bool isCommodity(int c) {
    return c >= 0 && c <= kCommodityCount;
}
constexpr bool isGoodsSlot(int k) {
    return k >= 1 && k <= kGoodsSlotCount;
}

// tp must be 1..19.
const TradingPost& tradingPost(int tp);

// c must be 0..88; 0 is "none", the content of an empty goods slot.
std::string_view commodityName(int c);

// The commodity that post tp sells in slot k (1..5); 0 for an empty slot.
int goodsSlot(int tp, int k);

// The trading post that sells commodity c (1..88), or 0 when no post sells it (c = 0).
int sellerOf(int c);

// Travel moves from post a to post b (both 1..19). Never 0.
int moves(int a, int b);

}  // namespace ledgerly

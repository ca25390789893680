// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/catalogue.h"

#include <array>
#include <cassert>

namespace ledgerly {
namespace {

// clang-format off
constexpr std::array<TradingPost, kTradingPostCount + 1> kTradingPosts{{
    {"", "", ""},
    {"Caldmoor", "Caldmoor", "Caldmoor Trading Shop"},
    {"Elven Marketplace", "Elven Marketplace", "An Elven Marketplace"},
    {"Ranger's Cabin", "Ranger's Cabin", "A Ranger's Cabin"},
    {"Riverton", "Riverton", "Riverton Trading Partners"},
    {"Tanivsport(Mystara)", "Mystara", "Tanivsport Traders"},
    {"Vanlarra", "Vanlarra", "Vanlarra Imports and Exports"},
    {"Lizard's(Lyryanoth)", "Lyryanoth", "The Lizard Boulangere"},
    {"Temple Shop(Elwyn)", "Elwyn", "A Quiet Temple Shop"},
    {"Dark Army(New Genesia)", "New Genesia", "Trading Post of the Dark Army"},
    {"Hidden Valley(Ruellia)", "Ruellia", "Hidden Valley Traders"},
    {"Ur-Vile(Thanos)", "Thanos", "Ur-vile Feeding Hall"},
    {"New Ashton", "New Ashton", "New Ashton Trading Post"},
    {"Trellor", "Trellor", "Trading Shop of Trellor City"},
    {"Karlisna", "Karlisna", "Trading Post of the City of Karlisna"},
    {"Gdangus", "Gdangus", "The Trading Post of Gdangus"},
    {"Sea's End", "Sea's End", "Sea's End Direct Merchants"},
    {"Derah", "Derah", "DeRah Villadom's Small Trading Post"},
    {"Hidden City(Old Wizard's Cart)", "Hidden City", "The Hidden City Tradeshop"},
    {"Minotaur(NaeraMae)", "NaeraMae", "A Minotaur Trading Outpost"},
}};

// The order is part of the store file's layout; it is not alphabetical everywhere.
constexpr std::array<std::string_view, kCommodityCount + 1> kCommodityNames{{
    "none",      "Adamantite", "Ale",        "Aloe",      "Ambergris", "Armor",     "Arrows",
    "Art",       "Artifacts",  "Balm",       "Bananas",   "Beans",     "Beer",      "Books",
    "Bows",      "Brandy",     "Candles",    "Carpet",    "Chains",    "Cloaks",    "Cloth",
    "Coal",      "Copper",     "Crystal",    "Dates",     "Eggs",      "Emeralds",  "Fans",
    "Fertilizer", "Figs",      "Furs",       "Fish",      "Flowers",   "Glowworms", "Grapes",
    "Hemp",      "Herbs",      "Hides",      "Honey",     "Incense",   "Ink",       "Iron",
    "Illutian",  "Ivory",      "Jewels",     "Kelp",      "Maps",      "Mead",      "Metals",
    "Molasses",  "Mushrooms",  "Nails",      "Nets",      "Nuts",      "Oils",      "Opals",
    "Opium",     "Parchment",  "Pearls",     "Pelts",     "Perfume",   "Quills",    "Quilts",
    "Raisins",   "Rations",    "Rice",       "Rope",      "Rum",       "Salt",      "Sap",
    "Seed",      "Shells",     "Silicate",   "Silk",      "Silkworms", "Silver",    "Spices",
    "Sugar",     "Tar",        "Teak",       "Timber",    "Tobacco",   "Tools",     "Venom",
    "Weapons",   "Willowbark", "Wine",       "Waybread",  "Wands",
}};

constexpr int kGoods[kTradingPostCount + 1][kGoodsSlotCount + 1] = {
    {0, 0, 0, 0, 0, 0},
    {0, 2, 63, 68, 77, 78},   {0, 6, 7, 14, 32, 57},    {0, 30, 43, 64, 69, 80},
    {0, 15, 28, 34, 38, 48},  {0, 17, 31, 46, 58, 79},  {0, 23, 29, 49, 67, 88},
    {0, 25, 33, 37, 50, 83},  {0, 3, 9, 61, 0, 0},      {0, 1, 21, 41, 56, 82},
    {0, 19, 26, 66, 85, 87},  {0, 0, 0, 0, 0, 0},       {0, 22, 44, 51, 72, 75},
    {0, 39, 40, 54, 60, 86},  {0, 12, 13, 20, 24, 76},  {0, 10, 11, 65, 70, 81},
    {0, 4, 45, 52, 55, 71},   {0, 8, 16, 35, 36, 53},   {0, 42, 73, 27, 74, 62},
    {0, 5, 18, 47, 59, 84},
};

constexpr int X = kNoRouteMoves;
constexpr int kMoves[kTradingPostCount + 1][kTradingPostCount + 1] = {
    {},
    {0, X, 227, 300, 560, 563, 781, 1085, 530, 635, 964, X, 743, 1223, 1230, 1300, 1560, 1050, 310, X},
    {0, 227, X, 510, 755, 758, 977, 1226, 660, 736, 1065, X, 647, 1127, 1099, 1210, 1490, 1208, 458, X},
    {0, 300, 510, X, 590, 570, 940, 1250, 810, 930, 1260, X, 1070, 1540, 960, 1050, 1320, 1330, 600, X},
    {0, 560, 755, 590, X, 300, 515, 1635, 1090, 1185, 1514, X, 1293, 1773, 1110, 1190, 1460, 1600, 860, X},
    {0, 563, 758, 570, 300, X, 280, 1638, 1093, 1188, 1517, X, 1296, 1776, 1290, 1370, 1640, 1603, 863, X},
    {0, 781, 977, 940, 515, 280, X, 1850, 1313, 1408, 1737, X, 1510, 1996, 1510, 1590, 1860, 1823, 1083, X},
    {0, 1085, 1226, 1250, 1635, 1638, 1850, X, 625, 1720, 2050, X, 1825, 2290, 2305, 2390, 2635, 1650, 920, X},
    {0, 530, 660, 810, 1090, 1093, 1313, 625, X, 1080, 1390, X, 1240, 1720, 1730, 1800, 2090, 1100, 350, X},
    {0, 635, 736, 930, 1185, 1188, 1408, 1720, 1080, X, 380, X, 1200, 1500, 1750, 1910, 2190, 1630, 755, X},
    {0, 964, 1065, 1260, 1514, 1517, 1737, 2050, 1390, 380, X, X, 1500, 1800, 2150, 2210, 2390, 1930, 1055, X},
    {0, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, 1000000},
    {0, 743, 647, 1070, 1293, 1296, 1510, 1825, 1240, 1200, 1500, X, X, 475, 1550, 1650, 1930, 1760, 1020, X},
    {0, 1223, 1127, 1540, 1773, 1776, 1996, 2290, 1720, 1500, 1800, X, 475, X, 1250, 1380, 1650, 2245, 1495, X},
    {0, 1230, 1099, 960, 1110, 1290, 1510, 2305, 1730, 1750, 2150, X, 1550, 1250, X, 840, 1120, 2210, 1500, X},
    {0, 1300, 1210, 1050, 1190, 1370, 1590, 2390, 1800, 1910, 2210, X, 1650, 1380, 840, X, 660, 2350, 1590, X},
    {0, 1560, 1490, 1320, 1460, 1640, 1860, 2635, 2090, 2190, 2390, X, 1930, 1650, 1120, 660, X, 2600, 1860, X},
    {0, 1050, 1208, 1330, 1600, 1603, 1823, 1650, 1100, 1630, 1930, X, 1760, 2245, 2210, 2350, 2600, X, 850, X},
    {0, 310, 458, 600, 860, 863, 1083, 920, 350, 755, 1055, X, 1020, 1495, 1500, 1590, 1860, 850, X, X},
    {0, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X, X},
};

// clang-format on

}  // namespace

const TradingPost& tradingPost(int tp) {
    assert(isTradingPost(tp));
    return kTradingPosts[static_cast<std::size_t>(tp)];
}

std::string_view commodityName(int c) {
    assert(isCommodity(c));
    return kCommodityNames[static_cast<std::size_t>(c)];
}

int goodsSlot(int tp, int k) {
    assert(isTradingPost(tp) && isGoodsSlot(k));
    return kGoods[tp][k];
}

int sellerOf(int c) {
    if (c < 1 || c > kCommodityCount)
        return 0;
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int k = 1; k <= kGoodsSlotCount; ++k) {
            if (kGoods[tp][k] == c)
                return tp;
        }
    }
    return 0;
}

int moves(int a, int b) {
    assert(isTradingPost(a) && isTradingPost(b));
    return kMoves[a][b];
}

}  // namespace ledgerly

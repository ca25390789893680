// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "rules/reports/all_payoffs.h"

#include "core/catalogue.h"
#include "core/number_text.h"
#include "rules/reports/payoff_measures.h"

namespace ledgerly {

const std::array<AllPayoffsFrame, kAllPayoffsFrames + 1> kAllPayoffsFrameTable{{
    {"", 0},
    {"Caldmoor Values", 1},
    {"Elven Marketplace", 2},
    {"Ranger's Cabin", 3},
    {"Riveron", 4},
    {"Tanivsport(Mystara)", 5},
    {"Vanlarra", 6},
    {"Lizard's(Lyrynoth)", 7},
    {"Temple Shop(Elwyn)", 8},
    {"Dark Army(New Genesia)", 9},
    {"Hidden Valley(Ruellia)", 10},
    {"New Ashton", 12},
    {"Trellor", 13},
    {"Karlisna", 14},
    {"Gdangus", 15},
    {"Sea's End", 16},
    {"Derah", 17},
    {"Hidden City(Old Wizard's)", 18},
    {"Minotaur(NaeraMae)", 19},
}};

namespace {

// Temple Shop's two empty slots: no commodity, so no name or payoff is shown for them and their
// boxes keep the band every box starts a run with.
constexpr bool isEmptyTempleShopBox(int n) {
    return n == 39 || n == 40;
}

}  // namespace

std::optional<AllPayoffsView> allPayoffsTo(TradeData& data, const Clock& clock, int destination,
                                           std::string_view decimalSeparator) {
    if (!isTradingPost(destination))
        return std::nullopt;
    const int d = destination;
    AllPayoffsView view;
    view.age = ageOfValuesFor(data, clock, d, decimalSeparator);

    for (int f = 1; f <= kAllPayoffsFrames; ++f) {
        const int s = kAllPayoffsFrameTable[static_cast<std::size_t>(f)].sourceTp;
        for (int k = 1; k <= kGoodsSlotCount; ++k) {
            const float value = payoff(data, s, k, d);
            const std::int32_t cpm = cpmOf(value, moves(s, d));
            data.buffers.cpm(s, d, k) = cpm;

            const int n = allPayoffsBox(f, k);
            AllPayoffsRowView& row = view.rows[static_cast<std::size_t>(n)];
            row.cpm = wholeText(cpm);
            if (isEmptyTempleShopBox(n))
                continue;
            row.cpmColour = colourBand(cpm, BoxKind::Cpm);
            row.value = singleText(value, decimalSeparator);
            row.valueColour = colourBand(shownSingle(value), BoxKind::AllPayoffsValue);
            row.name = std::string(commodityName(goodsSlot(s, k)));
        }
    }
    return view;
}

}  // namespace ledgerly

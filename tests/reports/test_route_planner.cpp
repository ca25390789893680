// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QTest>
#include <random>

#include "core/catalogue.h"
#include "rules/reports/route_planner.h"
#include "support/test_data.h"

using namespace ledgerly;
using namespace ledgerly::testing;

Q_DECLARE_METATYPE(ledgerly::RouteOptions)
Q_DECLARE_METATYPE(ledgerly::NoRouteReason)

namespace {

constexpr int kAle = 2;     // Caldmoor, slot 1
constexpr int kArrows = 6;  // Elven Marketplace, slot 1
constexpr int kBows = 14;   // Elven Marketplace, slot 3
constexpr float kHour = 36.0F;
constexpr float kHuge = 0x1p60F;
constexpr float kNextAfterOne = 0x1.000002p0F;             // 1 + 2^-23
const FixedClock kNoonOfFirstDay({2003, 1, 1, 12, 0, 0});  // hour 36 of the hour clock

TradeData table(const Prices& prices, const Stamps& stamps = {}) {
    TradeData data;
    setUpPrices(data, prices, stamps);
    return data;
}

RouteOptions route(int start, int legs, bool back, bool once, std::optional<double> age = {}) {
    return {start, legs, back, once, age};
}

// The oracle: every sequence of posts in post order, its legs and cargo worked out afresh, the
// first with the highest gold per move kept. Prices are whole or halves below 2^43, so twice
// the payoffs times the moves are exact in 64 bits.
std::optional<QList<int>> bruteForce(const TradeData& data, const RouteOptions& options,
                                     const std::array<bool, kTradingPostCount + 1>& fresh) {
    std::int64_t twicePays[kTradingPostCount + 1][kTradingPostCount + 1];
    for (int a = 1; a <= kTradingPostCount; ++a) {
        for (int b = 1; b <= kTradingPostCount; ++b) {
            twicePays[a][b] = -1;  // no leg
            if (a == b || moves(a, b) >= 100000 || (options.maxAgeHours && !fresh[b]))
                continue;
            for (int k = 1; k <= 5; ++k)
                if (goodsSlot(a, k) != 0)
                    twicePays[a][b] = std::max(twicePays[a][b],
                                               std::int64_t(2.0 * data.value(b, goodsSlot(a, k))));
        }
    }
    const int legs = options.legs;
    QList<int> posts(legs + 1, 1), best;
    posts[0] = options.start;
    std::int64_t bestPayoff = 0, bestMoves = 1;
    for (;;) {
        bool fits = !options.backToStart || posts[legs] == options.start;
        std::int64_t payoff = 0, total = 0;
        for (int i = 1; fits && i <= legs; ++i) {
            const int a = posts[i - 1], b = posts[i];
            const bool repeated =
                posts.indexOf(b) < i && !(options.backToStart && i == legs && b == posts[0]);
            fits = twicePays[a][b] >= 0 && !(options.eachPostOnce && repeated);
            payoff += fits ? twicePays[a][b] : 0;
            total += fits ? moves(a, b) : 0;
        }
        if (fits && (best.isEmpty() || payoff * bestMoves > bestPayoff * total)) {
            best = posts;
            bestPayoff = payoff;
            bestMoves = total;
        }
        int i = legs;
        while (i > 0 && posts[i] == kTradingPostCount)
            posts[i--] = 1;
        if (i == 0)
            break;
        ++posts[i];
    }
    return best.isEmpty() ? std::nullopt : std::optional(best);
}

QList<int> listOf(const std::optional<RoutePosts>& posts) {
    return posts ? QList<int>(posts->begin(), posts->end()) : QList<int>();
}

QString cells(std::initializer_list<std::string> texts, BandColour band) {
    static const char* const kBands[] = {"red", "yellow", "green", "blue"};
    QStringList row;
    for (const std::string& text : texts)
        row << QString::fromStdString(text);
    return row.join('|') + '/' + kBands[int(band)];
}

}  // namespace

class RoutePlannerTest : public QObject {
    Q_OBJECT
private slots:
    // Over a table never valued but for the prices given; an empty route is none at all.
    void bestRoute_data() {
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<Stamps>("stamps");
        QTest::addColumn<RouteOptions>("options");
        QTest::addColumn<QList<int>>("posts");
        QTest::addColumn<NoRouteReason>("reason");
        const auto none = NoRouteReason::None;
        QTest::newRow("never valued: the loop of fewest moves; its reverse ties and comes later")
            << Prices{} << Stamps{} << route(1, 3, true, false) << QList<int>{1, 2, 18, 1} << none;
        QTest::newRow("an empty slot carries nothing, however much it would fetch")
            << Prices{{2, 0, 1000000}} << Stamps{} << route(8, 1, false, false) << QList<int>{8, 18}
            << none;
        QTest::newRow("prices exactly N hours old stay, a hundredth older go")
            << Prices{{2, kAle, 10000}, {18, kAle, 10000}, {3, kAle, 9000}}
            << Stamps{{0, 35}, {2, 11.99F}, {18, 12}} << route(1, 1, false, false, 24)
            << QList<int>{1, 18} << none;
        QTest::newRow("never valued is older than any N")
            << Prices{{2, kAle, 10000}, {18, kAle, 10000}} << Stamps{{0, 35}, {2, 10}}
            << route(1, 1, false, false, 99999) << QList<int>{1, 18} << none;
        // 2^60 + 2 and 2^60 + 2 + 2^-23 are one number in double precision.
        QTest::newRow("huge and small prices compared exactly")
            << Prices{{2, kAle, kHuge}, {18, kAle, kHuge}, {1, kArrows, kNextAfterOne}} << Stamps{}
            << route(1, 3, true, false) << QList<int>{1, 18, 2, 1} << none;
        QTest::newRow("a price of 2^60 elsewhere changes no comparison")
            << Prices{{2, kAle, 4000000},
                      {18, kAle, 0x1p22F},
                      {3, kArrows, kHuge},
                      {4, kArrows, 1.25F}}
            << Stamps{} << route(1, 1, false, false) << QList<int>{1, 2} << none;
        QTest::newRow("three quarters of 2^62, a quarter fewer moves away, wins")
            << Prices{{18, kAle, 0x1p62F}, {2, kAle, 0x1.8p61F}, {1, kArrows, kNextAfterOne}}
            << Stamps{} << route(1, 1, false, false) << QList<int>{1, 2} << none;
        QTest::newRow("eight legs of 2^48 each")
            << Prices{{2, kAle, 0x1p48F}, {1, kArrows, 0x1p48F}} << Stamps{}
            << route(1, 8, false, false) << QList<int>{1, 2, 1, 2, 1, 2, 1, 2, 1} << none;
        QTest::newRow("a start that sells nothing")
            << Prices{} << Stamps{} << route(11, 3, false, false) << QList<int>{}
            << NoRouteReason::StartSellsNothing;
        QTest::newRow("a start no route leaves")
            << Prices{} << Stamps{} << route(19, 3, false, false) << QList<int>{}
            << NoRouteReason::NoWayOut;
        QTest::newRow("one leg back to the start")
            << Prices{} << Stamps{} << route(1, 1, true, true) << QList<int>{}
            << NoRouteReason::OneLegCannotReturn;
        QTest::newRow("each post once, with two posts fresh enough for three legs")
            << Prices{} << Stamps{{2, 35}, {3, 35}} << route(1, 3, false, true, 24) << QList<int>{}
            << NoRouteReason::FiltersLeaveNone;
        QTest::newRow("nine legs") << Prices{} << Stamps{} << route(1, 9, false, false)
                                   << QList<int>{} << NoRouteReason::OutOfRange;
    }
    void bestRoute() {
        QFETCH(Prices, prices);
        QFETCH(Stamps, stamps);
        QFETCH(RouteOptions, options);
        QFETCH(QList<int>, posts);
        QFETCH(NoRouteReason, reason);
        const TradeData data = table(prices, stamps);
        QCOMPARE(listOf(ledgerly::bestRoute(data, kHour, options)), posts);
        const RoutePlanView view = ledgerly::planRoute(data, kNoonOfFirstDay, options);
        QCOMPARE(view.noRoute, reason);
        QCOMPARE(view.legs.size(), std::size_t(std::max(0, int(posts.size()) - 1)));
        QCOMPARE(view.noRouteText.empty(), reason == NoRouteReason::None);
    }

    // Random tables, some with many ties; most prices are halves, one in eight a whole number of
    // the row's unit; some posts never valued or too old for the filter.
    void agreesWithBruteForce_data() {
        QTest::addColumn<RouteOptions>("options");  // any start
        QTest::addColumn<int>("distinctPrices");
        QTest::addColumn<float>("priceUnit");
        QTest::newRow("2 legs back, few prices") << route(0, 2, true, false) << 3 << 1.0F;
        QTest::newRow("3 legs once and back, few prices") << route(0, 3, true, true) << 4 << 1.0F;
        QTest::newRow("3 legs, huge prices") << route(0, 3, false, false) << 4096 << 0x1p30F;
        QTest::newRow("4 legs, many prices") << route(0, 4, false, false) << 65536 << 1.0F;
        QTest::newRow("4 legs back, age filter") << route(0, 4, true, false, 24) << 3 << 1.0F;
        QTest::newRow("4 legs once, age filter") << route(0, 4, false, true, 24) << 65536 << 1.0F;
        QTest::newRow("4 legs once and back, huge prices")
            << route(0, 4, true, true) << 4096 << 0x1p30F;
    }
    void agreesWithBruteForce() {
        QFETCH(RouteOptions, options);
        QFETCH(int, distinctPrices);
        QFETCH(float, priceUnit);
        std::mt19937 random(20261206 + options.legs);
        for (int run = 0; run < 12; ++run) {
            TradeData data = table({});
            std::array<bool, kTradingPostCount + 1> fresh{};
            for (int tp = 1; tp <= kTradingPostCount; ++tp) {
                const int kind = int(random() % 5);  // fresh three times, too old, never valued
                fresh[tp] = kind < 3;
                data.setStamp(tp, kind < 3 ? kHour - 1 : kind == 3 ? kHour - 25 : 10);
                for (int c = 1; c <= kCommodityCount; ++c)
                    if (random() % 8 != 0)
                        data.setValue(tp, c,
                                      1 + (random() % 2 != 0 ? priceUnit : 0.5F) *
                                              float(random() % distinctPrices));
            }
            options.start = 1 + int(random() % kTradingPostCount);
            QCOMPARE(listOf(ledgerly::bestRoute(data, kHour, options)),
                     bruteForce(data, options, fresh).value_or(QList<int>()));
        }
    }

    // 342842.5 gold over 685 moves: 500.5 per move. The legs, then payoff|moves|gold per move,
    // each cell as shown and the last with its band.
    void planRoute() {
        const TradeData data =
            table({{2, kAle, 113.5F}, {18, kArrows, 342729}, {18, kBows, 342729}}, {{2, 32.75F}});
        const RoutePlanView view =
            ledgerly::planRoute(data, kNoonOfFirstDay, route(1, 2, false, false), ",");
        QStringList got;
        for (const RouteLegView& leg : view.legs)
            got << cells({std::to_string(leg.number), leg.from, leg.to, leg.cargo, leg.value,
                          leg.moves, leg.age.text},
                         leg.age.colour);
        got << cells({view.totalPayoff, view.totalMoves, view.goldPerMove.text},
                     view.goldPerMove.colour);
        // Halves to the even neighbour; a tie keeps the lower slot; 500 is yellow.
        QCOMPARE(got,
                 QStringList({"1|Caldmoor|Elven Marketplace|Ale|113,5|227|3,25/yellow",
                              "2|Elven Marketplace|Hidden City|Arrows|342729|458|never valued/red",
                              "342842|685|500/yellow"}));
    }
};

QTEST_APPLESS_MAIN(RoutePlannerTest)
#include "test_route_planner.moc"

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QTest>

#include "core/catalogue.h"
#include "rules/export/export_lines.h"
#include "rules/reports/all_payoffs.h"
#include "rules/reports/run_picker.h"
#include "rules/reports/top_forty_reports.h"
#include "support/test_data.h"

using namespace ledgerly;
using namespace ledgerly::testing;
using enum BandColour;

namespace {

const FixedClock kClock;  // 6 December 2026, 12:00: 209652 on the hour clock

// A top-40 report over the data and the chosen post, as its window runs it, with a comma.
using Ranking = std::optional<RankingReportView> (*)(TradeData& data, int chosen);

std::optional<RankingReportView> payoffsTo(TradeData& data, int tp) {
    return topPayoffsTo(data, kClock, tp, ",");
}
std::optional<RankingReportView> cpmTo(TradeData& data, int tp) {
    return topCpmTo(data, kClock, tp, ",");
}
std::optional<RankingReportView> payoffsToAny(TradeData& data, int) {
    return topPayoffsToAny(data);
}
std::optional<RankingReportView> cpmToAny(TradeData& data, int) {
    return topCpmToAny(data);
}

using Bands = QList<std::pair<double, BandColour>>;

// The earlier report every test follows: Caldmoor's slot 3 left in every row of the shared
// list, -7 in every CPM cell and hour 123 in the clock's scratch. Then the test's prices.
TradeData after(const Prices& prices, const Stamps& stamps = {}) {
    TradeData data;
    setUpPrices(data, prices, stamps);
    data.buffers.ranking.fill({999, 1, 3, 7});
    data.buffers.hourClockScratch = 123;
    for (int a = 1; a <= kTradingPostCount; ++a)
        for (int b = 1; b <= kTradingPostCount; ++b)
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                data.buffers.cpm(a, b, k) = -7;
    return data;
}

int cpmCellsLeft(const TradeData& data) {
    int left = 0;
    for (int a = 1; a <= kTradingPostCount; ++a)
        for (int b = 1; b <= kTradingPostCount; ++b)
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                left += data.buffers.cpm(a, b, k) == -7;
    return left;
}

QString text(const std::optional<std::string>& shown) {
    return shown ? QString::fromStdString(*shown) : QStringLiteral("<kept>");
}

// A top-40 row as shown, left to right: name, value/band, post and, where the window has that
// box, destination; "<kept>" for what the report leaves as it was.
QString shown(const RankedRowView& row) {
    static const char* const kBands[] = {"red", "yellow", "green", "blue"};
    const QString shown = text(row.name) + '|' + QString::fromStdString(row.value) + '/' +
                          kBands[int(row.colour)] + '|' + text(row.tradingPost);
    return row.destination ? shown + '|' + QString::fromStdString(*row.destination) : shown;
}

void compareListRow(const RankingRow& row, const RankingRow& want) {
    QCOMPARE(QList<int>({row.value, row.sourceTp, row.slot, row.destinationTp}),
             QList<int>({want.value, want.sourceTp, want.slot, want.destinationTp}));
}

}  // namespace

Q_DECLARE_METATYPE(Ranking)
Q_DECLARE_METATYPE(Bands)
Q_DECLARE_METATYPE(ledgerly::BoxKind)
Q_DECLARE_METATYPE(ledgerly::RankingRow)

class ReportsTest : public QObject {
    Q_OBJECT
private slots:
    // Each box kind at its thresholds and just above them: every test is strictly greater.
    void colourBands_data() {
        QTest::addColumn<BoxKind>("kind");
        QTest::addColumn<Bands>("bands");
        QTest::newRow("age") << BoxKind::AgeOfValues
                             << Bands{{0.5, Blue},    {0.51, Green}, {2, Green},
                                      {2.01, Yellow}, {4, Yellow},   {4.01, Red}};
        QTest::newRow("ranked payoff")
            << BoxKind::RankedPayoff << Bands{{250000, Red},   {250001, Yellow}, {500000, Yellow},
                                              {500001, Green}, {1000000, Green}, {1000001, Blue}};
        QTest::newRow("all-payoffs value")
            << BoxKind::AllPayoffsValue
            << Bands{{200000, Red},     {200000.5, Yellow}, {500000, Yellow},
                     {500000.5, Green}, {1000000, Green},   {1000000.5, Blue}};
        QTest::newRow("CPM") << BoxKind::Cpm << Bands{{300, Red},   {301, Yellow}, {500, Yellow},
                                                      {501, Green}, {700, Green},  {701, Blue}};
    }
    void colourBands() {
        QFETCH(BoxKind, kind);
        QFETCH(Bands, bands);
        for (const auto& [shown, band] : bands)
            QVERIFY2(colourBand(shown, kind) == band, qPrintable(QString::number(shown)));
    }

    // The first rows of each top-40 report, in the order its loops meet equal figures, and row 40
    // of the shared list after it. Rows no haul reached show 1 in red and nothing derived from the
    // posts an earlier report left in the list. Reports with an age keep the clock's reading.
    void topForty_data() {
        QTest::addColumn<Ranking>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<RankingRow>("left");
        // The reset writes slot 1, which the convert step turns into Caldmoor's first good, Ale.
        const RankingRow reset{1, 1, 2, 7};
        const Ranking payoffsFrom = &topPayoffsFrom, cpmFrom = &topCpmFrom;
        Prices everyPrice;  // 100 plus the paying post's number
        for (int tp = 1; tp <= kTradingPostCount; ++tp)
            for (int c = 1; c <= kCommodityCount; ++c)
                everyPrice.push_back({tp, c, 100.0F + static_cast<float>(tp)});
        QTest::newRow(
            "payoff to: own goods first; 250000.5 halves to even; 100.3 beats a stored 100")
            << &payoffsTo << 1 << Prices{{1, 61, 250000.5F}, {1, 68, 900},    {1, 88, 900},
                                         {1, 2, 100.4F},     {1, 63, 100.3F}, {1, 6, 1.4F}}
            << QStringList{"Quills|250000/red|Elwyn",
                           "Salt|900/red|Caldmoor",
                           "Wands|900/red|Vanlarra",
                           "Raisins|100/red|Caldmoor",
                           "Ale|100/red|Caldmoor",
                           "Arrows|1/red|Elven Marketplace",
                           "|1/red|"}
            << reset;
        QTest::newRow("payoff from: lower destination, then lower slot; own post counts")
            << payoffsFrom << 8
            << Prices{{12, 61, 700}, {11, 3, 800}, {8, 9, 650}, {4, 3, 700}, {4, 61, 700}}
            << QStringList{"Aloe|800/red|Thanos",     "Aloe|700/red|Riverton",
                           "Quills|700/red|Riverton", "Quills|700/red|New Ashton",
                           "Balm|650/red|Elwyn",      "|1/red|"}
            << reset;
        QTest::newRow("payoff from Temple Shop: the 40 best of 57")
            << payoffsFrom << 8 << everyPrice << QStringList{"Aloe|119/red|NaeraMae"}
            << RankingRow{106, 8, 3, 6};
        QTest::newRow("payoff any: destination, source, slot; too large clamps in order; last post")
            << &payoffsToAny << 0
            << Prices{{19, 84, 7000}, {2, 78, 5000}, {2, 6, 5000}, {2, 2, 5000},
                      {3, 2, 5000},   {1, 7, 5e12F}, {1, 6, 3e12F}}
            << QStringList{"Arrows|2147483647/blue|Elven Marketplace|Caldmoor",
                           "Art|2147483647/blue|Elven Marketplace|Caldmoor",
                           "Weapons|7000/red|NaeraMae|NaeraMae",
                           "Ale|5000/red|Caldmoor|Elven Marketplace",
                           "Tar|5000/red|Caldmoor|Elven Marketplace",
                           "Arrows|5000/red|Elven Marketplace|Elven Marketplace",
                           "Ale|5000/red|Caldmoor|Ranger's Cabin",
                           "|1/red||"}
            << RankingRow{1, 1, 2, 0};
        // 90800 over 227 moves, 120000 over 300 and 204000 over 510 all make 400.
        QTest::newRow("cpm to: lower source, then lower slot")
            << &cpmTo << 1 << Prices{{1, 30, 120000}, {1, 7, 90800}, {1, 6, 90800}}
            << QStringList{"Arrows|400/yellow|Elven Marketplace",
                           "Art|400/yellow|Elven Marketplace", "Furs|400/yellow|Ranger's Cabin",
                           "|1/red|"}
            << reset;
        QTest::newRow("cpm to the last post, from itself")
            << &cpmTo << 19 << Prices{{19, 84, 150000}} << QStringList{"Weapons|2/red|NaeraMae"}
            << reset;
        QTest::newRow("cpm from: lower destination, then slot; the rest name the first good")
            << cpmFrom << 2 << Prices{{3, 7, 204000}, {1, 14, 90800}, {1, 6, 90800}}
            << QStringList{"Arrows|400/yellow|Caldmoor", "Bows|400/yellow|Caldmoor",
                           "Art|400/yellow|Ranger's Cabin", "Arrows|1/red|"}
            << RankingRow{1, 1, 1, 7};
        QTest::newRow("cpm any: lower destination first; the rest keep their name label")
            << &cpmToAny << 0 << Prices{{2, 2, 90800}, {1, 30, 120000}, {1, 6, 90800}}
            << QStringList{"Arrows|400/yellow|Elven Marketplace|Caldmoor",
                           "Furs|400/yellow|Ranger's Cabin|Caldmoor",
                           "Ale|400/yellow|Caldmoor|Elven Marketplace", "<kept>|1/red||"}
            << RankingRow{1, 1, 0, 7};
        QTest::newRow("cpm any: own goods at 150000 make 1.5 and enter as 2, the last post's too")
            << &cpmToAny << 0 << Prices{{2, 6, 150000}, {19, 84, 150000}}
            << QStringList{"Arrows|2/red|Elven Marketplace|Elven Marketplace",
                           "Weapons|2/red|NaeraMae|NaeraMae"}
            << RankingRow{1, 1, 0, 7};
    }
    void topForty() {
        QFETCH(Ranking, report);
        QFETCH(int, chosen);
        QFETCH(Prices, prices);
        QFETCH(QStringList, rows);
        QFETCH(RankingRow, left);
        TradeData data = after(prices);
        const auto view = report(data, chosen);
        QStringList got;
        for (int r = 1; r <= rows.size(); ++r)
            got << shown(view->rows[r]);
        QCOMPARE(got, rows);
        compareListRow(data.buffers.ranking[kRankingRows], left);
        QCOMPARE(data.buffers.hourClockScratch == readHourClock(kClock),
                 report == &payoffsTo || report == &cpmTo);
        // The CPM lists fill the whole shared table first; the others leave it alone.
        const bool byCpm = report == &cpmTo || report == &cpmToAny || report == &topCpmFrom;
        QCOMPARE(cpmCellsLeft(data), byCpm ? 0 : 1805);
    }

    // Every haul into one post, box n = 5 x (frame - 1) + slot: name, value and CPM (moves from
    // the source). Frame f shows the goods of post f, skipping Thanos, which sells nothing.
    void allPayoffs_data() {
        QTest::addColumn<int>("destination");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<int>("box");
        QTest::addColumn<QStringList>("shown");        // name, value, CPM
        QTest::addColumn<QList<BandColour>>("bands");  // value, CPM
        QTest::newRow("Ranger's Cabin pays 4321.5 for Copper, 1070 moves away")
            << 3 << Prices{{3, 22, 4321.5F}} << 51 << QStringList{"Copper", "4321,5", "4"}
            << QList{Red, Red};
        QTest::newRow("Temple Shop's empty slots show only a CPM, of column 0")
            << 3 << Prices{{3, 0, 400000}} << 39 << QStringList{"<kept>", "<kept>", "494"}
            << QList{Red, Red};
        QTest::newRow("shown 1000000 stays green, though a little above")
            << 14 << Prices{{14, 63, 1000000.4F}} << 2 << QStringList{"Raisins", "1000000", "813"}
            << QList{Green, Blue};
    }
    void allPayoffs() {
        QFETCH(int, destination);
        QFETCH(Prices, prices);
        QFETCH(int, box);
        QFETCH(QStringList, shown);
        QFETCH(QList<BandColour>, bands);
        TradeData data = after(prices, {valuedAgo(kClock, destination, 1.25F)});
        const auto view = allPayoffsTo(data, kClock, destination, ",");
        const AllPayoffsRowView& row = view->rows[static_cast<std::size_t>(box)];
        QCOMPARE(QStringList({text(row.name), text(row.value), text(row.cpm)}), shown);
        QVERIFY(row.valueColour == bands[0] && row.cpmColour == bands[1]);
        QVERIFY(view->age.text == "1,25" && view->age.colour == Green);
        QCOMPARE(data.buffers.hourClockScratch, readHourClock(kClock));
        compareListRow(data.buffers.ranking[1], {999, 1, 3, 7});
        QCOMPARE(cpmCellsLeft(data), 1805 - 90);  // (source, destination, slot) for each box
        QVERIFY(data.buffers.cpm(1, destination, 1) != -7);
        QCOMPARE(text(view->rows[5].name), "Tar");  // no frame writes into another frame's boxes
        QStringList firstGoods;
        for (int f = 1; f <= kAllPayoffsFrames; ++f)
            firstGoods << text(view->rows[static_cast<std::size_t>(5 * f - 4)].name);
        QCOMPARE(firstGoods,
                 QStringList({"Ale", "Arrows", "Furs", "Brandy", "Carpet", "Crystal", "Eggs",
                              "Aloe", "Adamantite", "Cloaks", "Copper", "Incense", "Beer",
                              "Bananas", "Ambergris", "Artifacts", "Illutian", "Armor"}));
    }

    // The run picker ranks by value + 4000 x CPM; among equal scores the first met wins. Moves
    // from Elven Marketplace: Caldmoor 227, Ranger's Cabin 510, New Genesia 736.
    void runPicker_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<QStringList>("shown");  // Freight, To, Value, CPM
        QTest::newRow("a tie keeps the first met, though its value is lower (20 and 19 CPM)")
            << 2 << Prices{{3, 6, 10000}, {9, 6, 14000}}
            << QStringList{"Arrows", "Ranger's Cabin", "10000", "20"};
        QTest::newRow("a haul to the source itself, in the user's decimal comma")
            << 2 << Prices{{2, 6, 40000.5F}}
            << QStringList{"Arrows", "Elven Marketplace", "40000,5", "0"};
        QTest::newRow("from NaeraMae to Thanos, a million moves that way")
            << 19 << Prices{{11, 5, 1500000}} << QStringList{"Armor", "Thanos", "1500000", "2"};
        QTest::newRow("a price beyond 32 bits of CPM x 4000 still wins")
            << 2 << Prices{{1, 6, 3e9F}, {3, 6, 2e9F}}
            << QStringList{"Arrows", "Caldmoor", "3E+09", "13215859"};
        Prices nothing;
        for (int tp = 1; tp <= kTradingPostCount; ++tp)
            nothing.push_back({tp, 0, 0});
        QTest::newRow("no haul above 0 keeps Freight and To and empties Value and CPM")
            << 11 << nothing << QStringList{"<kept>", "<kept>", "", ""};
    }
    void runPicker() {
        QFETCH(int, source);
        QFETCH(Prices, prices);
        QFETCH(QStringList, shown);
        TradeData data = after(prices);
        const RunPickView view = pickRun(data, source, ",");
        QCOMPARE(QStringList({text(view.freight), text(view.to), text(view.value), text(view.cpm)}),
                 shown);
        QCOMPARE(cpmCellsLeft(data), 1805 - 95);  // (source, destination, slot)
        QVERIFY(data.buffers.cpm(source, 1, 1) != -7);
    }

    // The lines players paste to each other, with a period in any locale. The top five are
    // ranked in the first five rows of the shared list (figure and commodity) and their towns
    // kept in the shared strings; the other columns and rows keep what they held.
    void exportLines_data() {
        QTest::addColumn<int>("from");  // 0: the top five
        QTest::addColumn<int>("to");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<RankingRow>("rowOne");
        QTest::addColumn<QString>("townOne");
        QTest::newRow("values: empty slots read none - 1")
            << 8 << 3 << Prices{{3, 3, 7.5F}, {3, 9, 1234.5F}, {3, 61, 42}}
            << "Values from Temple Shop(Elwyn) to Ranger's Cabin. Valued 3.25 hours ago. "
               "Aloe - 7.5  Balm - 1234.5  Quills - 42  none - 1  none - 1"
            << RankingRow{999, 1, 3, 7} << "";
        QTest::newRow("top five: the best-paid goods, the post's own among them")
            << 0 << 1 << Prices{{1, 44, 1520}, {1, 43, 1408}, {1, 55, 1390},
                                {1, 2, 1200},  {1, 76, 990},  {1, 73, 989}}
            << "Top 5 non-cpk values to Caldmoor. Valued 3.25 hours ago. Jewels(New Ashton) - "
               "1520  Ivory(Ranger's Cabin) - 1408  Opals(Sea's End) - 1390  Ale(Caldmoor) - "
               "1200  Spices(Karlisna) - 990"
            << RankingRow{1520, 1, 44, 7} << "New Ashton";
        QTest::newRow("top five: a figure rounded up is not displaced by a later lower price")
            << 0 << 3 << Prices{{3, 10, 1234.6F}, {3, 20, 1234.8F}}
            << "Top 5 non-cpk values to Ranger's Cabin. Valued 3.25 hours ago. Bananas(Gdangus) - "
               "1235  Cloth(Karlisna) - 1235  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  "
               "Wine(Trellor) - 1"
            << RankingRow{1235, 1, 10, 7} << "Gdangus";
        QTest::newRow("top five: Minotaur's goods never listed; beyond 32 bits shown in full")
            << 0 << 4 << Prices{{4, 5, 9e5F},  {4, 18, 9e5F}, {4, 47, 9e5F}, {4, 59, 9e5F},
                                {4, 84, 9e5F}, {4, 1, 4e9F},  {4, 3, 2}}
            << "Top 5 non-cpk values to Riverton. Valued 3.25 hours ago. Adamantite(New Genesia) "
               "- 4000000000  Aloe(Elwyn) - 2  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  "
               "Wine(Trellor) - 1"
            << RankingRow{2147483647, 1, 1, 7} << "New Genesia";
    }
    void exportLines() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(Prices, prices);
        QFETCH(QString, expected);
        QFETCH(RankingRow, rowOne);
        QFETCH(QString, townOne);
        TradeData data = after(prices, {valuedAgo(kClock, to, 3.25F)});
        const auto made =
            from ? valuesExportLine(data, kClock, from, to) : topFiveExportLine(data, kClock, to);
        QCOMPARE(text(made), expected);
        compareListRow(data.buffers.ranking[1], rowOne);
        compareListRow(data.buffers.ranking[6], {999, 1, 3, 7});
        QCOMPARE(QString::fromStdString(data.buffers.topFiveTowns[1]), townOne);
    }

    // Asked about something that is not a trading post, a report computes and writes nothing.
    void nothingForNoPost() {
        TradeData data = after({});
        QVERIFY(!payoffsTo(data, -1) && !topCpmFrom(data, 20));
        QVERIFY(!allPayoffsTo(data, kClock, 20, ",") && !pickRun(data, 0).to);
        QVERIFY(!valuesExportLine(data, kClock, 1, 0) && !topFiveExportLine(data, kClock, 20));
        compareListRow(data.buffers.ranking[1], {999, 1, 3, 7});
        QCOMPARE(data.buffers.hourClockScratch, 123.0F);
        QCOMPARE(cpmCellsLeft(data), 1805);
        QCOMPARE(data.buffers.topFiveTowns[1], "");
    }
};

QTEST_GUILESS_MAIN(ReportsTest)
#include "test_reports.moc"

#include <QRegularExpression>
#include <QTest>
#include <limits>

#include "core/catalogue.h"
#include "reports/cpm_reports.h"
#include "reports/payoff_reports.h"
#include "reports/run_picker.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

const FixedClock kClock;

QString kept(const std::optional<std::string>& text) {
    return text ? QString::fromStdString(*text) : QStringLiteral("<kept>");
}

QString colour(BandColour c) {
    return QStringList{"red", "yellow", "green", "blue"}[static_cast<int>(c)];
}

// Never-valued data with an earlier report's row left in every place of the shared list, then
// what `setup` says: "tp:c=v" a price, "every=v" or "every=v+d" every price everywhere (plus the
// paying post's number), "tp@h" post tp valued h hours ago, "fresh" a list no report used yet,
// "cpm=-7" every CPM cell set to -7.
void setUp(TradeData& data, const QString& setup) {
    setNeverValued(data);
    data.buffers.hourClockScratch = 123.0F;
    for (int r = 1; r <= kRankingRows; ++r)
        data.buffers.ranking[r] = {999, 1, 3, 7};  // Caldmoor's slot 3
    for (const QString& token : setup.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList part = token.split(QRegularExpression("[:=@+]"));
        if (token == "fresh") {
            data.buffers.ranking = {};
        } else if (part[0] == "cpm") {
            for (int a = 1; a <= kTradingPostCount; ++a)
                for (int b = 1; b <= kTradingPostCount; ++b)
                    for (int k = 1; k <= kGoodsSlotCount; ++k)
                        data.buffers.cpm(a, b, k) = part[1].toInt();
        } else if (part[0] == "every") {
            for (int d = 1; d <= kTradingPostCount; ++d)
                for (int c = 1; c <= kCommodityCount; ++c)
                    data.setValue(d, c, part[1].toFloat() + (part.size() > 2 ? d : 0));
        } else if (token.contains(u'@')) {
            data.setStamp(part[0].toInt(), readHourClock(kClock) - part[1].toFloat());
        } else {
            data.setValue(part[0].toInt(), part[1].toInt(), part[2].toFloat());
        }
    }
}

// Runs a report as its window does, with the user's decimal comma, and returns what it shows
// and leaves behind: "N" row or box N, "colour N" its band(s), "buffer N" ranking row N as
// "value,source,slot,destination", "age", "run" the picker's four boxes, "computed", "scratch"
// ("read": the clock's reading) and "cpm left" the CPM cells still at -7.
QMap<QString, QString> run(const QString& report, TradeData& data, int chosen) {
    QMap<QString, QString> out;
    std::optional<RankingReportView> ranked;
    bool computed = false;
    if (report == "payoff to") {
        ranked = topPayoffsTo(data, kClock, chosen, ",");
    } else if (report == "payoff from") {
        ranked = topPayoffsFrom(data, chosen);
    } else if (report == "payoff any") {
        ranked = topPayoffsToAny(data);
    } else if (report == "cpm to") {
        ranked = topCpmToTradingPost(data, kClock, chosen, ",");
    } else if (report == "cpm from") {
        ranked = topCpmFromTradingPost(data, chosen);
    } else if (report == "cpm any") {
        ranked = topCpmToAnyTradingPost(data);
    } else if (report == "all payoffs") {
        const auto view = allPayoffsTo(data, kClock, chosen, ",");
        computed = view.has_value();
        for (int n = 1; view && n <= kAllPayoffsBoxes; ++n) {
            const AllPayoffsRowView& box = view->rows[static_cast<std::size_t>(n)];
            const QString key = QString::number(n);
            out[key] = kept(box.name) + u'|' + kept(box.value) + u'|' + box.cpm.c_str();
            out["colour " + key] = colour(box.valueColour) + u' ' + colour(box.cpmColour);
        }
        if (view)
            out["age"] = QString::fromStdString(view->age.text) + u' ' + colour(view->age.colour);
    } else {
        const RunPickView view = pickRun(data, chosen, ",");
        out["run"] =
            QStringList{kept(view.freight), kept(view.to), kept(view.value), kept(view.cpm)}.join(
                u'|');
        computed = view.freight || view.to || view.value || view.cpm;
    }
    if (ranked) {
        computed = true;
        out["age"] = ranked->age ? QString::fromStdString(ranked->age->text) + u' ' +
                                       colour(ranked->age->colour)
                                 : "none";
        for (int r = 1; r <= kRankingRows; ++r) {
            const RankedRowView& row = ranked->rows[r];
            QString text = kept(row.name) + u'|' + row.value.c_str() + u'|' + kept(row.tradingPost);
            if (row.destination)
                text += u'|' + QString::fromStdString(*row.destination);
            out[QString::number(r)] = text;
            out["colour " + QString::number(r)] = colour(row.colour);
        }
    }
    out["computed"] = computed ? "yes" : "no";
    for (int r = 1; r <= kRankingRows; ++r) {
        const RankingRow& row = data.buffers.ranking[r];
        out["buffer " + QString::number(r)] = QStringLiteral("%1,%2,%3,%4")
                                                  .arg(row.value)
                                                  .arg(row.sourceTp)
                                                  .arg(row.slot)
                                                  .arg(row.destinationTp);
    }
    const float scratch = data.buffers.hourClockScratch;
    out["scratch"] = scratch == readHourClock(kClock) ? "read" : QString::number(scratch);
    int left = 0;
    for (int a = 1; a <= kTradingPostCount; ++a)
        for (int b = 1; b <= kTradingPostCount; ++b)
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                left += data.buffers.cpm(a, b, k) == -7;
    out["cpm left"] = QString::number(left);
    return out;
}

// Compares "key=text" items separated by "; "; "key N-M" stands for keys N to M.
void check(const QMap<QString, QString>& out, const TradeData& data, const QString& expected) {
    static const QRegularExpression range("^(.*?)(\\d+)-(\\d+)$");
    for (const QString& item : expected.split("; ")) {
        const QString key = item.section(u'=', 0, 0);
        QStringList keys{key};
        if (const auto m = range.match(key); m.hasMatch()) {
            keys.clear();
            for (int n = m.captured(2).toInt(); n <= m.captured(3).toInt(); ++n)
                keys << m.captured(1) + QString::number(n);
        }
        for (const QString& one : keys) {
            QString actual = out.value(one, "<missing>");
            if (const QStringList cell = one.mid(4).split(u',');
                one.startsWith("cpm ") && cell.size() == 3) {
                actual = QString::number(
                    data.buffers.cpm(cell[0].toInt(), cell[1].toInt(), cell[2].toInt()));
            }
            QCOMPARE(one + u'=' + actual, one + u'=' + item.section(u'=', 1));
        }
    }
}

}  // namespace

Q_DECLARE_METATYPE(ledgerly::BoxKind)
Q_DECLARE_METATYPE(ledgerly::BandColour)

class ReportRulesTest : public QObject {
    Q_OBJECT
private slots:
    // Each measure offered in turn with its position as source; the top rows as "value@source".
    void insertionRule_data() {
        QTest::addColumn<QString>("offers");
        QTest::addColumn<QString>("top");
        QTest::newRow("ascending offers end up descending") << "10 20 30"
                                                            << "30@3 20@2 10@1";
        QTest::newRow("tie keeps scan order") << "500 500 700"
                                              << "700@3 500@1 500@2";
        QTest::newRow("unrounded 100.3 goes above a stored 100 from 100.4") << "100.4 100.3"
                                                                            << "100@2 100@1";
        QTest::newRow("100.6 stays below a stored 101 from 100.7") << "100.7 100.6"
                                                                   << "101@1 101@2";
        QTest::newRow("1.4 enters and shows 1") << "1.4"
                                                << "1@1";
        QTest::newRow("2.5 stores 2 and 3.5 stores 4") << "2.5 3.5"
                                                       << "4@2 2@1";
        QTest::newRow("exactly 1 never enters") << "1 1"
                                                << "1@0 1@0";
        QTest::newRow("not a number never enters") << "nan 5"
                                                   << "5@2 1@0";
        QTest::newRow("too large values clamp and keep scan order")
            << "3e9 5e9 1e9"
            << "2147483647@1 2147483647@2 1000000000@3";
    }
    void insertionRule() {
        QFETCH(QString, offers);
        QFETCH(QString, top);
        TradeData data;
        resetRanking(data);
        const QStringList measures = offers.split(u' ');
        for (int i = 0; i < measures.size(); ++i) {
            const double measure = measures[i] == "nan" ? std::numeric_limits<double>::quiet_NaN()
                                                        : measures[i].toDouble();
            QCOMPARE(offerCandidate(data, measure, i + 1, 1, 1),
                     top.contains(QString("@%1").arg(i + 1)));
        }
        QStringList rows;
        for (int r = 1; r <= top.count(u'@'); ++r)
            rows << QString("%1@%2")
                        .arg(data.buffers.ranking[r].value)
                        .arg(data.buffers.ranking[r].sourceTp);
        QCOMPARE(rows.join(u' '), top);
    }

    void colourBands_data() {
        QTest::addColumn<BoxKind>("kind");
        QTest::addColumn<double>("shown");
        QTest::addColumn<BandColour>("colour");
        using C = BandColour;
        const struct {
            BoxKind kind;
            const char* name;
            double first, second, third, step;
            C below, afterFirst, afterSecond, afterThird;
        } kinds[] = {
            {BoxKind::AgeOfValues, "age", 0.5, 2, 4, 0.01, C::Blue, C::Green, C::Yellow, C::Red},
            {BoxKind::RankedPayoff, "ranked payoff", 250000, 500000, 1000000, 1, C::Red, C::Yellow,
             C::Green, C::Blue},
            {BoxKind::AllPayoffsValue, "all-payoffs value", 200000, 500000, 1000000, 0.5, C::Red,
             C::Yellow, C::Green, C::Blue},
            {BoxKind::Cpm, "CPM", 300, 500, 700, 1, C::Red, C::Yellow, C::Green, C::Blue},
        };
        for (const auto& k : kinds) {
            const auto row = [&](const char* what, double shown, C colour) {
                QTest::addRow("%s %s (%g)", k.name, what, shown) << k.kind << shown << colour;
            };
            row("at the first threshold keeps its start", k.first, k.below);
            row("just above the first", k.first + k.step, k.afterFirst);
            row("at the second", k.second, k.afterFirst);
            row("just above the second", k.second + k.step, k.afterSecond);
            row("at the third", k.third, k.afterSecond);
            row("just above the third", k.third + k.step, k.afterThird);
        }
    }
    void colourBands() {
        QFETCH(BoxKind, kind);
        QFETCH(double, shown);
        QFETCH(BandColour, colour);
        QCOMPARE(colourBand(shown, kind), colour);
    }

    // Each report over prices set up as setUp() reads them, with what it must show and leave.
    // Unless "fresh", the shared list holds Caldmoor's slot 3 from an earlier report, which a
    // reset to slot 1 converts to Ale (2) once, not on to Raisins.
    void reports_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* report, int chosen, const char* setup,
                            const char* expected) {
            QTest::newRow(name) << report << chosen << setup << expected;
        };
        // The order of equal values is the order each report's loops meet them; rows no haul
        // reached show 1 in red and nothing an earlier report left in the list.
        row("payoff to: halves to even, own goods first, then later posts; slot reset to 1",
            "payoff to", 1, "1:2=900 1:88=900 1:61=250000.5 2:5=5000 1@1.25",
            "1=Quills|250000|Elwyn; 2=Ale|900|Caldmoor; 3=Wands|900|Vanlarra; 4-40=|1|; "
            "colour 4-40=red; buffer 4-40=1,1,2,7; age=1,25 green; scratch=read");
        row("payoff from: lower destination, then lower slot; own post counts", "payoff from", 8,
            "12:61=700 4:61=700 11:3=800 8:9=650 4:3=700",
            "1=Aloe|800|Thanos; 2=Aloe|700|Riverton; 3=Quills|700|Riverton; "
            "4=Quills|700|New Ashton; 5=Balm|650|Elwyn; 6-40=|1|; buffer 40=1,1,2,7; age=none; "
            "scratch=123");
        row("payoff from a post that sells nothing", "payoff from", 11, "3:20=9000 5:20=9000",
            "1-40=|1|");
        row("payoff any: lower destination, then source, then slot; destination cleared",
            "payoff any", 0, "3:2=5000 2:78=5000 2:6=5000 2:2=5000 17:2=6000",
            "1=Ale|6000|Caldmoor|Derah; 2=Ale|5000|Caldmoor|Elven Marketplace; "
            "3=Tar|5000|Caldmoor|Elven Marketplace; "
            "4=Arrows|5000|Elven Marketplace|Elven Marketplace; "
            "5=Ale|5000|Caldmoor|Ranger's Cabin; 6-40=|1||; buffer 40=1,1,2,0; age=none");
        // 90800 over 227 moves, 120000 over 300 and 204000 over 510 all make 400.
        row("cpm to: lower source, then lower slot; slot reset to 1", "cpm to", 1,
            "1:30=120000 1:7=90800 1:6=90800 1@1.25",
            "1=Arrows|400|Elven Marketplace; 2=Art|400|Elven Marketplace; "
            "3=Furs|400|Ranger's Cabin; 4-40=|1|; colour 40=red; buffer 4-40=1,1,2,7; "
            "age=1,25 green; scratch=read");
        row("cpm to: a higher CPM met later still goes on top", "cpm to", 1,
            "fresh 1:6=90800 1:30=120300",
            "1=Furs|401|Ranger's Cabin; 2=Arrows|400|Elven Marketplace; 3-40=|1|");
        row("cpm any: lower destination first; slot reset to 0, so names keep their caption",
            "cpm any", 0, "2:2=90800 1:30=120000 1:6=90800",
            "1=Arrows|400|Elven Marketplace|Caldmoor; 2=Furs|400|Ranger's Cabin|Caldmoor; "
            "3=Ale|400|Caldmoor|Elven Marketplace; 4-40=<kept>|1||; buffer 4-40=1,1,0,7; "
            "age=none; scratch=123");
        row("cpm any, fresh list", "cpm any", 0, "fresh", "1-40=<kept>|1||");
        row("cpm from: lower destination, then slot; unreached rows name the first good",
            "cpm from", 2, "3:7=204000 1:14=90800 1:6=90800",
            "1=Arrows|400|Caldmoor; 2=Bows|400|Caldmoor; 3=Art|400|Ranger's Cabin; "
            "4-40=Arrows|1|; buffer 4-40=1,1,1,7; age=none; scratch=123");
        row("cpm from, fresh list", "cpm from", 4, "fresh", "1-40=Brandy|1|");
        row("cpm from Thanos, which sells nothing", "cpm from", 11, "fresh", "1-40=none|1|");

        // Rounding and bands of the first row; Arrows are sold at Elven Marketplace, 227 moves
        // from Caldmoor, 510 from Ranger's Cabin and 100000 from itself.
        row("payoff 250000.5 halves to even and stays red", "payoff to", 1, "1:6=250000.5",
            "1=Arrows|250000|Elven Marketplace; colour 1=red");
        row("payoff 1000001 is blue", "payoff from", 2, "1:6=1000001",
            "1=Arrows|1000001|Caldmoor; colour 1=blue");
        row("payoff too large clamps", "payoff any", 0, "1:6=3e12",
            "1=Arrows|2147483647|Elven Marketplace|Caldmoor; colour 1=blue");
        row("cpm 301 is yellow, not the payoff band", "cpm to", 1, "1:6=68327",
            "1=Arrows|301|Elven Marketplace; colour 1=yellow");
        row("cpm 150.5 shows 150, 151.5 shows 152", "cpm from", 2, "1:6=34163.5 3:6=77265",
            "1=Arrows|152|Ranger's Cabin; 2=Arrows|150|Caldmoor; colour 1=red");
        row("cpm 701 is blue", "cpm any", 0, "1:6=159127",
            "1=Arrows|701|Elven Marketplace|Caldmoor; colour 1=blue");
        row("cpm own goods at 150000 make 1.5, which enters as 2", "cpm any", 0, "2:6=150000",
            "1=Arrows|2|Elven Marketplace|Elven Marketplace");
        row("cpm own goods at 149999 stay out", "cpm to", 2, "2:6=149999", "1=|1|");

        // The only pair whose moves differ by direction: 11 -> 19 is a million, 19 -> 11 is
        // 100000. Every CPM list fills the whole table, destination first.
        row("into Thanos, 1500000 over a million moves enters", "cpm to", 11, "cpm=-7 11:5=1500000",
            "1=Armor|2|NaeraMae; cpm 11,19,1=2; cpm 19,11,1=0; cpm left=0");
        row("any pair, 150000 over a million moves stays out", "cpm any", 0, "cpm=-7 11:5=150000",
            "1=<kept>|1||; cpm 11,19,1=0; cpm left=0");
        row("from NaeraMae, 1500000 enters", "cpm from", 19, "cpm=-7 11:5=1500000",
            "1=Armor|2|Thanos; cpm left=0");

        // What falls off the end of the list.
        row("payoff from Temple Shop: the 40 best of 57", "payoff from", 8, "every=100+d",
            "1=Aloe|119|NaeraMae; 40=Aloe|106|Vanlarra; buffer 40=106,8,3,6");
        row("payoff into Mystara, every price equal: the first 40 met", "payoff to", 5, "every=100",
            "1=Ale|100|Caldmoor; 2=Raisins|100|Caldmoor; 6=Arrows|100|Elven Marketplace; "
            "40=Coal|100|New Genesia; buffer 40=100,9,21,5");
        row("cpm any, every price 100000: the shortest routes, slots converted", "cpm any", 0,
            "every=100000",
            "1=Arrows|441|Elven Marketplace|Caldmoor; 11=Crystal|357|Vanlarra|Mystara; "
            "21=Furs|333|Ranger's Cabin|Caldmoor; 40=Metals|333|Riverton|Mystara; "
            "buffer 40=333,4,48,5");

        // Asked about something that is not a trading post, nothing is computed or written.
        const char* untouched = "computed=no; buffer 1=999,1,3,7; scratch=123; cpm left=1805";
        row("no post: payoff to 0", "payoff to", 0, "cpm=-7", untouched);
        row("no post: payoff from 20", "payoff from", 20, "cpm=-7", untouched);
        row("no post: cpm to -1", "cpm to", -1, "cpm=-7", untouched);
        row("no post: cpm from 0", "cpm from", 0, "cpm=-7", untouched);
        row("no post: all payoffs to 20", "all payoffs", 20, "cpm=-7", untouched);
        row("no post: run picker from 0", "run picker", 0, "cpm=-7", untouched);

        // Every haul into one post: the CPM reads the moves from the source.
        row("all payoffs: 200000 stays red", "all payoffs", 14, "14:63=200000 14@1.25",
            "2=Raisins|200000|163; colour 2=red red; age=1,25 green; scratch=read");
        row("all payoffs: 200000.5 is yellow", "all payoffs", 14, "14:63=200000.5",
            "2=Raisins|200000,5|163; colour 2=yellow red");
        row("all payoffs: shown 1000000 stays green, though a little above", "all payoffs", 14,
            "14:63=1000000.4", "2=Raisins|1000000|813; colour 2=green blue");
        row("all payoffs: exponent form is blue", "all payoffs", 14, "14:63=12345678",
            "2=Raisins|1,234568E+07|10037; colour 2=blue blue");
        row("all payoffs: CPM 300 stays red, 301 is yellow", "all payoffs", 1,
            "1:6=68100 1:7=68327",
            "6=Arrows|68100|300; colour 6=red red; 7=Art|68327|301; colour 7=red yellow; "
            "cpm 2,1,1=300");
        row("all payoffs: own goods divide by 100000", "all payoffs", 1, "1:2=150000",
            "1=Ale|150000|2");
        row("all payoffs: 19 to 11 is 100000 moves", "all payoffs", 11, "11:5=150000",
            "86=Armor|150000|2; cpm 19,11,1=2; buffer 1=999,1,3,7");

        // The run picker ranks by value + 4000 x CPM; among equal scores the first met wins.
        // Moves from Elven Marketplace: Caldmoor 227, Ranger's Cabin 510, Riverton 755,
        // Vanlarra 977, New Genesia 736, Hidden City 458, Sea's End 1490.
        row("run: a tie keeps the first met, though its value is lower", "run picker", 2,
            "3:6=10000 9:6=14000", "run=Arrows|Ranger's Cabin|10000|20");
        row("run: a tie keeps the first met, though its CPM is lower", "run picker", 2,
            "4:6=14000 6:6=18000", "run=Arrows|Riverton|14000|19");
        row("run: one gold above the tie wins", "run picker", 2, "3:6=10000 6:6=18001",
            "run=Arrows|Vanlarra|18001|18");
        row("run: a short haul beats twice the value", "run picker", 2, "16:6=40000 18:6=20000",
            "run=Arrows|Hidden City|20000|44");
        row("run: equal scores at one post, the lower slot", "run picker", 2, "1:7=90800 1:6=90800",
            "run=Arrows|Caldmoor|90800|400");
        row("run: a haul to the source itself, in the user's decimal comma", "run picker", 2,
            "2:6=40000.5", "run=Arrows|Elven Marketplace|40000,5|0");
        row("run: never valued, the first good to Caldmoor", "run picker", 8, "",
            "run=Aloe|Caldmoor|1|0");
        row("run: Thanos sells nothing", "run picker", 11, "", "run=none|Caldmoor|1|0");
        row("run: no haul above 0 keeps Freight and To and empties Value and CPM", "run picker", 11,
            "1:0=0 2:0=0 3:0=0 4:0=0 5:0=0 6:0=0 7:0=0 8:0=0 9:0=0 10:0=0 11:0=0 12:0=0 13:0=0 "
            "14:0=0 15:0=0 16:0=0 17:0=0 18:0=0 19:0=0",
            "run=<kept>|<kept>||");
        row("run: 1500000 over a million moves is CPM 2; only the source's cells written",
            "run picker", 19, "cpm=-7 11:5=1500000",
            "run=Armor|Thanos|1500000|2; cpm 19,11,1=2; cpm 11,19,1=-7; cpm left=1710");
        row("run: a price beyond 32 bits of CPM x 4000 still wins", "run picker", 2,
            "1:6=3e9 3:6=2e9", "run=Arrows|Caldmoor|3E+09|13215859");
    }
    void reports() {
        QFETCH(QString, report);
        QFETCH(int, chosen);
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        TradeData data;
        setUp(data, setup);
        check(run(report, data, chosen), data, expected);
    }

    // Frame f shows post f's five slots, skipping Thanos, which sells nothing. Temple Shop's
    // empty slots (boxes 39 and 40) show only a CPM, even when "none" is valued high.
    void allPayoffsFramesFollowThePosts() {
        TradeData data;
        setUp(data, "3:0=400000");
        const auto out = run("all payoffs", data, 3);
        for (int n = 1; n <= kAllPayoffsBoxes; ++n) {
            const int frame = (n + 4) / 5;
            const int c = goodsSlot(frame < 11 ? frame : frame + 1, (n - 1) % 5 + 1);
            const QString shown = n == 39 || n == 40 ? "<kept>|<kept>|494"  // 400000 / 810 moves
                                                     : commodityName(c).data() + QString("|1|0");
            QCOMPARE(out[QString::number(n)], shown);
        }
    }

    // Reports share one ranking list and run one after another: what one leaves behind is what
    // the next resets, keeps or shows.
    void reportsRunOneAfterAnother() {
        TradeData data;
        setUp(data, "fresh 1:17=5000 2:17=4000 3:31=3000");  // Mystara's Carpet and Fish
        check(run("payoff from", data, 5), data, "3=Fish|3000|Ranger's Cabin");
        // Caldmoor's goods are valued nowhere: no row is reached, the reset only touches value
        // and slot, and every row names Caldmoor's first good.
        check(run("cpm from", data, 1), data,
              "1-3=Ale|1|; buffer 1=1,5,1,1; buffer 2=1,5,1,2; buffer 3=1,5,1,3");
        // 5000 over 563 moves is 9, the other two make 5. Each entry pushed the rows below it
        // down, so the first report's rows now stand at 4 to 6, slot cleared, showing nothing.
        check(run("cpm any", data, 0), data,
              "1=Carpet|9|Mystara|Caldmoor; 3=Fish|5|Mystara|Ranger's Cabin; "
              "buffer 4=1,5,0,1; 4=<kept>|1||");
    }
};

QTEST_GUILESS_MAIN(ReportRulesTest)
#include "test_report_rules.moc"

#include <QRegularExpression>
#include <QTest>

#include "core/catalogue.h"
#include "rules/export/export_lines.h"
#include "rules/reports/all_payoffs.h"
#include "rules/reports/run_picker.h"
#include "rules/reports/top_forty_reports.h"
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

QString shown(const AgeView& age) {
    return QString::fromStdString(age.text) + u' ' + colour(age.colour);
}

// Never-valued data with an earlier report's row left in every place of the shared list and -7
// in every CPM cell, then what `setup` says: "tp:c=v" a price, "every=v" or "every=v+d" every
// price everywhere (plus the paying post's number), "tp@h" post tp valued h hours ago.
void setUp(TradeData& data, const QString& setup) {
    setNeverValued(data);
    data.buffers.hourClockScratch = 123.0F;
    for (int r = 1; r <= kRankingRows; ++r)
        data.buffers.ranking[r] = {999, 1, 3, 7};  // Caldmoor's slot 3
    for (int a = 1; a <= kTradingPostCount; ++a)
        for (int b = 1; b <= kTradingPostCount; ++b)
            for (int k = 1; k <= kGoodsSlotCount; ++k)
                data.buffers.cpm(a, b, k) = -7;
    for (const QString& token : setup.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList part = token.split(QRegularExpression("[:=@+]"));
        if (part[0] == "every") {
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

// Runs a report as its window does, with the user's decimal comma (export lines keep their
// period: they are pasted into the game), and returns what it shows and leaves behind: "N" row
// or box N, "colour N" its band(s), "buffer N" ranking row N as "value,source,slot,destination",
// "age", "run" the picker's boxes, "line" an export line, "town N" the top five's towns,
// "scratch" ("read": the clock's reading), "cpm a,b,k" and "cpm left" (cells still at -7).
QMap<QString, QString> run(const QString& report, TradeData& data, int chosen) {
    QMap<QString, QString> out;
    std::optional<RankingReportView> ranked;
    if (report == "payoff to") {
        ranked = topPayoffsTo(data, kClock, chosen, ",");
    } else if (report == "payoff from") {
        ranked = topPayoffsFrom(data, chosen);
    } else if (report == "payoff any") {
        ranked = topPayoffsToAny(data);
    } else if (report == "cpm to") {
        ranked = topCpmTo(data, kClock, chosen, ",");
    } else if (report == "cpm from") {
        ranked = topCpmFrom(data, chosen);
    } else if (report == "cpm any") {
        ranked = topCpmToAny(data);
    } else if (report == "all payoffs") {
        const auto view = allPayoffsTo(data, kClock, chosen, ",");
        for (int n = 1; view && n <= kAllPayoffsBoxes; ++n) {
            const AllPayoffsRowView& box = view->rows[static_cast<std::size_t>(n)];
            const QString key = QString::number(n);
            out[key] = kept(box.name) + u'|' + kept(box.value) + u'|' + box.cpm.c_str();
            out["colour " + key] = colour(box.valueColour) + u' ' + colour(box.cpmColour);
        }
        if (view)
            out["age"] = shown(view->age);
    } else if (report.startsWith("values from ") || report == "top five") {
        const auto line = report == "top five"
                              ? topFiveExportLine(data, kClock, chosen)
                              : valuesExportLine(data, kClock, report.mid(12).toInt(), chosen);
        out["line"] = QString::fromStdString(line.value_or("<none>"));
        for (int k = 1; k <= kTopFiveRows; ++k)
            out["town " + QString::number(k)] = data.buffers.topFiveTowns[k].c_str();
    } else {
        const RunPickView view = pickRun(data, chosen, ",");
        out["run"] =
            QStringList{kept(view.freight), kept(view.to), kept(view.value), kept(view.cpm)}.join(
                u'|');
    }
    for (int r = 1; ranked && r <= kRankingRows; ++r) {
        const RankedRowView& row = ranked->rows[r];
        QString text = kept(row.name) + u'|' + row.value.c_str() + u'|' + kept(row.tradingPost);
        if (row.destination)
            text += u'|' + QString::fromStdString(*row.destination);
        out[QString::number(r)] = text;
        out["colour " + QString::number(r)] = colour(row.colour);
    }
    if (ranked)
        out["age"] = ranked->age ? shown(*ranked->age) : "none";
    for (int r = 1; r <= kRankingRows; ++r) {
        const RankingRow& row = data.buffers.ranking[r];
        out["buffer " + QString::number(r)] =
            QString::asprintf("%d,%d,%d,%d", row.value, row.sourceTp, row.slot, row.destinationTp);
    }
    const float scratch = data.buffers.hourClockScratch;
    out["scratch"] = scratch == readHourClock(kClock) ? "read" : QString::number(scratch);
    int left = 0;
    for (int a = 1; a <= kTradingPostCount; ++a)
        for (int b = 1; b <= kTradingPostCount; ++b)
            for (int k = 1; k <= kGoodsSlotCount; ++k) {
                out[QStringLiteral("cpm %1,%2,%3").arg(a).arg(b).arg(k)] =
                    QString::number(data.buffers.cpm(a, b, k));
                left += data.buffers.cpm(a, b, k) == -7;
            }
    out["cpm left"] = QString::number(left);
    return out;
}

// Compares "key=text" items separated by "; "; "key N-M" stands for keys N to M.
void check(const QMap<QString, QString>& out, const QString& expected) {
    static const QRegularExpression range("^(.*?)(\\d+)-(\\d+)$");
    for (const QString& item : expected.split("; ")) {
        const QString key = item.section(u'=', 0, 0);
        const auto m = range.match(key);
        for (int n = m.captured(2).toInt(); n <= m.captured(3).toInt(); ++n) {
            const QString one = m.hasMatch() ? m.captured(1) + QString::number(n) : key;
            QCOMPARE(one + u'=' + out.value(one, "<missing>"), one + u'=' + item.section(u'=', 1));
        }
    }
}

}  // namespace

Q_DECLARE_METATYPE(ledgerly::BoxKind)

class ReportsTest : public QObject {
    Q_OBJECT
private slots:
    // Each box kind at its thresholds and just above them: every test is strictly greater.
    void colourBands_data() {
        QTest::addColumn<BoxKind>("kind");
        QTest::addColumn<QString>("bands");
        QTest::newRow("age") << BoxKind::AgeOfValues
                             << "0.5 blue, 0.51 green, 2 green, 2.01 yellow, 4 yellow, 4.01 red";
        QTest::newRow("ranked payoff") << BoxKind::RankedPayoff
                                       << "250000 red, 250001 yellow, 500000 yellow, 500001 green, "
                                          "1000000 green, 1000001 blue";
        QTest::newRow("all-payoffs value") << BoxKind::AllPayoffsValue
                                           << "200000 red, 200000.5 yellow, 500000 yellow, "
                                              "500000.5 green, 1000000 green, 1000000.5 blue";
        QTest::newRow("CPM") << BoxKind::Cpm
                             << "300 red, 301 yellow, 500 yellow, 501 green, 700 green, 701 blue";
    }
    void colourBands() {
        QFETCH(BoxKind, kind);
        QFETCH(QString, bands);
        for (const QString& band : bands.split(", ")) {
            const double shown = band.section(u' ', 0, 0).toDouble();
            QCOMPARE(band.section(u' ', 0, 0) + u' ' + colour(colourBand(shown, kind)), band);
        }
    }

    // Each report over prices set up as setUp() reads them, with what it must show and leave.
    // The shared list holds Caldmoor's slot 3 from an earlier report, which a reset to slot 1
    // converts to Ale (2) once, not on to Raisins.
    void reports_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* report, int chosen, const char* setup,
                            const QString& expected) {
            QTest::newRow(name) << report << chosen << setup << expected;
        };
        // The order of equal values is the order each report's loops meet them; rows no haul
        // reached show 1 in red and nothing an earlier report left in the list.
        row("payoff to: 250000.5 halves to even and stays red; own goods first, then later posts; "
            "slot reset to 1",
            "payoff to", 1, "1:2=900 1:88=900 1:61=250000.5 2:5=5000 1@1.25",
            "1=Quills|250000|Elwyn; colour 1=red; 2=Ale|900|Caldmoor; 3=Wands|900|Vanlarra; "
            "4-40=|1|; colour 4-40=red; buffer 4-40=1,1,2,7; age=1,25 green; scratch=read");
        row("payoff from: lower destination, then lower slot; own post counts", "payoff from", 8,
            "12:61=700 4:61=700 11:3=800 8:9=650 4:3=700",
            "1=Aloe|800|Thanos; 2=Aloe|700|Riverton; 3=Quills|700|Riverton; 4=Quills|700|New "
            "Ashton; 5=Balm|650|Elwyn; 6-40=|1|; buffer 6-40=1,1,2,7; age=none; scratch=123");
        row("payoff any: lower destination, then source, then slot; destination cleared",
            "payoff any", 0, "3:2=5000 2:78=5000 2:6=5000 2:2=5000 17:2=6000",
            "1=Ale|6000|Caldmoor|Derah; 2=Ale|5000|Caldmoor|Elven Marketplace; "
            "3=Tar|5000|Caldmoor|Elven Marketplace; 4=Arrows|5000|Elven Marketplace|Elven "
            "Marketplace; 5=Ale|5000|Caldmoor|Ranger's Cabin; 6-40=|1||; buffer 6-40=1,1,2,0; "
            "age=none");
        // 90800 over 227 moves, 120000 over 300 and 204000 over 510 all make 400.
        row("cpm to: lower source, then lower slot; slot reset to 1", "cpm to", 1,
            "1:30=120000 1:7=90800 1:6=90800 1@1.25",
            "1=Arrows|400|Elven Marketplace; 2=Art|400|Elven Marketplace; 3=Furs|400|Ranger's "
            "Cabin; 4-40=|1|; colour 40=red; buffer 4-40=1,1,2,7; age=1,25 green; scratch=read");
        row("cpm any: lower destination first; slot reset to 0, so names keep their caption",
            "cpm any", 0, "2:2=90800 1:30=120000 1:6=90800",
            "1=Arrows|400|Elven Marketplace|Caldmoor; 2=Furs|400|Ranger's Cabin|Caldmoor; "
            "3=Ale|400|Caldmoor|Elven Marketplace; 4-40=<kept>|1||; buffer 4-40=1,1,0,7; age=none; "
            "scratch=123");
        row("cpm from: lower destination, then slot; unreached rows name the first good",
            "cpm from", 2, "3:7=204000 1:14=90800 1:6=90800",
            "1=Arrows|400|Caldmoor; 2=Bows|400|Caldmoor; 3=Art|400|Ranger's Cabin; 4-40=Arrows|1|; "
            "buffer 4-40=1,1,1,7; age=none; scratch=123");
        row("cpm from Thanos, which sells nothing", "cpm from", 11, "", "1-40=none|1|");

        // Rounding and bands of the first row; Arrows are sold at Elven Marketplace, 227 moves
        // from Caldmoor, 510 from Ranger's Cabin and 100000 from itself.
        row("payoff 1000001 is blue; 1.4 enters and shows 1", "payoff from", 2,
            "1:6=1000001 3:6=1.4",
            "1=Arrows|1000001|Caldmoor; colour 1=blue; 2=Arrows|1|Ranger's Cabin; 3=|1|");
        row("payoff: values too large clamp and keep their scan order", "payoff any", 0,
            "1:6=3e12 1:7=5e12",
            "1=Arrows|2147483647|Elven Marketplace|Caldmoor; colour 1=blue; 2=Art|2147483647|Elven "
            "Marketplace|Caldmoor");
        row("payoff: compared unrounded, 100.3 goes above a stored 100 from 100.4", "payoff to", 1,
            "1:2=100.4 1:63=100.3", "1=Raisins|100|Caldmoor; 2=Ale|100|Caldmoor");
        row("cpm 301 is yellow, not the payoff band", "cpm to", 1, "1:6=68327",
            "1=Arrows|301|Elven Marketplace; colour 1=yellow");
        row("cpm own goods at 150000 make 1.5, which enters as 2", "cpm any", 0, "2:6=150000",
            "1=Arrows|2|Elven Marketplace|Elven Marketplace");

        // The only pair whose moves differ by direction: 11 -> 19 is a million, 19 -> 11 is
        // 100000. Every CPM list fills the whole table, destination first.
        row("into Thanos, 1500000 over a million moves enters", "cpm to", 11, "11:5=1500000",
            "1=Armor|2|NaeraMae; cpm 11,19,1=2; cpm 19,11,1=0; cpm left=0");
        row("any pair, 150000 over a million moves stays out", "cpm any", 0, "11:5=150000",
            "1=<kept>|1||; cpm 11,19,1=0; cpm left=0");
        row("from NaeraMae, 1500000 enters", "cpm from", 19, "11:5=1500000",
            "1=Armor|2|Thanos; cpm left=0");

        // What falls off the end of the list.
        row("payoff from Temple Shop: the 40 best of 57", "payoff from", 8, "every=100+d",
            "1=Aloe|119|NaeraMae; 40=Aloe|106|Vanlarra; buffer 40=106,8,3,6");
        row("payoff into Mystara, every price equal: the first 40 met", "payoff to", 5, "every=100",
            "1=Ale|100|Caldmoor; 2=Raisins|100|Caldmoor; 6=Arrows|100|Elven Marketplace; "
            "40=Coal|100|New Genesia; buffer 40=100,9,21,5");

        // Asked about something that is not a trading post, nothing is computed or written.
        const QString untouched = "buffer 1=999,1,3,7; scratch=123; cpm left=1805; ";
        row("no post: payoff to -1", "payoff to", -1, "", untouched + "1=<missing>");
        row("no post: cpm from 20", "cpm from", 20, "", untouched + "1=<missing>");
        row("no post: all payoffs to 20", "all payoffs", 20, "", untouched + "1=<missing>");
        row("no post: run picker from 0", "run picker", 0, "",
            untouched + "run=<kept>|<kept>|<kept>|<kept>");

        // Every haul into one post: the CPM reads the moves from the source.
        row("all payoffs: frame f shows post f, skipping Thanos; Temple Shop's empty slots only a "
            "CPM",
            "all payoffs", 3, "3:0=400000 3:22=4321.5",
            "1=Ale|1|0; 46=Cloaks|1|0; 51=Copper|4321,5|4; 86=Armor|1|0; 90=Weapons|1|0; "
            "39-40=<kept>|<kept>|494");
        row("all payoffs: 200000.5 is yellow", "all payoffs", 14, "14:63=200000.5 14@1.25",
            "2=Raisins|200000,5|163; colour 2=yellow red; age=1,25 green; scratch=read");
        row("all payoffs: shown 1000000 stays green, though a little above", "all payoffs", 14,
            "14:63=1000000.4", "2=Raisins|1000000|813; colour 2=green blue");
        row("all payoffs: 19 to 11 is 100000 moves", "all payoffs", 11, "11:5=150000",
            "86=Armor|150000|2; cpm 19,11,1=2; buffer 1=999,1,3,7");

        // The run picker ranks by value + 4000 x CPM; among equal scores the first met wins.
        // Moves from Elven Marketplace: Caldmoor 227, Ranger's Cabin 510, Riverton 755,
        // Vanlarra 977, New Genesia 736, Hidden City 458, Sea's End 1490.
        row("run: a tie keeps the first met, though its value is lower (20 and 19 CPM)",
            "run picker", 2, "3:6=10000 9:6=14000", "run=Arrows|Ranger's Cabin|10000|20");
        row("run: equal scores at one post, the lower slot", "run picker", 2, "1:7=90800 1:6=90800",
            "run=Arrows|Caldmoor|90800|400");
        row("run: a haul to the source itself, in the user's decimal comma", "run picker", 2,
            "2:6=40000.5", "run=Arrows|Elven Marketplace|40000,5|0");
        row("run: no haul above 0 keeps Freight and To and empties Value and CPM", "run picker", 11,
            "1:0=0 2:0=0 3:0=0 4:0=0 5:0=0 6:0=0 7:0=0 8:0=0 9:0=0 10:0=0 11:0=0 12:0=0 13:0=0 "
            "14:0=0 15:0=0 16:0=0 17:0=0 18:0=0 19:0=0",
            "run=<kept>|<kept>||");
        row("run: 1500000 over a million moves is CPM 2; only the source's cells written",
            "run picker", 19, "11:5=1500000",
            "run=Armor|Thanos|1500000|2; cpm 19,11,1=2; cpm 11,19,1=-7; cpm left=1710");
        row("run: a price beyond 32 bits of CPM x 4000 still wins", "run picker", 2,
            "1:6=3e9 3:6=2e9", "run=Arrows|Caldmoor|3E+09|13215859");

        // The lines players paste to each other: a post's goods as another post pays them, or
        // the five best-paid goods at a post, which also fill the shared list and town strings.
        row("values: empty slots read none - 1", "values from 8", 3,
            "3:3=7.5 3:9=1234.5 3:61=42 3@0",
            "line=Values from Temple Shop(Elwyn) to Ranger's Cabin. Valued 0 hours ago. Aloe - 7.5 "
            " Balm - 1234.5  Quills - 42  none - 1  none - 1");
        row("top five: the best-paid goods, the post's own among them", "top five", 1,
            "1:44=1520 1:43=1408 1:55=1390 1:2=1200 1:76=990 1:73=989 1@3.25",
            "line=Top 5 non-cpk values to Caldmoor. Valued 3.25 hours ago. Jewels(New Ashton) - "
            "1520  Ivory(Ranger's Cabin) - 1408  Opals(Sea's End) - 1390  Ale(Caldmoor) - 1200  "
            "Spices(Karlisna) - 990");
        // The clock reads 6 December 2026, 12:00: 209642 hours after the never-valued stamp 10.
        row("top five: never valued, the latest of equal prices first, Weapons left out",
            "top five", 12, "",
            "line=Top 5 non-cpk values to New Ashton. Valued 209642 hours ago. Wands(Vanlarra) - 1 "
            " Waybread(Ruellia) - 1  Wine(Trellor) - 1  Willowbark(Ruellia) - 1  Venom(Lyryanoth) "
            "- 1");
        row("top five: Minotaur's goods are never listed; the list and towns are filled",
            "top five", 4, "4:5=9e5 4:18=9e5 4:47=9e5 4:59=9e5 4:84=9e5 4:1=4e9 4:3=2 4@1",
            "line=Top 5 non-cpk values to Riverton. Valued 1 hours ago. Adamantite(New Genesia) - "
            "4000000000  Aloe(Elwyn) - 2  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  "
            "Wine(Trellor) - 1; buffer 1=2147483647,1,1,7; buffer 2=2,1,3,7; buffer 6=999,1,3,7; "
            "town 1=New Genesia; town 5=Trellor");
        row("top five: a figure rounded up is not displaced by a later lower price", "top five", 3,
            "3:10=1234.6 3:20=1234.8 3@3.25",
            "line=Top 5 non-cpk values to Ranger's Cabin. Valued 3.25 hours ago. Bananas(Gdangus) "
            "- 1235  Cloth(Karlisna) - 1235  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  "
            "Wine(Trellor) - 1");
        row("no post: values to 0", "values from 3", 0, "", "line=<none>");
        row("no post: values from 20", "values from 20", 1, "", "line=<none>");
        row("no post: top five to 0", "top five", 0, "", untouched + "line=<none>; town 1=");
    }
    void reports() {
        QFETCH(QString, report);
        QFETCH(int, chosen);
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        TradeData data;
        setUp(data, setup);
        check(run(report, data, chosen), expected);
    }
};

QTEST_GUILESS_MAIN(ReportsTest)
#include "test_reports.moc"

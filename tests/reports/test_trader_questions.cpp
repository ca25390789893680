#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "rules/reports/trader_questions.h"
#include "support/test_platform.h"
#include "windows/reports/revalue_next_window.h"
#include "windows/reports/round_trips_window.h"
#include "windows/reports/where_to_sell_window.h"

using namespace ledgerly;
using namespace ledgerly::testing;

using Stamps = std::vector<std::pair<int, float>>;  // post 0: every post
struct Price {
    int tp;
    int commodity;
    float value;
};
using Prices = std::vector<Price>;
Q_DECLARE_METATYPE(Prices)
Q_DECLARE_METATYPE(Stamps)
Q_DECLARE_METATYPE(ledgerly::RoundTripFilter)

namespace {

constexpr int kAle = 2;     // Caldmoor, slot 1
constexpr int kArrows = 6;  // Elven Marketplace, slot 1

// Noon on 1 January 2003 (hour 36), where stamps can lie a fraction of a hundredth apart, and
// the given prices and stamps over a never-valued table.
void setUp(TestContext& t, const Prices& prices, const Stamps& stamps) {
    t.clock.set({2003, 1, 1, 12, 0, 0});
    setNeverValued(t.data);
    for (const Price& p : prices)
        t.data.setValue(p.tp, p.commodity, p.value);
    for (const auto& [post, stamp] : stamps)
        for (int tp = 1; tp <= kTradingPostCount; ++tp)
            if (post == 0 || post == tp)
                t.data.setStamp(tp, stamp);
}

void setUp(TestContext& t) {  // with the test row's prices and stamps
    QFETCH(Prices, prices);
    QFETCH(Stamps, stamps);
    setUp(t, prices, stamps);
}

void addColumns() {
    QTest::addColumn<Prices>("prices");
    QTest::addColumn<Stamps>("stamps");
    QTest::addColumn<QStringList>("rows");  // the first rows as "text|text|figure/band"
}

// Texts joined by "|", the last one followed by "/" and its band, if it has one.
QString cells(std::initializer_list<std::string> texts, std::optional<BandColour> band) {
    static const char* const kBands[] = {"red", "yellow", "green", "blue"};
    QString row;
    for (const std::string& text : texts)
        row += (row.isEmpty() ? "" : "|") + QString::fromStdString(text);
    return band ? row + '/' + kBands[int(*band)] : row;
}

}  // namespace

class TraderQuestionsTest : public QObject {
    Q_OBJECT
private slots:
    // Arrows are sold at Elven Marketplace: 227 moves to Caldmoor, 510 to Ranger's Cabin.
    void whereToSell_data() {
        addColumns();  // rows start with where it is sold
        QTest::addColumn<int>("commodity");
        QTest::newRow("best first, equal values in post order, a half per move to the even")
            << Prices{{3, kArrows, 401000}, {2, kArrows, 401000}, {1, kArrows, 22813.5F}}
            << Stamps{{2, 36}, {1, 32.75F}}
            << QStringList{"Elven Marketplace", "Elven Marketplace|401000|0/blue|no route|-",
                           "Ranger's Cabin|401000|never valued/red|510|786/blue",
                           "Caldmoor|22813.5|3.25/yellow|227|100/red"}
            << kArrows;
        QTest::newRow("none is sold at no post")
            << Prices{} << Stamps{} << QStringList{"nothing"} << 0;
    }
    void whereToSell() {
        QFETCH(QStringList, rows);
        QFETCH(int, commodity);
        TestContext t;
        setUp(t);
        const auto view = ledgerly::whereToSell(t.data, t.clock, commodity);
        QStringList got{view ? QString::fromStdString(view->soldAt) : QStringLiteral("nothing")};
        for (const SellingRow& row : view ? view->rows : std::vector<SellingRow>())
            got << cells({row.town, row.value, row.age.text}, row.age.colour) + '|' +
                       cells({row.moves, row.goldPerMove}, row.goldPerMoveColour);
        QCOMPARE(got.mid(0, rows.size()), rows);
    }

    void revalueNext_data() {
        addColumns();
        QTest::newRow("never valued first in post order, then the oldest; equal ages keep order")
            << Prices{} << Stamps{{0, 35},    {7, 10},      {5, 27},        {3, 10},
                                  {6, 34.5F}, {9, 33.004F}, {19, 33.0001F}, {2, 33.009F}}
            << QString(
                   "Ranger's Cabin|never valued/red;Lyryanoth|never valued/red;Mystara|9/red;"
                   "Elven Marketplace|2.99/yellow;New Genesia|2.99/yellow;"
                   "NaeraMae|2.99/yellow;Vanlarra|1.5/green;Caldmoor|1/green")
                   .split(';');
    }
    void revalueNext() {
        QFETCH(QStringList, rows);
        TestContext t;
        setUp(t);
        const auto view = ledgerly::revalueNext(t.data, t.clock);
        for (int r = 0; r < rows.size(); ++r)
            QCOMPARE(cells({view[r].town, view[r].age.text}, view[r].age.colour), rows[r]);
    }

    // Caldmoor and Elven Marketplace: 454 moves there and back; Caldmoor and Hidden City: 620.
    void roundTrips_data() {
        addColumns();  // rows start with the number of loops
        QTest::addColumn<RoundTripFilter>("filter");
        QTest::newRow("best per move first; the lower slot wins a tie; a half goes to the even 100")
            << Prices{{2, kAle, 45000}, {1, 14, 627}, {18, kAle, 63000}} << Stamps{}
            << QStringList{"40", "Caldmoor|Hidden City|Ale|63000|Illutian|1|63001|102/red",
                           "Caldmoor|Elven Marketplace|Ale|45000|Bows|627|45627|100/red"}
            << RoundTripFilter{};
        QTest::newRow("through Elwyn; an empty slot never counts, however much it would pay")
            << Prices{{1, 0, 500000}} << Stamps{}
            << QStringList{"16", "Caldmoor|Elwyn|Ale|1|Aloe|1|2|0/red"} << RoundTripFilter{8, {}};
        QTest::newRow("through Caldmoor, a post too old or never valued is out; exactly N stays")
            << Prices{} << Stamps{{0, 34}, {2, 33.98F}, {11, 10}, {16, 10}}
            << QStringList{"14", "Caldmoor|Ranger's Cabin|Ale|1|Furs|1|2|0/red"}
            << RoundTripFilter{1, 2.0};
    }
    void roundTrips() {
        QFETCH(QStringList, rows);
        QFETCH(RoundTripFilter, filter);
        TestContext t;
        setUp(t);
        const auto view = bestRoundTrips(t.data, t.clock, filter);
        QStringList got{QString::number(view.size())};
        for (const RoundTripRow& row : view)
            got << cells({row.townA, row.townB, row.outbound, row.outboundValue, row.inbound,
                          row.inboundValue, row.payoff, row.goldPerMove.text},
                         row.goldPerMove.colour);
        QCOMPARE(got.mid(0, rows.size()), rows);
    }

    // Each window answers through its controls and leaves the reports' shared buffers alone.
    void windowsAnswerAndLeaveTheSharedBuffers() {
        struct Host : QWidget, ToolWindowHost {
            void openTool(Tool tool) override { opened.push_back(tool); }
            std::vector<Tool> opened;
        };
        TestContext t;
        Host host;
        setUp(t, {{4, kArrows, 800}}, {{0, 35}, {5, 11}});
        // What an earlier report left in the shared buffers, which these windows must keep.
        ReportBuffers& buffers = t.data.buffers;
        buffers.ranking.fill({999, 5, 3, 7});
        for (int a = 1; a <= kTradingPostCount; ++a)
            for (int b = 1; b <= kTradingPostCount; ++b)
                for (int k = 1; k <= kGoodsSlotCount; ++k)
                    buffers.cpm(a, b, k) = 77 + a - b + k;
        buffers.hourClockScratch = 5;
        const ReportBuffers before = buffers;
        QWidget* sell = new WhereToSellWindow(t.context, &host);
        QWidget* revalue = new RevalueNextWindow(t.context, host, &host);
        QWidget* loops = new RoundTripsWindow(t.context, &host);

        auto* find = sell->findChild<QPushButton*>();
        QVERIFY(!find->isEnabled());
        sell->findChild<QComboBox*>()->setCurrentIndex(kArrows - 1);
        QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(sell->findChild<QTableWidget*>()->item(0, 1)->text(), QStringLiteral("800"));

        t.data.setStamp(12, 10);  // New Ashton, never valued after all
        for (QPushButton* button : revalue->findChildren<QPushButton*>())
            QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(revalue->findChild<QTableWidget*>()->item(0, 0)->text(), "New Ashton");
        QVERIFY(host.opened == std::vector<Tool>{Tool::AutoValuer});

        auto* table = loops->findChild<QTableWidget*>();
        loops->findChild<QComboBox*>()->setCurrentIndex(5);  // through Mystara, 25 hours old
        QCOMPARE(table->rowCount(), 16);
        loops->findChild<QSpinBox*>()->setValue(24);
        loops->findChild<QCheckBox*>()->setChecked(true);
        QCOMPARE(table->rowCount(), 0);
        loops->findChild<QSpinBox*>()->setValue(25);
        QCOMPARE(table->rowCount(), 15);  // not with New Ashton
        for (int r = 1; r <= kRankingRows; ++r) {
            const RankingRow &now = buffers.ranking[r], &was = before.ranking[r];
            QVERIFY(now.value == was.value && now.sourceTp == was.sourceTp &&
                    now.slot == was.slot && now.destinationTp == was.destinationTp);
        }
        for (int a = 1; a <= kTradingPostCount; ++a)
            for (int b = 1; b <= kTradingPostCount; ++b)
                for (int k = 1; k <= kGoodsSlotCount; ++k)
                    QCOMPARE(buffers.cpm(a, b, k), before.cpm(a, b, k));
        QCOMPARE(buffers.hourClockScratch, before.hourClockScratch);
    }
};

QTEST_MAIN(TraderQuestionsTest)
#include "test_trader_questions.moc"

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "rules/reports/trader_questions.h"
#include "support/test_platform.h"
#include "windows/reports/revalue_next_window.h"
#include "windows/reports/round_trips_window.h"
#include "windows/reports/route_planner_window.h"
#include "windows/reports/where_to_sell_window.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

constexpr int kAle = 2;     // Caldmoor, slot 1
constexpr int kArrows = 6;  // Elven Marketplace, slot 1

// The questions are asked in their windows at noon on 1 January 2003 (hour 36), after a top-40
// report whose leftovers in the shared buffers they keep: they only read the table and clock.
struct Asked : QWidget, ToolWindowHost {
    Asked(const Prices& prices, const Stamps& stamps) {
        t.clock.set({2003, 1, 1, 12, 0, 0});
        setUpPrices(t.data, prices, stamps);
        t.data.buffers.ranking.fill({999, 5, 3, 7});
        for (int a = 1; a <= kTradingPostCount; ++a)
            for (int b = 1; b <= kTradingPostCount; ++b)
                for (int k = 1; k <= kGoodsSlotCount; ++k)
                    t.data.buffers.cpm(a, b, k) = 77 + a - b + k;
        t.data.buffers.hourClockScratch = 5;
    }
    ~Asked() override {
        const ReportBuffers& left = t.data.buffers;
        for (int r = 1; r <= kRankingRows; ++r)
            QCOMPARE(QList<int>({left.ranking[r].value, left.ranking[r].sourceTp,
                                 left.ranking[r].slot, left.ranking[r].destinationTp}),
                     QList<int>({999, 5, 3, 7}));
        for (int a = 1; a <= kTradingPostCount; ++a)
            for (int b = 1; b <= kTradingPostCount; ++b)
                for (int k = 1; k <= kGoodsSlotCount; ++k)
                    QCOMPARE(left.cpm(a, b, k), 77 + a - b + k);
        QCOMPARE(left.hourClockScratch, 5.0F);
    }
    void openTool(Tool tool) override { opened.push_back(tool); }
    TestContext t;
    std::vector<Tool> opened;
};

// A table's rows as a person reads them, left to right, each cell's text followed by "/" and
// its colour where it has a background: the number of rows first, then the first `count` rows.
QStringList shownRows(const QWidget* window, qsizetype count) {
    static const QMap<QString, QString> kColours{
        {"#ff0000", "red"}, {"#ffff00", "yellow"}, {"#00ff00", "green"}, {"#0000ff", "blue"}};
    const auto* table = window->findChild<QTableWidget*>();
    QStringList rows{QString::number(table->rowCount())};
    for (int r = 0; r < std::min<qsizetype>(count, table->rowCount()); ++r) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* cell = table->item(r, column);
            const QBrush background = cell ? cell->background() : QBrush();
            cells << (cell ? cell->text() : "<empty>") +
                         (background.style() == Qt::NoBrush
                              ? QString()
                              : '/' + kColours.value(background.color().name(), "other"));
        }
        rows << cells.join('|');
    }
    return rows;
}

}  // namespace

class TraderQuestionsTest : public QObject {
    Q_OBJECT
private slots:
    // Arrows are sold at Elven Marketplace: 227 moves to Caldmoor, 510 to Ranger's Cabin.
    void whereToSell() {
        Asked asked({{3, kArrows, 401000}, {2, kArrows, 401000}, {1, kArrows, 22813.5F}},
                    {{2, 36}, {1, 32.75F}});
        WhereToSellWindow window(asked.t.context, &asked);
        auto* find = window.findChild<QPushButton*>();
        QVERIFY(!find->isEnabled());
        window.findChild<QComboBox*>()->setCurrentIndex(kArrows - 1);
        QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(window.findChild<QLineEdit*>()->text(), "Elven Marketplace");
        // Best first, equal values in post order, a half per move to the even neighbour.
        QCOMPARE(shownRows(&window, 3),
                 QStringList({"19", "Elven Marketplace|401000|0/blue|no route|-",
                              "Ranger's Cabin|401000|never valued/red|510|786/blue",
                              "Caldmoor|22813.5|3.25/yellow|227|100/red"}));
        QVERIFY(!ledgerly::whereToSell(asked.t.data, asked.t.clock, 0));  // none: sold nowhere
        window.findChild<QComboBox*>()->setCurrentIndex(0);  // the first commodity is one too
        QVERIFY(find->isEnabled());
    }

    // Never valued first in post order, then the oldest; equal ages as shown keep post order.
    // The selected row leads on to the Auto Valuer, and "Refresh" reads the stamps anew.
    void revalueNext() {
        const Stamps stamps{{0, 35},    {7, 10},      {5, 27},        {3, 10},
                            {6, 34.5F}, {9, 33.004F}, {19, 33.0001F}, {2, 33.009F}};
        Asked asked({}, stamps);
        RevalueNextWindow window(asked.t.context, asked, &asked);
        QCOMPARE(shownRows(&window, 8),
                 QStringList({"19", "Ranger's Cabin|Ranger's Cabin|never valued/red",
                              "Lyryanoth|Lizard's(Lyryanoth)|never valued/red",
                              "Mystara|Tanivsport(Mystara)|9/red",
                              "Elven Marketplace|Elven Marketplace|2.99/yellow",
                              "New Genesia|Dark Army(New Genesia)|2.99/yellow",
                              "NaeraMae|Minotaur(NaeraMae)|2.99/yellow",
                              "Vanlarra|Vanlarra|1.5/green", "Caldmoor|Caldmoor|1/green"}));
        const auto buttons = window.findChildren<QPushButton*>();  // value this post, refresh
        window.findChild<QTableWidget*>()->clearSelection();
        QVERIFY(!buttons[0]->isEnabled());
        asked.t.data.setStamp(12, 10);
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        QCOMPARE(shownRows(&window, 3)[3], "New Ashton|New Ashton|never valued/red");
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        QVERIFY(asked.opened == std::vector<Tool>{Tool::AutoValuer});
    }

    // Caldmoor and Elven Marketplace: 454 moves there and back; Caldmoor and Hidden City: 620.
    void roundTrips_data() {
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<Stamps>("stamps");
        QTest::addColumn<int>("through");  // list position, 0 for "(Any)"
        QTest::addColumn<int>("maxAge");   // 0: no age left out; -1: as the box starts
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("best per move first; the lower slot wins a tie; a half goes to the even 100")
            << Prices{{2, kAle, 45000}, {1, 14, 627}, {18, kAle, 63000}} << Stamps{} << 0 << 0
            << QStringList{"40", "Caldmoor|Hidden City|Ale|63000|Illutian|1|63001|102/red",
                           "Caldmoor|Elven Marketplace|Ale|45000|Bows|627|45627|100/red"};
        QTest::newRow("through Elwyn; an empty slot never counts, however much it would pay")
            << Prices{{1, 0, 500000}} << Stamps{} << 8 << 0
            << QStringList{"16", "Caldmoor|Elwyn|Ale|1|Aloe|1|2|0/red"};
        QTest::newRow("through Caldmoor, a post too old or never valued is out; exactly N stays")
            << Prices{} << Stamps{{0, 34}, {2, 33.98F}, {11, 10}, {16, 10}} << 1 << 2
            << QStringList{"14", "Caldmoor|Ranger's Cabin|Ale|1|Furs|1|2|0/red"};
        QTest::newRow("a day old stays, as the box starts")
            << Prices{} << Stamps{{0, 12}, {2, 11.99F}, {11, 10}, {16, 10}} << 1 << -1
            << QStringList{"14", "Caldmoor|Ranger's Cabin|Ale|1|Furs|1|2|0/red"};
    }
    void roundTrips() {
        QFETCH(Prices, prices);
        QFETCH(Stamps, stamps);
        QFETCH(int, through);
        QFETCH(int, maxAge);
        QFETCH(QStringList, rows);
        Asked asked(prices, stamps);
        RoundTripsWindow window(asked.t.context, &asked);
        window.findChild<QComboBox*>()->setCurrentIndex(through);
        QVERIFY(!window.findChild<QSpinBox*>()->isEnabled());
        if (maxAge > 0)
            window.findChild<QSpinBox*>()->setValue(maxAge);
        if (maxAge)
            window.findChild<QCheckBox*>()->setChecked(true);
        QCOMPARE(shownRows(&window, rows.size() - 1), rows);
    }

    // Plan a Route: Caldmoor sells Ale, Elven Marketplace Arrows, so three legs shuttle between
    // the two. Nothing else was ever valued, so every post is older than any age limit.
    void planRoute() {
        Asked asked({{2, kAle, 100000}, {1, kArrows, 100000}}, {});
        RoutePlannerWindow window(asked.t.context);
        auto* find = window.findChild<QPushButton*>();
        QVERIFY(!find->isEnabled());
        window.findChild<QComboBox*>()->setCurrentIndex(0);
        QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(shownRows(&window, 3).mid(3),
                 QStringList{"3|Caldmoor|Elven Marketplace|Ale|100000|227|never valued/red"});
        QList<QLineEdit*> totals;
        for (QLineEdit* box : window.findChildren<QLineEdit*>())
            if (box->isReadOnly())
                totals << box;
        QCOMPARE(totals[0]->text() + '|' + totals[1]->text() + '|' + totals[2]->text(),
                 "300000|681|441");
        QCOMPARE(totals[2]->palette().color(QPalette::Base), QColor(Qt::yellow));

        auto* maxAge = window.findChildren<QSpinBox*>().last();
        QVERIFY(!maxAge->isEnabled());
        window.findChildren<QCheckBox*>().last()->setChecked(true);
        QVERIFY(maxAge->isEnabled());
        QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(shownRows(&window, 0), QStringList{"0"});
        const auto* noRoute = window.findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(totals[0]->parentWidget()->isHidden() && !noRoute->isHidden());
        QVERIFY(!noRoute->text().isEmpty() && noRoute->focusPolicy() != Qt::NoFocus);
    }
};

QTEST_MAIN(TraderQuestionsTest)
#include "test_trader_questions.moc"

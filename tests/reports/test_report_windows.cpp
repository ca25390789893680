#include <QGroupBox>
#include <QTest>

#include "core/catalogue.h"
#include "reports/payoff_windows.h"
#include "reports/ranking_rows_panel.h"
#include "support/report_rows.h"
#include "support/report_window_probe.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

Q_DECLARE_METATYPE(ledgerly::testing::Price)
Q_DECLARE_METATYPE(ledgerly::testing::Prices)

namespace {

constexpr int kAle = 2;     // Caldmoor, slot 1
constexpr int kArrows = 6;  // Elven Marketplace, slot 1
constexpr int kBows = 14;   // Elven Marketplace, slot 3

}  // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void windowsOpenAsDesigned_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("texts");    // "control=text" as the window opens
        QTest::addColumn<QStringList>("absent");   // controls the window must not have
        QTest::addColumn<QStringList>("buddies");  // "label>control"
        QTest::addColumn<QStringList>("tabOrder");
        const QStringList ageLine{"Label23=Valued", "Text1=", "Label44=hours ago."};
        const QStringList ageBuddies{"Label1>Combo1", "Label23>Text1"};
        const QStringList rowNames{
            "Label2=1.",      "Label21=20.",      "Label24=21.", "Label43=40.",
            "Label22_1=Good", "txtbestvalue_40=", "txttp_40="};
        QTest::newRow("all payoffs")
            << "Command2"
            << "frmallvalues"
            << "All Values"
            << QStringList{"Label1=Pick TP that you want to show all payoffs for",
                           "Combo1=(Select)", "Command1=Get"} +
                   ageLine
            << QStringList{"txtbestvalue_1"} << ageBuddies
            << QStringList{"Combo1",     "Command1", "Text1",     "txtgname_1",
                           "txtvalue_1", "txtcpm_1", "txtgname_2"};
        QTest::newRow("payoffs into a post")
            << "Command3"
            << "frmtop20"
            << "Top 40 Payoffs"
            << QStringList{"Label1=Pick TP that you want to show the top 40 payoffs for",
                           "Command1=Get"} +
                   ageLine + rowNames
            << QStringList{"txtto_1", "lblAfterValue_1"} << ageBuddies
            << QStringList{"Combo1",         "Command1", "Text1",
                           "txtbestvalue_1", "txttp_1",  "txtbestvalue_2"};
        QTest::newRow("payoffs from a post")
            << "Command10"
            << "frmtop40from"
            << "Top 40 payoffs from a specific TP"
            << QStringList{"Label1=Pick TP that you want to show the top 40 payoffs from",
                           "Command1=Get"} +
                   rowNames
            << QStringList{"Text1", "txtto_1"} << QStringList{"Label1>Combo1"}
            << QStringList{"Combo1", "Command1", "txtbestvalue_1", "txttp_1", "txtbestvalue_2"};
        QTest::newRow("payoffs over any pair")
            << "Command8"
            << "frmtop40all"
            << "Top 40 payoffs at any TP" << QStringList{"Label43=40.", "lblTo_40=To", "txtto_40="}
            << QStringList{"Combo1", "Command1", "Text1", "lblAfterValue_1"} << QStringList{}
            << QStringList{"txtbestvalue_1", "txttp_1", "txtto_1", "txtbestvalue_2"};
        QTest::newRow("CPM into a post")
            << "Command5"
            << "frmtop40cpm"
            << "Top 40 CPM"
            << QStringList{"Label1=Pick TP that you want to show the top 40 CPMs for",
                           "Command1=Get", "lblAfterValue_40=CPM"} +
                   ageLine + rowNames
            << QStringList{"txtto_1"} << ageBuddies
            << QStringList{"Combo1",         "Command1", "Text1",
                           "txtbestvalue_1", "txttp_1",  "txtbestvalue_2"};
        QTest::newRow("CPM over any pair")
            << "Command6"
            << "frmtop40cpmall"
            << "Top 40 CPM to any TP"
            << QStringList{"Label22_40=Good", "txttp_40=", "lblTo_40=To", "txtto_40="}
            << QStringList{"Combo1", "Command1", "Text1", "lblAfterValue_1"} << QStringList{}
            << QStringList{"txtbestvalue_1", "txttp_1", "txtto_1", "txtbestvalue_2"};
        QTest::newRow("CPM from a post")
            << "Command9"
            << "frmtop40cpmfrom"
            << "Top 40 CPM from a specific TP"
            << QStringList{"Label1=Pick TP that you want to show the top 40 CPMs from",
                           "Command1=Get", "lblAfterValue_40=CPM"} +
                   rowNames
            << QStringList{"Text1", "Label23", "txtto_1"} << QStringList{"Label1>Combo1"}
            << QStringList{"Combo1", "Command1", "txtbestvalue_1", "txttp_1", "txtbestvalue_2"};
        QTest::newRow("run picker")
            << "Command11"
            << "frmpick"
            << "Pick a Run" << QStringList{"Label1=From",  "Command1=Find", "Label2=Freight",
                                           "txt1=",        "Label3=To",     "txt2=",
                                           "Label4=Value", "txt3=",         "Label5=CPM",
                                           "txt4="}
            << QStringList{"Text1", "txtbestvalue_1"}
            << QStringList{"Label1>Combo1", "Label2>txt1", "Label3>txt2", "Label4>txt3",
                           "Label5>txt4"}
            << QStringList{"Combo1", "Command1", "txt1", "txt2", "txt3", "txt4"};
    }
    void windowsOpenAsDesigned() {
        QFETCH(QString, button);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, absent);
        QFETCH(QStringList, buddies);
        QFETCH(QStringList, tabOrder);
        TestContext t;
        setNeverValued(t.data);
        const auto window = makeReportWindow(t.context, button);
        QCOMPARE(window->objectName(), name);
        QCOMPARE(window->windowTitle(), caption);
        for (const QString& expected : texts) {
            const QString item = expected.section(u'=', 0, 0);
            QCOMPARE(item + u'=' + textOf(*window, item), expected);
        }
        for (const QString& item : absent)
            QVERIFY2(!window->findChild<QWidget*>(item), qPrintable(item));
        for (const QString& pair : buddies) {
            QCOMPARE(control<QLabel>(*window, pair.section(u'>', 0, 0))->buddy(),
                     control(*window, pair.section(u'>', 1, 1)));
        }
        QCOMPARE(focusChain(*window, tabOrder.first(), static_cast<int>(tabOrder.size())),
                 tabOrder);
        for (const auto* box : window->findChildren<QLineEdit*>())
            QVERIFY2(box->isReadOnly(), qPrintable(box->objectName()));

        if (!window->findChild<QWidget*>(QStringLiteral("Combo1")))
            return;
        // A window that asks for a post computes nothing until asked, and only with a post.
        for (const auto* box : window->findChildren<QLineEdit*>())
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(t.data.buffers.ranking[1].value, 0);
        auto* picker = control<QComboBox>(*window, QStringLiteral("Combo1"));
        auto* command = control<QPushButton>(*window, QStringLiteral("Command1"));
        QVERIFY(!command->isEnabled());
        picker->setCurrentIndex(3);
        QVERIFY(command->isEnabled());
        picker->setCurrentIndex(-1);
        QVERIFY(!command->isEnabled());
    }

    // Each window runs its own report and shows its rows, their bands and, where it has one, the
    // age of the chosen post's values. The reports themselves are tested on their own.
    void windowsShowTheirReport_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<int>("chosen");  // 0: the window ranks when it is made
        QTest::addColumn<QString>("age");
        QTest::addColumn<QColor>("ageColour");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<QColor>>("colours");
        QTest::newRow("payoffs into a post")
            << "Command3" << Prices{{9, 77, 1000001}, {9, 30, 260000}, {9, 84, 250000}} << 9
            << "1.25" << kGreen
            << QStringList{"Sugar|1000001|Caldmoor", "Furs|260000|Ranger's Cabin",
                           "Weapons|250000|NaeraMae", "|1|"}
            << QList<QColor>{kBlue, kYellow, kRed, kRed};
        QTest::newRow("payoffs from a post")
            << "Command10" << Prices{{11, 47, 520000}, {1, 47, 510000}} << 19 << QString()
            << QColor() << QStringList{"Mead|520000|Thanos", "Mead|510000|Caldmoor", "|1|"}
            << QList<QColor>{kGreen, kGreen, kRed};
        QTest::newRow("payoffs over any pair")
            << "Command8" << Prices{{16, 88, 700000}} << 0 << QString() << QColor()
            << QStringList{"Wands|700000|Vanlarra|Sea's End", "|1||"}
            << QList<QColor>{kGreen, kRed};
        QTest::newRow("CPM into a post")
            << "Command5" << Prices{{1, kArrows, 90800}, {1, kBows, 159000}, {1, kAle, 150000}} << 1
            << "1.25" << kGreen
            << QStringList{"Bows|700|Elven Marketplace", "Arrows|400|Elven Marketplace",
                           "Ale|2|Caldmoor", "|1|"}
            << QList<QColor>{kGreen, kYellow, kRed, kRed};
        QTest::newRow("CPM over any pair")
            << "Command6" << Prices{{2, kAle, 90800}} << 0 << QString() << QColor()
            << QStringList{"Ale|400|Caldmoor|Elven Marketplace", "Good|1||"}
            << QList<QColor>{kYellow, kRed};
        QTest::newRow("CPM from a post")
            << "Command9" << Prices{{1, kArrows, 90800}, {3, kBows, 163200}} << 2 << QString()
            << QColor()
            << QStringList{"Arrows|400|Caldmoor", "Bows|320|Ranger's Cabin", "Arrows|1|"}
            << QList<QColor>{kYellow, kYellow, kRed};
    }
    void windowsShowTheirReport() {
        QFETCH(QString, button);
        QFETCH(Prices, prices);
        QFETCH(int, chosen);
        QFETCH(QString, age);
        QFETCH(QColor, ageColour);
        QFETCH(QStringList, rows);
        QFETCH(QList<QColor>, colours);
        TestContext t;
        setNeverValued(t.data);
        setPrices(t.data, prices);
        if (chosen)
            t.data.setStamp(chosen, readHourClock(t.clock) - 1.25F);
        const auto window = makeReportWindow(t.context, button);
        if (chosen)
            pickAndPress(*window, chosen);
        if (!age.isEmpty()) {
            QCOMPARE(textOf(*window, QStringLiteral("Text1")), age);
            QCOMPARE(backgroundOf(*window, QStringLiteral("Text1")), ageColour);
        }
        for (int r = 1; r <= rows.size(); ++r) {
            QCOMPARE(rankedRow(*window, r), rows[r - 1]);
            QCOMPARE(backgroundOf(*window, QStringLiteral("txtbestvalue_%1").arg(r)),
                     colours[r - 1]);
        }
        QCOMPARE(backgroundOf(*window, QStringLiteral("txtbestvalue_40")), kRed);
    }

    // The lists over any pair rank once, when the window is made: an open window keeps its list.
    void anyPairListsRankWhenMade_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Price>("before");
        QTest::addColumn<QString>("shownBefore");
        QTest::addColumn<float>("after");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("payoffs") << "Command8" << Price{16, 88, 700000} << "700000" << 1.0F << "1";
        QTest::newRow("CPM") << "Command6" << Price{2, kAle, 90800} << "400" << 227.0F * 701
                             << "701";
    }
    void anyPairListsRankWhenMade() {
        QFETCH(QString, button);
        QFETCH(Price, before);
        QFETCH(QString, shownBefore);
        QFETCH(float, after);
        QFETCH(QString, shownAfter);
        TestContext t;
        setNeverValued(t.data);
        setPrices(t.data, {before});
        const auto first = makeReportWindow(t.context, button);
        t.data.setValue(before.tp, before.commodity, after);
        const auto second = makeReportWindow(t.context, button);
        QCOMPARE(textOf(*first, QStringLiteral("txtbestvalue_1")), shownBefore);
        QCOMPARE(textOf(*second, QStringLiteral("txtbestvalue_1")), shownAfter);
    }

    void allPayoffsFramesAndBoxes() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setStamp(2, readHourClock(t.clock));
        t.data.setValue(2, 2, 200000.5F);   // Ale, box 1
        t.data.setValue(2, 61, 600000.0F);  // Quills, box 38
        frmallvalues window(t.context);
        // Including the captions spelled unlike the list labels; every frame holds its own five
        // rows of the three box arrays.
        const std::pair<int, const char*> captions[] = {{1, "Caldmoor Values"},
                                                        {7, "Lizard's(Lyrynoth)"},
                                                        {17, "Hidden City(Old Wizard's)"},
                                                        {18, "Minotaur(NaeraMae)"}};
        for (const auto& [f, caption] : captions) {
            QCOMPARE(control<QGroupBox>(window, QStringLiteral("Frame%1").arg(f))->title(),
                     QString::fromUtf8(caption));
        }
        for (int n = 1; n <= 90; ++n) {
            const auto* frame = control(window, QStringLiteral("Frame%1").arg((n + 4) / 5));
            for (const char* array : {"txtgname", "txtvalue", "txtcpm"}) {
                QCOMPARE(control(window, QStringLiteral("%1_%2").arg(array).arg(n))->parentWidget(),
                         frame);
            }
        }

        pickAndPress(window, 2);
        const auto box = [&](int n) {
            QStringList shown;
            for (const char* array : {"txtgname", "txtvalue", "txtcpm"})
                shown << textOf(window, QStringLiteral("%1_%2").arg(array).arg(n));
            for (const char* array : {"txtvalue", "txtcpm"})
                shown << backgroundOf(window, QStringLiteral("%1_%2").arg(array).arg(n)).name();
            return shown.join(u' ');
        };
        QCOMPARE(textOf(window, QStringLiteral("Text1")), QStringLiteral("0"));
        QCOMPARE(backgroundOf(window, QStringLiteral("Text1")), kBlue);
        QCOMPARE(box(1), QStringLiteral("Ale 200000.5 881 #ffff00 #0000ff"));
        QCOMPARE(box(38), QStringLiteral("Quills 600000 909 #00ff00 #0000ff"));
        QCOMPARE(box(39), QStringLiteral("  0 #ff0000 #ff0000"));
        QCOMPARE(box(90), QStringLiteral("Weapons 1 0 #ff0000 #ff0000"));
    }

    // A box too narrow for its text scrolls to the end, so the user reads the tail of a number
    // as if it were the whole: "34568E+07" for 1.234568E+07. Each window is shown at the size it
    // opens with, where the ranked boxes are as narrow as they get.
    void boxesShowTheirWholeText_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<float>("paid");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");
        QTest::newRow("all payoffs: widest exponent form")
            << "Command2" << 98765430.0F << "txtvalue_1"
            << "9.876543E+07";
        QTest::newRow("all payoffs: six-digit CPM") << "Command2" << 227.0F * 123456 << "txtcpm_1"
                                                    << "123456";
        QTest::newRow("top 40: a value clamped to the largest figure")
            << "Command3" << 3e12F << "txtbestvalue_1"
            << "2147483647";
        QTest::newRow("top 40: the town") << "Command3" << 500.0F << "txttp_1"
                                          << "Caldmoor";
    }
    void boxesShowTheirWholeText() {
        QFETCH(QString, button);
        QFETCH(float, paid);
        QFETCH(QString, box);
        QFETCH(QString, shown);
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(2, 2, paid);  // Ale from Caldmoor, 227 moves from Elven Marketplace
        const auto window = makeReportWindow(t.context, button);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        pickAndPress(*window, 2);
        auto* shownIn = control<QLineEdit>(*window, box);
        QCOMPARE(shownIn->text(), shown);
        (void)shownIn->grab();  // lays the text out as it is painted
        const int middle = shownIn->height() / 2;
        QCOMPARE(shownIn->cursorPositionAt(QPoint(1, middle)), 0);
        QCOMPARE(shownIn->cursorPositionAt(QPoint(shownIn->width() - 2, middle)),
                 static_cast<int>(shown.size()));
    }

    void rowsPanelLayoutAndNames() {
        RankingRowsOptions options;
        options.labelAfterValue = QStringLiteral("CPM");
        options.valueMeaning = QStringLiteral("CPM");
        RankingRowsPanel panel(options);
        panel.resize(panel.sizeHint());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        for (int r = 1; r <= 40; ++r) {
            const QString rowLabel = QStringLiteral("Label%1").arg(r <= 20 ? r + 1 : r + 3);
            QCOMPARE(textOf(panel, rowLabel), QStringLiteral("%1.").arg(r));
            QCOMPARE(textOf(panel, QStringLiteral("Label22_%1").arg(r)), QStringLiteral("Good"));
            QCOMPARE(panel.valueBox(r)->accessibleName(), QStringLiteral("Row %1 CPM").arg(r));
        }
        // Rows 1-20 down the left column, 21-40 down the right, each row read left to right.
        QVERIFY(panel.valueBox(2)->y() > panel.valueBox(1)->y());
        QCOMPARE(panel.valueBox(21)->y(), panel.valueBox(1)->y());
        QVERIFY(panel.rowLabel(21)->x() > panel.tradingPostBox(1)->x());
        QVERIFY(panel.tradingPostBox(5)->x() > panel.valueBox(5)->x());
        QVERIFY(panel.valueBox(5)->x() > panel.nameLabel(5)->x());
    }

    void rowsPanelLeavesUnsaidControlsAlone() {
        RankingRowsOptions options;
        options.withDestination = true;
        RankingRowsPanel panel(options);
        RankingReportView first;
        for (int r = 1; r <= 40; ++r)
            first.rows[r] = {"Tar", "300000", BandColour::Yellow, "Caldmoor", "Derah"};
        panel.render(first);
        RankingReportView second;
        second.rows[3] = {std::nullopt, "5", BandColour::Red, std::nullopt, ""};
        panel.render(second);
        QCOMPARE(rankedRow(panel, 3), QStringLiteral("Tar|5|Caldmoor|"));
        QCOMPARE(backgroundOf(panel, QStringLiteral("txtbestvalue_3")), kRed);
    }

    void runPickerShowsTheBestRun() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(3, kArrows, 10000);
        const auto window = makeReportWindow(t.context, QStringLiteral("Command11"));
        const QColor plain = backgroundOf(*window, QStringLiteral("txt3"));
        const QStringList boxes{"txt1", "txt2", "txt3", "txt4"};
        const auto shown = [&] {
            QStringList texts;
            for (const QString& box : boxes) {
                texts << textOf(*window, box);
                if (backgroundOf(*window, box) != plain)
                    texts << "painted";
            }
            return texts;
        };
        pickAndPress(*window, 2);
        QCOMPARE(shown(), (QStringList{"Arrows", "Ranger's Cabin", "10000", "20"}));
        // Nothing scores above 0 from Thanos now: Freight and To stay, Value and CPM empty.
        for (int d = 1; d <= kTradingPostCount; ++d)
            t.data.setValue(d, 0, 0.0F);
        pickAndPress(*window, 11);
        QCOMPARE(shown(), (QStringList{"Arrows", "Ranger's Cabin", "", ""}));
    }
};

QTEST_MAIN(ReportWindowsTest)
#include "test_report_windows.moc"

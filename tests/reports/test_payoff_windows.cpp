#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/trading_post_picker.h"
#include "reports/payoff_windows.h"
#include "reports/ranking_rows_panel.h"
#include "reports/report_windows.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

const QColor kRed(0xFF, 0, 0);
const QColor kYellow(0xFF, 0xFF, 0);
const QColor kGreen(0, 0xFF, 0);
const QColor kBlue(0, 0, 0xFF);

template <typename T = QLineEdit>
T* child(const QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found)
        qWarning("no control %s", qPrintable(name));
    return found;
}

QString boxText(const QWidget& window, const QString& name) {
    const auto* box = child(window, name);
    return box ? box->text() : QStringLiteral("<missing>");
}

QString labelText(const QWidget& window, const QString& name) {
    const auto* label = child<QLabel>(window, name);
    return label ? label->text() : QStringLiteral("<missing>");
}

QColor background(const QWidget& window, const QString& name) {
    const auto* box = child(window, name);
    return box ? box->palette().color(QPalette::Base) : QColor();
}

// Picks trading post tp in the window's picker the way a user does, then presses "Get".
void pickAndGet(QWidget& window, int tp) {
    auto* picker = child<TradingPostPicker>(window, QStringLiteral("Combo1"));
    auto* get = child<QPushButton>(window, QStringLiteral("Command1"));
    QVERIFY(picker && get);
    picker->setCurrentIndex(tp - 1);
    QVERIFY(get->isEnabled());
    QTest::mouseClick(get, Qt::LeftButton);
}

}  // namespace

class PayoffWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void windowsOpenEmpty_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("all payoffs") << "Command2"
                                     << "frmallvalues"
                                     << "All Values"
                                     << "Pick TP that you want to show all payoffs for";
        QTest::newRow("top 40 to a post") << "Command3"
                                          << "frmtop20"
                                          << "Top 40 Payoffs"
                                          << "Pick TP that you want to show the top 40 payoffs for";
        QTest::newRow("top 40 from a post")
            << "Command10"
            << "frmtop40from"
            << "Top 40 payoffs from a specific TP"
            << "Pick TP that you want to show the top 40 payoffs from";
    }
    void windowsOpenEmpty() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QString, prompt);
        TestContext t;
        setNeverValued(t.data);
        ToolWindowCatalogue catalogue;
        addReportWindows(catalogue, t.context);
        QVERIFY(catalogue.contains(button));
        std::unique_ptr<QWidget> made(catalogue.at(button)(nullptr));
        QCOMPARE(made->objectName(), window);
        QCOMPARE(made->windowTitle(), caption);
        QCOMPARE(labelText(*made, QStringLiteral("Label1")), prompt);
        auto* label = child<QLabel>(*made, QStringLiteral("Label1"));
        auto* picker = child<TradingPostPicker>(*made, QStringLiteral("Combo1"));
        QVERIFY(label && picker);
        QCOMPARE(label->buddy(), picker);
        QCOMPARE(picker->currentText(), QString());  // shows its "(Select)" placeholder
        // "Get" is usable only while a trading post is chosen.
        auto* get = child<QPushButton>(*made, QStringLiteral("Command1"));
        QVERIFY(!get->isEnabled());
        picker->setCurrentIndex(3);
        QVERIFY(get->isEnabled());
        picker->setCurrentIndex(-1);
        QVERIFY(!get->isEnabled());
        // Nothing is computed before "Get": the shared list is untouched.
        QCOMPARE(t.data.buffers.ranking[1].value, 0);
        for (const auto* box : made->findChildren<QLineEdit*>()) {
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
            QVERIFY2(box->isReadOnly(), qPrintable(box->objectName()));
        }
    }

    void topToPostShowsRowsAgeAndColours() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setStamp(9, readHourClock(t.clock) - 1.25F);
        t.data.setValue(9, 77, 1000001.0F);  // Sugar from Caldmoor
        t.data.setValue(9, 30, 260000.0F);   // Furs from Ranger's Cabin
        t.data.setValue(9, 84, 250000.0F);   // Weapons from NaeraMae
        frmtop20 window(t.context);
        QCOMPARE(labelText(window, QStringLiteral("Label22_1")), QStringLiteral("Good"));
        pickAndGet(window, 9);

        QCOMPARE(boxText(window, QStringLiteral("Text1")), QStringLiteral("1.25"));
        QCOMPARE(background(window, QStringLiteral("Text1")), kGreen);
        QCOMPARE(labelText(window, QStringLiteral("Label23")), QStringLiteral("Valued"));
        QCOMPARE(labelText(window, QStringLiteral("Label44")), QStringLiteral("hours ago."));

        const QStringList names{"Sugar", "Furs", "Weapons", ""};
        const QStringList values{"1000001", "260000", "250000", "1"};
        const QStringList towns{"Caldmoor", "Ranger's Cabin", "NaeraMae", ""};
        const QList<QColor> colours{kBlue, kYellow, kRed, kRed};
        for (int r = 1; r <= 4; ++r) {
            QCOMPARE(labelText(window, QStringLiteral("Label22_%1").arg(r)), names[r - 1]);
            QCOMPARE(boxText(window, QStringLiteral("txtbestvalue_%1").arg(r)), values[r - 1]);
            QCOMPARE(boxText(window, QStringLiteral("txttp_%1").arg(r)), towns[r - 1]);
            QCOMPARE(background(window, QStringLiteral("txtbestvalue_%1").arg(r)), colours[r - 1]);
        }
        QCOMPARE(boxText(window, QStringLiteral("txtbestvalue_40")), QStringLiteral("1"));
        QCOMPARE(background(window, QStringLiteral("txtbestvalue_40")), kRed);

        // A second run for another post clears what the first left in rows it does not reach.
        pickAndGet(window, 2);
        QCOMPARE(labelText(window, QStringLiteral("Label22_1")), QString());
        QCOMPARE(boxText(window, QStringLiteral("txttp_1")), QString());
        QCOMPARE(boxText(window, QStringLiteral("txtbestvalue_1")), QStringLiteral("1"));
        QCOMPARE(background(window, QStringLiteral("txtbestvalue_1")), kRed);
        QCOMPARE(background(window, QStringLiteral("Text1")), kRed);
    }

    void topFromPostShowsDestinations() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(11, 47, 520000.0F);  // Mead from NaeraMae, bought by Thanos
        t.data.setValue(1, 47, 510000.0F);
        frmtop40from window(t.context);
        QVERIFY(!window.findChild<QLineEdit*>(QStringLiteral("Text1")));
        pickAndGet(window, 19);
        QCOMPARE(labelText(window, QStringLiteral("Label22_1")), QStringLiteral("Mead"));
        QCOMPARE(boxText(window, QStringLiteral("txtbestvalue_1")), QStringLiteral("520000"));
        QCOMPARE(boxText(window, QStringLiteral("txttp_1")), QStringLiteral("Thanos"));
        QCOMPARE(background(window, QStringLiteral("txtbestvalue_1")), kGreen);
        QCOMPARE(boxText(window, QStringLiteral("txttp_2")), QStringLiteral("Caldmoor"));
        QCOMPARE(boxText(window, QStringLiteral("txttp_3")), QString());
    }

    void topAnyPostComputesWhenMade() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(16, 88, 700000.0F);  // Wands from Vanlarra to Sea's End
        ToolWindowCatalogue catalogue;
        addReportWindows(catalogue, t.context);
        std::unique_ptr<QWidget> window(catalogue.at(QStringLiteral("Command8"))(nullptr));
        QCOMPARE(window->objectName(), QStringLiteral("frmtop40all"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Top 40 payoffs at any TP"));
        QVERIFY(!window->findChild<QPushButton*>());
        QCOMPARE(labelText(*window, QStringLiteral("Label22_1")), QStringLiteral("Wands"));
        QCOMPARE(boxText(*window, QStringLiteral("txtbestvalue_1")), QStringLiteral("700000"));
        QCOMPARE(boxText(*window, QStringLiteral("txttp_1")), QStringLiteral("Vanlarra"));
        QCOMPARE(labelText(*window, QStringLiteral("lblTo_1")), QStringLiteral("To"));
        QCOMPARE(boxText(*window, QStringLiteral("txtto_1")), QStringLiteral("Sea's End"));
        QCOMPARE(background(*window, QStringLiteral("txtbestvalue_1")), kGreen);
        QCOMPARE(boxText(*window, QStringLiteral("txtto_2")), QString());
        QCOMPARE(boxText(*window, QStringLiteral("txtbestvalue_2")), QStringLiteral("1"));

        // The window keeps its list; a new one made later sees new values.
        t.data.setValue(16, 88, 1.0F);
        std::unique_ptr<QWidget> again(catalogue.at(QStringLiteral("Command8"))(nullptr));
        QCOMPARE(boxText(*window, QStringLiteral("txtbestvalue_1")), QStringLiteral("700000"));
        QCOMPARE(boxText(*again, QStringLiteral("txtbestvalue_1")), QStringLiteral("1"));
    }

    void allPayoffsFramesAndBoxes() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setStamp(2, readHourClock(t.clock));
        t.data.setValue(2, 2, 200000.5F);   // Ale, box 1
        t.data.setValue(2, 61, 600000.0F);  // Quills, box 38
        frmallvalues window(t.context);

        // Spot checks, including the captions spelled unlike the list labels; every frame holds
        // its own five rows of the three box arrays.
        const std::pair<int, const char*> captions[] = {{1, "Caldmoor Values"},
                                                        {4, "Riveron"},
                                                        {7, "Lizard's(Lyrynoth)"},
                                                        {11, "New Ashton"},
                                                        {17, "Hidden City(Old Wizard's)"},
                                                        {18, "Minotaur(NaeraMae)"}};
        for (const auto& [f, caption] : captions) {
            QCOMPARE(child<QGroupBox>(window, QStringLiteral("Frame%1").arg(f))->title(),
                     QString::fromUtf8(caption));
        }
        for (int n = 1; n <= 90; ++n) {
            const auto* frame =
                child<QGroupBox>(window, QStringLiteral("Frame%1").arg((n + 4) / 5));
            for (const char* array : {"txtgname", "txtvalue", "txtcpm"}) {
                QCOMPARE(child(window, QStringLiteral("%1_%2").arg(array).arg(n))->parentWidget(),
                         frame);
            }
        }

        pickAndGet(window, 2);
        QCOMPARE(boxText(window, QStringLiteral("Text1")), QStringLiteral("0"));
        QCOMPARE(background(window, QStringLiteral("Text1")), kBlue);
        QCOMPARE(boxText(window, QStringLiteral("txtgname_1")), QStringLiteral("Ale"));
        QCOMPARE(boxText(window, QStringLiteral("txtvalue_1")), QStringLiteral("200000.5"));
        QCOMPARE(background(window, QStringLiteral("txtvalue_1")), kYellow);
        QCOMPARE(boxText(window, QStringLiteral("txtcpm_1")), QStringLiteral("881"));
        QCOMPARE(background(window, QStringLiteral("txtcpm_1")), kBlue);
        QCOMPARE(boxText(window, QStringLiteral("txtgname_38")), QStringLiteral("Quills"));
        QCOMPARE(background(window, QStringLiteral("txtvalue_38")), kGreen);
        QCOMPARE(boxText(window, QStringLiteral("txtcpm_38")), QStringLiteral("909"));
        for (const QString& n : {QStringLiteral("39"), QStringLiteral("40")}) {
            QCOMPARE(boxText(window, QStringLiteral("txtgname_") + n), QString());
            QCOMPARE(boxText(window, QStringLiteral("txtvalue_") + n), QString());
            QCOMPARE(background(window, QStringLiteral("txtvalue_") + n), kRed);
            QCOMPARE(boxText(window, QStringLiteral("txtcpm_") + n), QStringLiteral("0"));
            QCOMPARE(background(window, QStringLiteral("txtcpm_") + n), kRed);
        }
        QCOMPARE(boxText(window, QStringLiteral("txtvalue_90")), QStringLiteral("1"));
        QCOMPARE(background(window, QStringLiteral("txtvalue_90")), kRed);
    }

    // A box too narrow for its text scrolls to the end, so the user reads the tail of a number
    // as if it were the whole: "34568E+07" for 1.234568E+07. Each window is shown at the size it
    // opens with, where the ranked boxes are as narrow as they get.
    void boxesShowTheirWholeText_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<float>("paid");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shown");
        QTest::newRow("all payoffs: exponent form") << "Command2" << 12345678.0F << "txtvalue_1"
                                                    << "1.234568E+07";
        QTest::newRow("all payoffs: widest exponent form")
            << "Command2" << 98765430.0F << "txtvalue_1"
            << "9.876543E+07";
        QTest::newRow("all payoffs: seven digits and a fraction")
            << "Command2" << 888888.8F << "txtvalue_1"
            << "888888.8";
        QTest::newRow("all payoffs: six-digit CPM") << "Command2" << 227.0F * 123456 << "txtcpm_1"
                                                    << "123456";
        QTest::newRow("top 40: eight digits") << "Command3" << 12345678.0F << "txtbestvalue_1"
                                              << "12345678";
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
        ToolWindowCatalogue catalogue;
        addReportWindows(catalogue, t.context);
        std::unique_ptr<QWidget> window(catalogue.at(button)(nullptr));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        pickAndGet(*window, 2);
        auto* shownIn = child(*window, box);
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
            QCOMPARE(labelText(panel, rowLabel), QStringLiteral("%1.").arg(r));
            QCOMPARE(labelText(panel, QStringLiteral("Label22_%1").arg(r)), QStringLiteral("Good"));
            QCOMPARE(panel.valueBox(r)->accessibleName(), QStringLiteral("Row %1 CPM").arg(r));
            QCOMPARE(panel.destinationBox(r), nullptr);
        }
        QCOMPARE(labelText(panel, QStringLiteral("lblAfterValue_7")), QStringLiteral("CPM"));
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
        for (int r = 1; r <= 40; ++r) {
            first.rows[r] = {"Tar", "300000", BandColour::Yellow, "Caldmoor", "Derah"};
        }
        panel.render(first);
        RankingReportView second;
        second.rows[3] = {std::nullopt, "5", BandColour::Red, std::nullopt, ""};
        panel.render(second);
        QCOMPARE(panel.nameLabel(3)->text(), QStringLiteral("Tar"));
        QCOMPARE(panel.tradingPostBox(3)->text(), QStringLiteral("Caldmoor"));
        QCOMPARE(panel.destinationBox(3)->text(), QString());
        QCOMPARE(panel.valueBox(3)->text(), QStringLiteral("5"));
        QCOMPARE(panel.valueBox(3)->palette().color(QPalette::Base), kRed);
    }
};

QTEST_MAIN(PayoffWindowsTest)
#include "test_payoff_windows.moc"

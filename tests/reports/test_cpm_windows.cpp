#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/frmmain.h"
#include "core/catalogue.h"
#include "reports/report_windows.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

constexpr int kAle = 2;     // Caldmoor, slot 1
constexpr int kArrows = 6;  // Elven Marketplace, slot 1
constexpr int kBows = 14;   // Elven Marketplace, slot 3

const QColor kRed(0xFF0000);
const QColor kYellow(0xFFFF00);
const QColor kGreen(0x00FF00);
const QColor kBlue(0x0000FF);

template <typename T = QWidget>
T* control(const QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("%s has no control %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

QString textOf(const QWidget* window, const QString& name) {
    QWidget* widget = control(window, name);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        return box->text();
    if (auto* button = qobject_cast<QPushButton*>(widget))
        return button->text();
    if (auto* list = qobject_cast<QComboBox*>(widget))
        return list->currentIndex() < 0 ? list->placeholderText() : list->currentText();
    return QStringLiteral("<not a text control>");
}

QColor backgroundOf(const QWidget* window, const QString& name) {
    const auto* box = control<QLineEdit>(window, name);
    return box->palette().color(QPalette::Base);
}

// Picks the list item of post tp, as a person choosing from the drop-down would.
void pick(QWidget* window, int tp) {
    control<QComboBox>(window, QStringLiteral("Combo1"))->setCurrentIndex(tp - 1);
}

void press(QWidget* window) {
    QTest::mouseClick(control<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
}

// What a person reads on row r: name, value and town boxes.
QStringList row(const QWidget* window, int r) {
    const QString n = QString::number(r);
    QStringList texts{textOf(window, "Label22_" + n), textOf(window, "txtbestvalue_" + n),
                      textOf(window, "txttp_" + n)};
    if (window->findChild<QLineEdit*>("txtto_" + n))
        texts << textOf(window, "txtto_" + n);
    return texts;
}

std::unique_ptr<QWidget> makeWindow(AppContext& context, const QString& button) {
    ToolWindowCatalogue catalogue;
    addReportWindows(catalogue, context);
    const auto factory = catalogue.find(button);
    if (factory == catalogue.end())
        return nullptr;
    std::unique_ptr<QWidget> window(factory->second(nullptr));
    window->show();
    return window;
}

}  // namespace

class CpmWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void windowsCarryTheirNamesAndControls_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("texts");  // "control=text" at design time
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("CPM into a post")
            << "Command5"
            << "frmtop40cpm"
            << "Top 40 CPM"
            << QStringList{"Label1=Pick TP that you want to show the top 40 CPMs for",
                           "Command1=Get",
                           "Label23=Valued",
                           "Text1=",
                           "Label44=hours ago.",
                           "Label2=1.",
                           "Label21=20.",
                           "Label24=21.",
                           "Label43=40.",
                           "Label22_1=Good",
                           "Label22_40=Good",
                           "txtbestvalue_40=",
                           "lblAfterValue_40=CPM",
                           "txttp_40="}
            << QStringList{"txtto_1"};
        QTest::newRow("CPM over any pair")
            << "Command6"
            << "frmtop40cpmall"
            << "Top 40 CPM to any TP"
            << QStringList{"Label22_40=Good", "txttp_40=", "lblTo_40=To", "txtto_40="}
            << QStringList{"Combo1", "Command1", "Text1", "lblAfterValue_1"};
        QTest::newRow("CPM from a post")
            << "Command9"
            << "frmtop40cpmfrom"
            << "Top 40 CPM from a specific TP"
            << QStringList{"Label1=Pick TP that you want to show the top 40 CPMs from",
                           "Command1=Get",
                           "Label22_40=Good",
                           "txtbestvalue_40=",
                           "lblAfterValue_40=CPM",
                           "txttp_40="}
            << QStringList{"Text1", "Label23", "txtto_1"};
        QTest::newRow("run picker")
            << "Command11"
            << "frmpick"
            << "Pick a Run" << QStringList{"Label1=From",  "Command1=Find", "Label2=Freight",
                                           "txt1=",        "Label3=To",     "txt2=",
                                           "Label4=Value", "txt3=",         "Label5=CPM",
                                           "txt4="}
            << QStringList{"Text1", "txtbestvalue_1"};
    }
    void windowsCarryTheirNamesAndControls() {
        QFETCH(QString, button);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, absent);
        TestContext t;
        setNeverValued(t.data);
        const auto window = makeWindow(t.context, button);
        QVERIFY(window);
        QCOMPARE(window->objectName(), name);
        QCOMPARE(window->windowTitle(), caption);
        for (const QString& expected : texts) {
            const QString control = expected.section(u'=', 0, 0);
            QCOMPARE(control + u'=' + textOf(window.get(), control), expected);
        }
        for (const QString& control : absent)
            QVERIFY2(!window->findChild<QWidget*>(control), qPrintable(control));
    }

    void theButtonWaitsForATradingPost_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("CPM into a post") << "Command5";
        QTest::newRow("CPM from a post") << "Command9";
        QTest::newRow("run picker") << "Command11";
    }
    void theButtonWaitsForATradingPost() {
        QFETCH(QString, button);
        TestContext t;
        setNeverValued(t.data);
        const auto window = makeWindow(t.context, button);
        auto* command = control<QPushButton>(window.get(), QStringLiteral("Command1"));
        QCOMPARE(textOf(window.get(), QStringLiteral("Combo1")), QStringLiteral("(Select)"));
        QVERIFY(!command->isEnabled());
        pick(window.get(), 19);
        QVERIFY(command->isEnabled());
        // Labels lead to the control they name, for keyboard and screen-reader users.
        QCOMPARE(control<QLabel>(window.get(), QStringLiteral("Label1"))->buddy(),
                 control(window.get(), QStringLiteral("Combo1")));
    }

    void cpmIntoAPost() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(1, kArrows, 90800);  // 400 over 227 moves
        t.data.setValue(1, kBows, 159000);   // 700.4 -> 700
        t.data.setValue(1, kAle, 150000);    // Caldmoor's own Ale: 1.5 -> 2
        t.data.setStamp(1, readHourClock(t.clock) - 0.75F);
        const auto window = makeWindow(t.context, QStringLiteral("Command5"));
        pick(window.get(), 1);
        press(window.get());

        QCOMPARE(textOf(window.get(), QStringLiteral("Text1")), QStringLiteral("0.75"));
        QCOMPARE(backgroundOf(window.get(), QStringLiteral("Text1")), kGreen);
        QCOMPARE(row(window.get(), 1), (QStringList{"Bows", "700", "Elven Marketplace"}));
        QCOMPARE(backgroundOf(window.get(), QStringLiteral("txtbestvalue_1")), kGreen);
        QCOMPARE(row(window.get(), 2), (QStringList{"Arrows", "400", "Elven Marketplace"}));
        QCOMPARE(backgroundOf(window.get(), QStringLiteral("txtbestvalue_2")), kYellow);
        QCOMPARE(row(window.get(), 3), (QStringList{"Ale", "2", "Caldmoor"}));
        QCOMPARE(backgroundOf(window.get(), QStringLiteral("txtbestvalue_3")), kRed);
        QCOMPARE(row(window.get(), 4), (QStringList{"", "1", ""}));
        QCOMPARE(backgroundOf(window.get(), QStringLiteral("txtbestvalue_40")), kRed);
    }

    // Ranked once when the window is made; an open window is only raised, a closed one is made
    // afresh and ranks the current prices.
    void cpmOverAnyPairRanksWhenOpened() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(2, kAle, 90800);
        ToolWindowCatalogue catalogue;
        addReportWindows(catalogue, t.context);
        frmMain main(std::move(catalogue));
        main.openToolWindow(QStringLiteral("Command6"));
        QWidget* first = main.toolWindow(QStringLiteral("Command6"));
        QVERIFY(first);
        QCOMPARE(row(first, 1), (QStringList{"Ale", "400", "Caldmoor", "Elven Marketplace"}));
        QCOMPARE(row(first, 2), (QStringList{"Good", "1", "", ""}));
        QCOMPARE(backgroundOf(first, QStringLiteral("txtbestvalue_2")), kRed);

        t.data.setValue(2, kAle, 227 * 701);
        main.openToolWindow(QStringLiteral("Command6"));
        QCOMPARE(main.toolWindow(QStringLiteral("Command6")), first);
        QCOMPARE(textOf(first, QStringLiteral("txtbestvalue_1")), QStringLiteral("400"));

        first->close();
        QTRY_VERIFY(!main.toolWindow(QStringLiteral("Command6")));
        main.openToolWindow(QStringLiteral("Command6"));
        QWidget* second = main.toolWindow(QStringLiteral("Command6"));
        QCOMPARE(textOf(second, QStringLiteral("txtbestvalue_1")), QStringLiteral("701"));
        QCOMPARE(backgroundOf(second, QStringLiteral("txtbestvalue_1")), kBlue);
        second->close();
    }

    void cpmFromAPostClearsTownsOfRowsNoLongerReached() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(1, kArrows, 90800);  // to Caldmoor, 400
        t.data.setValue(3, kBows, 163200);   // to Ranger's Cabin, 320
        const auto window = makeWindow(t.context, QStringLiteral("Command9"));
        pick(window.get(), 2);
        press(window.get());
        QCOMPARE(row(window.get(), 1), (QStringList{"Arrows", "400", "Caldmoor"}));
        QCOMPARE(row(window.get(), 2), (QStringList{"Bows", "320", "Ranger's Cabin"}));
        QCOMPARE(backgroundOf(window.get(), QStringLiteral("txtbestvalue_2")), kYellow);

        t.data.setValue(3, kBows, 1);
        press(window.get());
        QCOMPARE(row(window.get(), 1), (QStringList{"Arrows", "400", "Caldmoor"}));
        // The row's destination column still says Ranger's Cabin; the box does not.
        QCOMPARE(row(window.get(), 2), (QStringList{"Arrows", "1", ""}));
        QCOMPARE(backgroundOf(window.get(), QStringLiteral("txtbestvalue_2")), kRed);
    }

    void runPicker() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(3, kArrows, 10000);  // CPM 20, scores 90000
        t.data.setValue(9, kArrows, 14000);  // CPM 19, scores 90000 too, met later
        const auto window = makeWindow(t.context, QStringLiteral("Command11"));
        const QColor plain = control<QLineEdit>(window.get(), QStringLiteral("txt3"))
                                 ->palette()
                                 .color(QPalette::Base);
        pick(window.get(), 2);
        press(window.get());
        const QStringList boxes{"txt1", "txt2", "txt3", "txt4"};
        auto shown = [&] {
            QStringList texts;
            for (const QString& box : boxes)
                texts << textOf(window.get(), box);
            return texts;
        };
        QCOMPARE(shown(), (QStringList{"Arrows", "Ranger's Cabin", "10000", "20"}));
        for (const QString& box : boxes)
            QCOMPARE(backgroundOf(window.get(), box), plain);

        // Nothing scores above 0 from Thanos now: Freight and To stay, Value and CPM empty.
        for (int d = 1; d <= kTradingPostCount; ++d)
            t.data.setValue(d, 0, 0.0F);
        pick(window.get(), 11);
        press(window.get());
        QCOMPARE(shown(), (QStringList{"Arrows", "Ranger's Cabin", "", ""}));
    }

    void runPickerLabelsAndTabOrder() {
        TestContext t;
        setNeverValued(t.data);
        const auto window = makeWindow(t.context, QStringLiteral("Command11"));
        const QStringList labels{"Label1", "Label2", "Label3", "Label4", "Label5"};
        const QStringList buddies{"Combo1", "txt1", "txt2", "txt3", "txt4"};
        for (qsizetype i = 0; i < labels.size(); ++i) {
            QCOMPARE(control<QLabel>(window.get(), labels[i])->buddy(),
                     control(window.get(), buddies[i]));
        }
        const QStringList order{"Combo1", "Command1", "txt1", "txt2", "txt3", "txt4"};
        QWidget* widget = control(window.get(), order.first());
        for (qsizetype i = 1; i < order.size(); ++i) {
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus)
                widget = widget->nextInFocusChain();
            QCOMPARE(widget->objectName(), order[i]);
        }
    }
};

QTEST_MAIN(CpmWindowsTest)
#include "test_cpm_windows.moc"

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "app/startup.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

// A missing control stops the run: a renamed control must never pass by accident.
template <typename T = QWidget>
T* control(const QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("%s has no control %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

void click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// The object names met when tabbing `count` times from the control named `first`.
QStringList tabChain(const QWidget* window, const QString& first, qsizetype count) {
    QStringList met;
    QWidget* widget = control(window, first);
    while (met.size() < count) {
        met << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus);
    }
    return met;
}

// What a person reads in each named label or box, and "/" and the colour a box shows.
QStringList seen(const QWidget* window, const QStringList& names) {
    QStringList texts;
    for (const QString& name : names) {
        if (const auto* label = window->findChild<QLabel*>(name)) {
            texts << label->text();
            continue;
        }
        const auto* box = control<QLineEdit>(window, name);
        const QString colour = box->palette().color(QPalette::Base).name();
        texts << box->text() + (box->autoFillBackground() ? '/' + colour : QString());
    }
    return texts;
}

// The main window over never-valued prices and `prices`, post `valued` valued `hours` ago, in
// a German locale, where report boxes show a decimal comma; `tool` opened from its button.
struct Opened {
    Opened(Tool tool, const Prices& prices, int valued, float hours) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        setUpPrices(t.data, prices, {valuedAgo(t.clock, valued, hours)});
        click(main->button(tool));
        window = main->toolWindow(tool);
    }
    ~Opened() { QLocale::setDefault(QLocale::c()); }
    TestContext t;
    std::unique_ptr<MainWindow> main = startLedgerly(t.context);
    QWidget* window = nullptr;
};

// Picks post `tp` in a window's picker and presses the button that waits for it.
void getFor(const QWidget* window, int tp, const QString& button = QStringLiteral("Command1")) {
    QVERIFY(!control(window, button)->isEnabled());
    control<QComboBox>(window, "Combo1")->setCurrentIndex(tp - 1);
    click(control(window, button));
}

}  // namespace

Q_DECLARE_METATYPE(ledgerly::Tool)

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    // The store is loaded before the main window shows; an unreadable one is reported once and
    // left as it is. Every button is there, in the designed tab order (as are All Values' first
    // boxes); its window is made on the first click, shown again while it lives, made afresh once
    // closed, and closed with the main window.
    void startAndToolWindows() {
        TestContext t;
        QFile file(t.storePath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("12\r\nbanana\r\n"));
        file.close();
        const auto window = startLedgerly(t.context);
        QVERIFY(window->isVisible());
        QCOMPARE(fileBytes(t.storePath()), "12\r\nbanana\r\n");
        QCOMPARE(t.messages.shown.size(), 1);
        QVERIFY(t.messages.shown[0].text.contains("line 2: 'banana'"));
        QStringList designed{"Command2",  "Command3",  "Command4", "Command7",
                             "Command8",  "Command5",  "Command6", "Command9",
                             "Command10", "Command11", "Command12"};  // then the newer buttons
        for (const Tool tool : {Tool::WhereToSell, Tool::RevalueNext, Tool::RoundTrips,
                                Tool::PlanRoute, Tool::PriceHistory})
            designed << window->button(tool)->objectName();
        QCOMPARE(tabChain(window.get(), designed[0], kToolCount), designed);
        const QFont prominent = window->button(Tool::AutoValuer)->font();  // "GET VALUES"
        QVERIFY(prominent.pointSize() == 12 && prominent.bold());
        for (const Tool tool : kAllTools) {
            click(window->button(tool));
            QWidget* opened = window->toolWindow(tool);
            QVERIFY(opened && opened->isVisible());
            // Named, as are its controls, for screen-reader checks and players' scripts.
            QVERIFY(!opened->objectName().isEmpty());
            for (const QWidget* widget : opened->findChildren<QWidget*>()) {
                const bool frame = widget->inherits("QScrollArea") ||
                                   widget->parentWidget()->inherits("QAbstractScrollArea");
                QVERIFY2(widget->focusPolicy() == Qt::NoFocus || frame ||
                             !widget->objectName().isEmpty(),
                         widget->metaObject()->className());
            }
        }
        const QStringList allValues{"Combo1", "Command1", "Text1", "txtgname_1", "txtvalue_1"};
        QCOMPARE(tabChain(window->toolWindow(Tool::AllPayoffs), allValues[0], allValues.size()),
                 allValues);

        const Tool tool = Tool::TopPayoffsToPost;
        QPointer<QWidget> first = window->toolWindow(tool);
        first->hide();
        click(window->button(tool));
        QCOMPARE(window->toolWindow(tool), first);
        QVERIFY(first->isVisible() && first->isWindow());
        first->close();
        QTRY_VERIFY(first.isNull());
        click(window->button(tool));
        QPointer<QWidget> second = window->toolWindow(tool);
        QVERIFY(second && second->isVisible());
        window->close();
        QVERIFY(!second || !second->isVisible());
    }

    // Each report window for the post picked at `chosen` (0: one that reports when it is made),
    // that post valued 1.25 hours ago: what its first boxes show.
    void reportWindows_data() {
        QTest::addColumn<Tool>("tool");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("shown");
        const QStringList row{"Label22_1", "txtbestvalue_1", "txttp_1"};
        const QStringList aged = row + QStringList{"Text1"}, toAny = row + QStringList{"txtto_1"};
        QTest::newRow("payoffs into a post")
            << Tool::TopPayoffsToPost << 9 << Prices{{9, 77, 1000001}} << aged
            << QStringList{"Sugar", "1000001/#0000ff", "Caldmoor", "1,25/#00ff00"};
        QTest::newRow("payoffs from a post")
            << Tool::TopPayoffsFromPost << 19 << Prices{{11, 47, 520000}} << row
            << QStringList{"Mead", "520000/#00ff00", "Thanos"};
        QTest::newRow("payoffs over any pair")
            << Tool::TopPayoffsToAnyPost << 0 << Prices{{16, 88, 700000}} << toAny
            << QStringList{"Wands", "700000/#00ff00", "Vanlarra", "Sea's End"};
        QTest::newRow("CPM into a post")
            << Tool::TopCpmToPost << 1 << Prices{{1, 6, 90800}} << aged
            << QStringList{"Arrows", "400/#ffff00", "Elven Marketplace", "1,25/#00ff00"};
        QTest::newRow("CPM from a post") << Tool::TopCpmFromPost << 2 << Prices{{1, 6, 90800}}
                                         << row << QStringList{"Arrows", "400/#ffff00", "Caldmoor"};
        QTest::newRow("CPM over any pair")
            << Tool::TopCpmToAnyPost << 0 << Prices{{2, 2, 90800}} << toAny
            << QStringList{"Ale", "400/#ffff00", "Caldmoor", "Elven Marketplace"};
        QTest::newRow("all values, with a slot the post leaves empty")
            << Tool::AllPayoffs << 2 << Prices{{2, 2, 200000.5F}}
            << QStringList{"Text1",       "txtgname_1",  "txtvalue_1", "txtcpm_1",
                           "txtgname_39", "txtvalue_39", "txtcpm_39",  "txtgname_90"}
            << QStringList{"1,25/#00ff00", "Ale",       "200000,5/#ffff00", "881/#0000ff", "",
                           "/#ff0000",     "0/#ff0000", "Weapons"};
        QTest::newRow("the run picker") << Tool::RunPicker << 2 << Prices{{3, 6, 10000.5F}}
                                        << QStringList{"txt1", "txt2", "txt3", "txt4"}
                                        << QStringList{"Arrows", "Ranger's Cabin", "10000,5", "20"};
    }
    void reportWindows() {
        QFETCH(Tool, tool);
        QFETCH(int, chosen);
        QFETCH(Prices, prices);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, shown);
        const Opened opened(tool, prices, std::max(chosen, 1), 1.25F);
        if (chosen)
            getFor(opened.window, chosen);
        QCOMPARE(seen(opened.window, boxes), shown);
        QCOMPARE(bool(opened.window->findChild<QWidget*>("Text1")), boxes.contains("Text1"));
    }

    // The export windows: "Get" waits for every picker and builds the line for the posts picked,
    // with a period in any locale; "Put into clipboard" copies the box, edited or not.
    void exportWindows() {
        const Opened values(Tool::ExportValues, {{2, 2, 210.5F}}, 2, 3.25F);
        for (const auto& [picker, index] : {std::pair{"Combo1", 0}, {"Combo2", 1}}) {
            QVERIFY(!control(values.window, "Command2")->isEnabled());
            control<QComboBox>(values.window, picker)->setCurrentIndex(index);
        }
        click(control(values.window, "Command2"));
        auto* line = control<QLineEdit>(values.window, "txtexport");
        line->end(false);
        QTest::keyClicks(line, " - ask me");
        click(control(values.window, "Command1"));
        QCOMPARE(values.t.clipboard.texts,
                 QStringList{"Values from Caldmoor to Elven Marketplace. Valued 3.25 hours ago. "
                             "Ale - 210.5  Raisins - 1  Salt - 1  Sugar - 1  Tar - 1 - ask me"});

        const Opened topFive(Tool::ExportTopFive, {}, 2, 0);
        line = control<QLineEdit>(topFive.window, "txtexport");
        QTest::keyClicks(line, " WTB Silk  ");
        click(control(topFive.window, "Command1"));
        getFor(topFive.window, 2, "Command2");
        QVERIFY(line->text().startsWith("Top 5 non-cpk values to Elven Marketplace. Valued 0 "));
        click(control(topFive.window, "Command1"));
        QCOMPARE(topFive.t.clipboard.texts, QStringList({" WTB Silk  ", line->text()}));
    }
};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"

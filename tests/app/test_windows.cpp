#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include "app/main_window.h"
#include "app/startup.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;
Q_DECLARE_METATYPE(ledgerly::Tool)

namespace {

// A missing control stops the run: a renamed control must never pass by accident.
template <typename T = QWidget>
T* control(const QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("%s has no control %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

// What a person reads in `item`: a label's or box's text, "#box" its background, or "row N"
// a top-40 row as "name|value|town[|destination]".
QString read(const QWidget* window, const QString& item) {
    if (item.startsWith(u'#'))
        return control<QLineEdit>(window, item.mid(1))->palette().color(QPalette::Base).name();
    if (item.startsWith(QLatin1String("row "))) {
        const QString r = item.mid(4);
        QStringList parts{read(window, "Label22_" + r), read(window, "txtbestvalue_" + r),
                          read(window, "txttp_" + r)};
        if (window->findChild<QLineEdit*>("txtto_" + r))
            parts << read(window, "txtto_" + r);
        return parts.join(u'|');
    }
    if (auto* label = window->findChild<QLabel*>(item))
        return label->text();
    return control<QLineEdit>(window, item)->text();
}

void click(const QWidget* window, const QString& button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    // The store is loaded before the main window shows; one that cannot be read is reported
    // once and left as it is. Every button has its window, made on the first click, shown again
    // while it lives and made afresh once the user has closed it; closing the main window
    // closes it too.
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
        for (const auto* button : window->findChildren<QPushButton*>())
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));

        const Tool button = Tool::TopPayoffsToPost;
        QTest::mouseClick(window->button(button), Qt::LeftButton);
        QPointer<QWidget> first = window->toolWindow(button);
        QVERIFY(first && first->isVisible() && first->isWindow());
        first->hide();
        QTest::mouseClick(window->button(button), Qt::LeftButton);
        QCOMPARE(window->toolWindow(button), first);
        QVERIFY(first->isVisible());
        first->close();
        QTRY_VERIFY(first.isNull());
        QTest::mouseClick(window->button(button), Qt::LeftButton);
        QPointer<QWidget> second = window->toolWindow(button);
        QVERIFY(second && second->isVisible());
        window->close();
        QVERIFY(!second || !second->isVisible());
    }

    // Each window opens from its main-window button and is driven as a user drives it, in a
    // German locale, on never-valued prices plus "tp:c=v" prices and "tp@h" (valued h hours
    // ago). The script, step by step: "off X" (X is disabled), "pick X=tp", "click X",
    // "get tp" (all three for a report's post), "tab A B C" (keyboard order), "type X=text",
    // "clipboard=text", and "item=text" for what read() shows.
    void eachWindowWorks_data() {
        QTest::addColumn<Tool>("button");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("script");
        const auto row = [](const char* name, Tool button, const char* setup, const char* script) {
            QTest::newRow(name) << button << setup << script;
        };
        row("all payoffs", Tool::AllPayoffs, "2:2=200000.5 2@1.25",
            "tab Combo1 Command1 Text1 txtgname_1 txtvalue_1; get 2; Text1=1,25; #Text1=#00ff00; "
            "txtgname_1=Ale; txtvalue_1=200000,5; #txtvalue_1=#ffff00; txtcpm_1=881; "
            "#txtcpm_1=#0000ff; txtgname_39=; txtgname_90=Weapons");
        row("payoffs into a post", Tool::TopPayoffsToPost, "9:77=1000001 9:30=260000 9@1.25",
            "tab Combo1 Command1 Text1 txtbestvalue_1 txttp_1 txtbestvalue_2; get 9; Text1=1,25; "
            "#Text1=#00ff00; row 1=Sugar|1000001|Caldmoor; #txtbestvalue_1=#0000ff; row "
            "2=Furs|260000|Ranger's Cabin; #txtbestvalue_2=#ffff00; row 3=|1|; "
            "#txtbestvalue_40=#ff0000");
        row("payoffs from a post", Tool::TopPayoffsFromPost, "11:47=520000 1:47=510000",
            "get 19; row 1=Mead|520000|Thanos; #txtbestvalue_1=#00ff00; row "
            "2=Mead|510000|Caldmoor; row 3=|1|");
        row("payoffs over any pair, ranked when the window is made", Tool::TopPayoffsToAnyPost,
            "16:88=700000",
            "row 1=Wands|700000|Vanlarra|Sea's End; #txtbestvalue_1=#00ff00; row 2=|1||");
        row("CPM into a post", Tool::TopCpmToPost, "1:6=90800 1:14=159000 1@1.25",
            "get 1; Text1=1,25; row 1=Bows|700|Elven Marketplace; #txtbestvalue_1=#00ff00; row "
            "2=Arrows|400|Elven Marketplace; #txtbestvalue_2=#ffff00");
        row("CPM over any pair, ranked when the window is made", Tool::TopCpmToAnyPost, "2:2=90800",
            "row 1=Ale|400|Caldmoor|Elven Marketplace; row 2=Good|1||");
        row("CPM from a post", Tool::TopCpmFromPost, "1:6=90800 3:14=163200",
            "get 2; row 1=Arrows|400|Caldmoor; row 2=Bows|320|Ranger's Cabin; row 3=Arrows|1|");
        row("run picker", Tool::RunPicker, "3:6=10000.5",
            "tab Combo1 Command1 txt1 txt2 txt3 txt4; get 2; txt1=Arrows; txt2=Ranger's Cabin; "
            "txt3=10000,5; txt4=20");
        // Export lines are pasted into the game, so they keep their period in any locale.
        row("values export: Get shows the line, the clipboard takes it with a note",
            Tool::ExportValues, "2:2=210.5 2@3.25",
            "tab Combo1 Combo2 Command2 txtexport Command1; off Command2; pick Combo1=1; off "
            "Command2; pick Combo2=2; click Command2; clipboard=; type txtexport= - ask me; click "
            "Command1; clipboard=Values from Caldmoor to Elven Marketplace. Valued 3.25 hours ago. "
            "Ale - 210.5  Raisins - 1  Salt - 1  Sugar - 1  Tar - 1 - ask me");
        row("top five export", Tool::ExportTopFive, "2:2=210.5 2@3.25",
            "off Command2; pick Combo1=2; click Command2; clipboard=; click Command1; "
            "clipboard=Top 5 non-cpk values to Elven Marketplace. Valued 3.25 hours ago. "
            "Ale(Caldmoor) - 210  Wands(Vanlarra) - 1  Waybread(Ruellia) - 1  Wine(Trellor) - 1  "
            "Willowbark(Ruellia) - 1");
        row("export: typed without fetching, spaces kept", Tool::ExportTopFive, "",
            "type txtexport= WTB Silk  ; click Command1; clipboard= WTB Silk  ");
    }
    void eachWindowWorks() {
        QFETCH(Tool, button);
        QFETCH(QString, setup);
        QFETCH(QString, script);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        TestContext t;
        const auto main = startLedgerly(t.context);
        for (const QString& token : setup.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList part = token.split(QRegularExpression("[:=@]"));
            if (token.contains(u'@'))
                t.data.setStamp(part[0].toInt(), readHourClock(t.clock) - part[1].toFloat());
            else
                t.data.setValue(part[0].toInt(), part[1].toInt(), part[2].toFloat());
        }
        QTest::mouseClick(main->button(button), Qt::LeftButton);
        const QWidget* window = main->toolWindow(button);
        for (const QString& step : script.split(QStringLiteral("; "))) {
            const QString verb = step.section(u' ', 0, 0), rest = step.section(u' ', 1);
            const QString item = step.section(u'=', 0, 0), text = step.section(u'=', 1);
            if (verb == "get") {  // a report window's picker and its button
                QVERIFY(!control(window, "Command1")->isEnabled());
                control<QComboBox>(window, "Combo1")->setCurrentIndex(rest.toInt() - 1);
                click(window, "Command1");
            } else if (verb == "off") {
                QVERIFY2(!control(window, rest)->isEnabled(), qPrintable(step));
            } else if (verb == "pick") {
                control<QComboBox>(window, rest.section(u'=', 0, 0))
                    ->setCurrentIndex(rest.section(u'=', 1).toInt() - 1);
            } else if (verb == "click") {
                click(window, rest);
            } else if (verb == "tab") {  // the keyboard's order from the first control named
                const QStringList names = rest.split(u' ');
                QWidget* widget = control(window, names[0]);
                for (const QString& name : names.mid(1)) {
                    do
                        widget = widget->nextInFocusChain();
                    while (widget->focusPolicy() == Qt::NoFocus);
                    QCOMPARE(widget->objectName(), name);
                }
            } else if (verb == "type") {
                auto* box = control<QLineEdit>(window, rest.section(u'=', 0, 0));
                box->end(false);
                QTest::keyClicks(box, rest.section(u'=', 1));
            } else if (item == "clipboard") {
                QCOMPARE(t.clipboard.texts.join(u'\n'), text);
            } else {
                QCOMPARE(item + u'=' + read(window, item), step);
            }
        }
    }
};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"

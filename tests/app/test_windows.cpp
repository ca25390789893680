#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include "app/frmmain.h"
#include "app/startup.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

// Commodity prices as {post, commodity, value}.
using Prices = QList<QList<float>>;

// A missing control stops the run: a renamed control must never pass by accident.
template <typename T = QWidget>
T* control(const QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("%s has no control %s", qPrintable(window->objectName()), qPrintable(name));
    return found;
}

// What a person reads in `item` of a window: "Label22_1" (a label's or box's text), "#txttp_1"
// (a box's background) or "row 3" (a top-40 row as "name|value|town[|destination]").
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

// Notes what the store file held when the main window was first shown.
struct ShowWatcher : QObject {
    explicit ShowWatcher(QString path) : path(std::move(path)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<frmMain*>(watched) && !shown) {
            shown = true;
            storeAtShow = fileBytes(path);
        }
        return false;
    }
    QString path;
    bool shown = false;
    QByteArray storeAtShow;
};

class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    // The store is loaded, or on first start written, before the window shows; a store that
    // cannot be read is reported once and left as it is. Every button then opens a window.
    void startLoadsTheStoreBeforeTheWindowShows_data() {
        QTest::addColumn<QByteArray>("onDisk");  // null: no store yet
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("message");
        QByteArray edited(" 1 \r\n 1 \r\n");
        edited = " 250 \r\n" + edited.repeated(845);  // 1691 numbers in all
        QTest::newRow("first start writes the defaults") << QByteArray() << 1.0F << QString();
        QTest::newRow("later start reads and keeps the file") << edited << 250.0F << QString();
        QTest::newRow("malformed store reported and kept")
            << QByteArray("12\r\nbanana\r\n") << 1.0F << "line 2: 'banana'";
    }
    void startLoadsTheStoreBeforeTheWindowShows() {
        QFETCH(QByteArray, onDisk);
        QFETCH(float, value);
        QFETCH(QString, message);
        TestContext t;
        if (!onDisk.isNull()) {
            QFile file(t.storePath());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(onDisk) == onDisk.size());
        }
        ShowWatcher watcher(t.storePath());
        qApp->installEventFilter(&watcher);
        const auto window = startLedgerly(t.context);
        qApp->removeEventFilter(&watcher);
        QVERIFY(watcher.shown && window->isVisible());
        QCOMPARE(watcher.storeAtShow, fileBytes(t.storePath()));
        QCOMPARE(fileBytes(t.storePath()).size(),
                 onDisk.isNull() ? 19 * (88 * 5 + 6) : onDisk.size());
        QCOMPARE(t.data.value(1, 1), value);
        QCOMPARE(t.messages.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY(t.messages.shown.first().text.contains(message));
        for (const auto* button : window->findChildren<QPushButton*>())
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    }

    void captionsAreNotSuffixedWithTheProgramName() {
        // A display name, once set, is appended by Windows and X11 to every window title and
        // message box caption ("Finished! - Ledgerly"). While none is set it follows the
        // application name, which is how this test can tell.
        setUpApplication();
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        const QString displayName = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(displayName, QStringLiteral("probe"));
    }

    // A window is made on the first click, shown again while it lives, and made afresh once
    // the user has closed it; closing the main window closes it too.
    void toolWindowsLiveUntilClosed() {
        TestContext t;
        const auto window = startLedgerly(t.context);
        const QString button = QStringLiteral("Command3");
        click(window.get(), button);
        QPointer<QWidget> first = window->toolWindow(button);
        QVERIFY(first && first->isVisible() && first->isWindow());
        first->hide();
        click(window.get(), button);
        QCOMPARE(window->toolWindow(button), first);
        QVERIFY(first->isVisible());
        first->close();
        QTRY_VERIFY(first.isNull());
        click(window.get(), button);
        QPointer<QWidget> second = window->toolWindow(button);
        QVERIFY(second && second->isVisible());
        window->close();
        QVERIFY(!second || !second->isVisible());
    }

    // Each window opens from its button, computes nothing until a post is picked (the lists over
    // any pair rank when made) and shows its report: texts and background colours.
    void eachWindowShowsItsReport_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Prices>("prices");
        QTest::addColumn<int>("chosen");  // 0: no picker
        QTest::addColumn<QStringList>("shown");
        const QString red = "#ff0000", yellow = "#ffff00", green = "#00ff00", blue = "#0000ff";
        QTest::newRow("all payoffs")
            << "Command2" << Prices{{2, 2, 200000.5F}} << 2
            << QStringList{"Text1=1.25",          "#Text1=" + green,       "txtgname_1=Ale",
                           "txtvalue_1=200000.5", "#txtvalue_1=" + yellow, "txtcpm_1=881",
                           "#txtcpm_1=" + blue,   "txtgname_39=",          "txtgname_90=Weapons"};
        QTest::newRow("payoffs into a post")
            << "Command3" << Prices{{9, 77, 1000001}, {9, 30, 260000}} << 9
            << QStringList{"Text1=1.25",
                           "#Text1=" + green,
                           "row 1=Sugar|1000001|Caldmoor",
                           "#txtbestvalue_1=" + blue,
                           "row 2=Furs|260000|Ranger's Cabin",
                           "#txtbestvalue_2=" + yellow,
                           "row 3=|1|",
                           "#txtbestvalue_40=" + red};
        QTest::newRow("payoffs from a post")
            << "Command10" << Prices{{11, 47, 520000}, {1, 47, 510000}} << 19
            << QStringList{"row 1=Mead|520000|Thanos", "#txtbestvalue_1=" + green,
                           "row 2=Mead|510000|Caldmoor", "row 3=|1|"};
        QTest::newRow("payoffs over any pair")
            << "Command8" << Prices{{16, 88, 700000}} << 0
            << QStringList{"row 1=Wands|700000|Vanlarra|Sea's End", "#txtbestvalue_1=" + green,
                           "row 2=|1||"};
        QTest::newRow("CPM into a post")
            << "Command5" << Prices{{1, 6, 90800}, {1, 14, 159000}} << 1
            << QStringList{"Text1=1.25", "row 1=Bows|700|Elven Marketplace",
                           "#txtbestvalue_1=" + green, "row 2=Arrows|400|Elven Marketplace",
                           "#txtbestvalue_2=" + yellow};
        QTest::newRow("CPM over any pair")
            << "Command6" << Prices{{2, 2, 90800}} << 0
            << QStringList{"row 1=Ale|400|Caldmoor|Elven Marketplace", "row 2=Good|1||"};
        QTest::newRow("CPM from a post")
            << "Command9" << Prices{{1, 6, 90800}, {3, 14, 163200}} << 2
            << QStringList{"row 1=Arrows|400|Caldmoor", "row 2=Bows|320|Ranger's Cabin",
                           "row 3=Arrows|1|"};
        QTest::newRow("run picker")
            << "Command11" << Prices{{3, 6, 10000}} << 2
            << QStringList{"txt1=Arrows", "txt2=Ranger's Cabin", "txt3=10000", "txt4=20"};
    }
    void eachWindowShowsItsReport() {
        QFETCH(QString, button);
        QFETCH(Prices, prices);
        QFETCH(int, chosen);
        QFETCH(QStringList, shown);
        TestContext t;
        const auto main = startLedgerly(t.context);
        for (const auto& p : prices)
            t.data.setValue(int(p[0]), int(p[1]), p[2]);
        if (chosen)
            t.data.setStamp(chosen, readHourClock(t.clock) - 1.25F);
        click(main.get(), button);
        const QWidget* window = main->toolWindow(button);
        if (chosen) {
            QVERIFY(!control<QPushButton>(window, "Command1")->isEnabled());
            QCOMPARE(t.data.buffers.ranking[1].value, 0);
            control<QComboBox>(window, "Combo1")->setCurrentIndex(chosen - 1);
            click(window, "Command1");
        }
        for (const QString& expected : shown) {
            const QString item = expected.section(u'=', 0, 0);
            QCOMPARE(item + u'=' + read(window, item), expected);
        }
    }

    // "Get" shows the line for the picked posts and copies nothing; "Put into clipboard" copies
    // the box as it stands, fetched, typed or empty. The line is pasted into the game, so its
    // figures keep their period whatever the user's locale.
    void exportWindowsCopyTheBoxAsItStands_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<int>>("posts");  // picked in picker order, then "Get"
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("start");
        QTest::newRow("values line in a German locale, with a note")
            << "Command4" << QList{1, 2} << " - ask me"
            << "Values from Caldmoor to Elven Marketplace. Valued 3.25 hours ago. Ale - 210.5  ";
        QTest::newRow("top five line as fetched")
            << "Command7" << QList{2} << ""
            << "Top 5 non-cpk values to Elven Marketplace. Valued 3.25 hours ago. Ale(Caldmoor)";
        QTest::newRow("typed without fetching, spaces kept")
            << "Command7" << QList<int>{} << " WTB Silk  "
            << "";
    }
    void exportWindowsCopyTheBoxAsItStands() {
        QFETCH(QString, button);
        QFETCH(QList<int>, posts);
        QFETCH(QString, typed);
        QFETCH(QString, start);
        const DefaultLocale locale(QLocale(QLocale::German, QLocale::Germany));
        TestContext t;
        const auto main = startLedgerly(t.context);
        t.data.setValue(2, 2, 210.5F);
        t.data.setStamp(2, readHourClock(t.clock) - 3.25F);
        click(main.get(), button);
        const QWidget* window = main->toolWindow(button);
        auto* get = control<QPushButton>(window, "Command2");
        for (int i = 0; i < posts.size(); ++i) {
            QVERIFY(!get->isEnabled());
            control<QComboBox>(window, QStringLiteral("Combo%1").arg(i + 1))
                ->setCurrentIndex(posts[i] - 1);
        }
        if (!posts.isEmpty())
            QTest::mouseClick(get, Qt::LeftButton);
        auto* box = control<QLineEdit>(window, "txtexport");
        QVERIFY2(box->text().startsWith(start), qPrintable(box->text()));
        QVERIFY(t.clipboard.texts.isEmpty());
        const QString fetched = box->text();
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, typed);
        click(window, "Command1");
        QCOMPARE(t.clipboard.texts, QStringList{fetched + typed});
    }
};

QTEST_MAIN(WindowsTest)
#include "test_windows.moc"

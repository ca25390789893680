#include <QFile>
#include <QPushButton>
#include <QTest>

#include "app/frmmain.h"
#include "app/startup.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

QByteArray defaultStoreBytes() {
    QByteArray bytes;
    for (int tp = 1; tp <= 19; ++tp) {
        for (int c = 1; c <= 88; ++c)
            bytes += " 1 \r\n";
        bytes += " 10 \r\n";
    }
    return bytes;
}

// Notes whether the store file existed at the moment the main window was first shown.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(QString path) : path_(std::move(path)) {}
    bool shown = false;
    QByteArray storeAtShow;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("frmMain") &&
            !shown) {
            shown = true;
            storeAtShow = fileBytes(path_);
        }
        return false;
    }

private:
    QString path_;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesTheStoreBeforeTheWindowShows() {
        TestContext t;
        ShowWatcher watcher(t.storePath());
        qApp->installEventFilter(&watcher);
        const auto window = startLedgerly(t.context);
        qApp->removeEventFilter(&watcher);
        QVERIFY(watcher.shown);
        QCOMPARE(watcher.storeAtShow, defaultStoreBytes());
        QVERIFY(window->isVisible());
        QVERIFY(t.messages.shown.isEmpty());
        QCOMPARE(window->windowTitle(), QStringLiteral("Ledgerly"));
    }

    void laterStartsLeaveTheStoreUnchanged() {
        TestContext t;
        QFile file(t.storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray bytes = defaultStoreBytes();
        bytes.replace(0, 5, " 250 \r\n");  // commodity 1 of post 1
        file.write(bytes);
        file.close();
        const auto window = startLedgerly(t.context);
        QCOMPARE(t.data.value(1, 1), 250.0F);
        QCOMPARE(fileBytes(t.storePath()), bytes);
        QVERIFY(t.messages.shown.isEmpty());
    }

    void malformedStoreIsReportedOnceAndKept() {
        TestContext t;
        QFile file(t.storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("12\r\nbanana\r\n");
        file.close();
        const auto window = startLedgerly(t.context);
        QCOMPARE(t.messages.shown.size(), 1);
        QVERIFY(t.messages.shown.first().text.contains(QStringLiteral("line 2: 'banana'")));
        QCOMPARE(t.messages.shown.first().caption, QStringLiteral("Ledgerly"));
        QCOMPARE(fileBytes(t.storePath()), QByteArray("12\r\nbanana\r\n"));
        QCOMPARE(t.data.value(1, 1), 1.0F);
        QVERIFY(window->isVisible());
    }

    void buttonsCarryTheirCaptions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("12") << "Command12"
                            << "GET VALUES";
        QTest::newRow("2") << "Command2"
                           << "Show all payoffs to a certain TP";
        QTest::newRow("5") << "Command5"
                           << "Top 40 CPM to a specific TP";
        QTest::newRow("3") << "Command3"
                           << "Top 40 payoffs to a specific TP";
        QTest::newRow("9") << "Command9"
                           << "Top 40 CPM from a specific TP";
        QTest::newRow("10") << "Command10"
                            << "Top 40 payoffs from a specific TP";
        QTest::newRow("6") << "Command6"
                           << "Top 40 CPM to any TP";
        QTest::newRow("8") << "Command8"
                           << "Top 40 payoffs to any TP";
        QTest::newRow("4") << "Command4"
                           << "Put values from one Tp to another TP onto clipboard";
        QTest::newRow("7") << "Command7"
                           << "Put top 5 non-cpk payoffs from one TP to another TP onto clipboard";
        QTest::newRow("11") << "Command11"
                            << "Best Run Picker";
    }
    void buttonsCarryTheirCaptions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        frmMain window({});
        QPushButton* button = window.button(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
    }

    void captionsAreNotSuffixedWithTheProgramName() {
        // A display name, once set, is appended by Windows and X11 to every window title and
        // message box caption ("Finished! - Ledgerly"). While none is set it follows the
        // application name, which is how this test can tell.
        setUpApplication();
        const QString name = QCoreApplication::applicationName();
        QCOMPARE(name, QStringLiteral("ledgerly"));
        QCoreApplication::setApplicationName(QStringLiteral("probe"));
        const QString displayName = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(name);
        QCOMPARE(displayName, QStringLiteral("probe"));
    }

    void getValuesIsTwelvePointBold() {
        frmMain window({});
        const QFont font = window.button(QStringLiteral("Command12"))->font();
        QCOMPARE(font.pointSize(), 12);
        QVERIFY(font.bold());
    }

    void tabOrderRunsThroughTheButtons() {
        ToolWindowCatalogue all;
        const QStringList order{"Command2",  "Command3",  "Command4", "Command7",
                                "Command8",  "Command5",  "Command6", "Command9",
                                "Command10", "Command11", "Command12"};
        for (const QString& name : order)
            all[name] = [](QWidget*) { return new QWidget; };
        frmMain window(std::move(all));
        QWidget* widget = window.button(order.first());
        for (qsizetype i = 1; i < order.size(); ++i) {
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus)
                widget = widget->nextInFocusChain();
            QCOMPARE(widget->objectName(), order[i]);
        }
    }

    void buttonsWithoutAWindowAreDisabled() {
        ToolWindowCatalogue some;
        some[QStringLiteral("Command3")] = [](QWidget*) { return new QWidget; };
        frmMain window(std::move(some));
        QVERIFY(window.button(QStringLiteral("Command3"))->isEnabled());
        QVERIFY(!window.button(QStringLiteral("Command4"))->isEnabled());
    }

    void secondClickShowsTheSameWindow() {
        int made = 0;
        ToolWindowCatalogue catalogue;
        catalogue[QStringLiteral("Command3")] = [&made](QWidget* parent) {
            ++made;
            return new QWidget(parent);
        };
        frmMain window(std::move(catalogue));
        window.show();
        QPushButton* button = window.button(QStringLiteral("Command3"));
        QTest::mouseClick(button, Qt::LeftButton);
        QWidget* first = window.toolWindow(QStringLiteral("Command3"));
        QVERIFY(first && first->isVisible() && first->isWindow());
        first->hide();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(made, 1);
        QCOMPARE(window.toolWindow(QStringLiteral("Command3")), first);
        QVERIFY(first->isVisible());
    }

    void closedWindowIsMadeAfreshOnTheNextClick() {
        int made = 0;
        ToolWindowCatalogue catalogue;
        catalogue[QStringLiteral("Command8")] = [&made](QWidget* parent) {
            ++made;
            return new QWidget(parent);
        };
        frmMain window(std::move(catalogue));
        window.show();
        window.openToolWindow(QStringLiteral("Command8"));
        QPointer<QWidget> first = window.toolWindow(QStringLiteral("Command8"));
        first->close();
        QTRY_VERIFY(first.isNull());  // discarded
        window.openToolWindow(QStringLiteral("Command8"));
        QCOMPARE(made, 2);
        QVERIFY(window.toolWindow(QStringLiteral("Command8"))->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"

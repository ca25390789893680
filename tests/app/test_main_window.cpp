#include <QPushButton>
#include <QTest>

#include "app/frmmain.h"
#include "app/startup.h"
#include "support/core_store_files.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

// Notes what the store file held at the moment the main window was first shown.
struct ShowWatcher : QObject {
    explicit ShowWatcher(QString path) : path(std::move(path)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("frmMain") &&
            !shown) {
            shown = true;
            storeAtShow = fileBytes(path);
        }
        return false;
    }
    QString path;
    bool shown = false;
    QByteArray storeAtShow;
};

// The buttons in tab order, with their captions.
const QList<QPair<QString, QString>> kButtons = {
    {"Command2", "Show all payoffs to a certain TP"},
    {"Command3", "Top 40 payoffs to a specific TP"},
    {"Command4", "Put values from one Tp to another TP onto clipboard"},
    {"Command7", "Put top 5 non-cpk payoffs from one TP to another TP onto clipboard"},
    {"Command8", "Top 40 payoffs to any TP"},
    {"Command5", "Top 40 CPM to a specific TP"},
    {"Command6", "Top 40 CPM to any TP"},
    {"Command9", "Top 40 CPM from a specific TP"},
    {"Command10", "Top 40 payoffs from a specific TP"},
    {"Command11", "Best Run Picker"},
    {"Command12", "GET VALUES"},
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    // The store is loaded, or on first start written, before the window shows; a store that
    // cannot be read is reported once and left as it is.
    void startLoadsTheStoreBeforeTheWindowShows_data() {
        QTest::addColumn<QByteArray>("onDisk");  // null: no store yet
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("message");
        QByteArray edited = QByteArray::fromStdString(defaultStoreBytes());
        edited.replace(0, 5, " 250 \r\n");  // commodity 1 of post 1
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
        if (!onDisk.isNull())
            writeAll(t.storePath().toStdString(), onDisk.toStdString());
        const QByteArray expected =
            onDisk.isNull() ? QByteArray::fromStdString(defaultStoreBytes()) : onDisk;
        ShowWatcher watcher(t.storePath());
        qApp->installEventFilter(&watcher);
        const auto window = startLedgerly(t.context);
        qApp->removeEventFilter(&watcher);
        QVERIFY(watcher.shown && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Ledgerly"));
        QCOMPARE(watcher.storeAtShow, expected);
        QCOMPARE(fileBytes(t.storePath()), expected);
        QCOMPARE(t.data.value(1, 1), value);
        QCOMPARE(t.messages.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QVERIFY(t.messages.shown.first().text.contains(message));
            QCOMPARE(t.messages.shown.first().caption, QStringLiteral("Ledgerly"));
        }
    }

    void buttonsCarryTheirCaptionsInTabOrder() {
        ToolWindowCatalogue all;
        for (const auto& [name, caption] : kButtons)
            all[name] = [](QWidget*) { return new QWidget; };
        frmMain window(std::move(all));
        QWidget* widget = window.button(kButtons.first().first);
        for (const auto& [name, caption] : kButtons) {
            QCOMPARE(widget->objectName(), name);
            QCOMPARE(qobject_cast<QPushButton*>(widget)->text(), caption);
            do {
                widget = widget->nextInFocusChain();
            } while (widget->focusPolicy() == Qt::NoFocus);
        }
        const QFont font = window.button(QStringLiteral("Command12"))->font();
        QCOMPARE(font.pointSize(), 12);  // GET VALUES stands out
        QVERIFY(font.bold());
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

    // A button without a window is disabled. A window is made on the first click, shown again
    // while it lives, and made afresh once the user has closed it.
    void toolWindowsLiveUntilClosed() {
        int made = 0;
        ToolWindowCatalogue catalogue;
        catalogue[QStringLiteral("Command3")] = [&made](QWidget* parent) {
            ++made;
            return new QWidget(parent);
        };
        frmMain window(std::move(catalogue));
        window.show();
        QVERIFY(!window.button(QStringLiteral("Command4"))->isEnabled());
        QPushButton* button = window.button(QStringLiteral("Command3"));
        QTest::mouseClick(button, Qt::LeftButton);
        QPointer<QWidget> first = window.toolWindow(QStringLiteral("Command3"));
        QVERIFY(first && first->isVisible() && first->isWindow());
        first->hide();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(made, 1);
        QCOMPARE(window.toolWindow(QStringLiteral("Command3")), first);
        QVERIFY(first->isVisible());

        first->close();
        QTRY_VERIFY(first.isNull());  // discarded
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(made, 2);
        QVERIFY(window.toolWindow(QStringLiteral("Command3"))->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"

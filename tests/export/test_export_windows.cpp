#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/trading_post_picker.h"
#include "export/export_windows.h"
#include "export/frmexport.h"
#include "export/frmexportb5.h"
#include "export_test_data.h"
#include "support/test_platform.h"

using namespace ledgerly;
using namespace ledgerly::testing;

namespace {

template <typename T>
T* control(QWidget* window, const char* name) {
    auto* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

std::unique_ptr<QWidget> makeWindow(const QString& button, AppContext& context) {
    ToolWindowCatalogue catalogue;
    addExportWindows(catalogue, context);
    const auto factory = catalogue.find(button);
    if (factory == catalogue.end())
        return nullptr;
    return std::unique_ptr<QWidget>(factory->second(nullptr));
}

// Picks post tp in a picker the way a user does: by choosing its item.
void pick(QWidget* window, const char* picker, int tp) {
    control<TradingPostPicker>(window, picker)->setCurrentIndex(tp - 1);
}

void click(QWidget* window, const char* button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

QString exportLine(QWidget* window) {
    return control<QLineEdit>(window, "txtexport")->text();
}

class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

}  // namespace

class ExportWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void windowsOpenFromTheirButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("title");
        QTest::newRow("values between two posts") << "Command4"
                                                  << "frmexport"
                                                  << "Export";
        QTest::newRow("top five") << "Command7"
                                  << "frmexportb5"
                                  << "Top 5 non-cpk";
    }
    void windowsOpenFromTheirButtons() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(QString, title);
        TestContext t;
        const auto made = makeWindow(button, t.context);
        QVERIFY(made);
        QCOMPARE(made->objectName(), window);
        QCOMPARE(made->windowTitle(), title);
    }

    void captionsAndLabelledPickers_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("picker");
        QTest::newRow("From over Combo1") << "Command4"
                                          << "Label1"
                                          << "From"
                                          << "Combo1";
        QTest::newRow("To over Combo2") << "Command4"
                                        << "Label22"
                                        << "To"
                                        << "Combo2";
        QTest::newRow("To over the only picker") << "Command7"
                                                 << "Label1"
                                                 << "To"
                                                 << "Combo1";
    }
    void captionsAndLabelledPickers() {
        QFETCH(QString, button);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, picker);
        TestContext t;
        const auto window = makeWindow(button, t.context);
        auto* shown = window->findChild<QLabel*>(label);
        QVERIFY(shown);
        QCOMPARE(shown->text(), caption);
        QCOMPARE(shown->buddy(), window->findChild<TradingPostPicker*>(picker));
        QCOMPARE(control<QPushButton>(window.get(), "Command1")->text(),
                 QStringLiteral("Put into clipboard"));
        QCOMPARE(control<QPushButton>(window.get(), "Command2")->text(), QStringLiteral("Get"));
        QVERIFY(!control<QLineEdit>(window.get(), "txtexport")->isReadOnly());
    }

    void getWaitsForEveryPicker() {
        TestContext t;
        setNeverValued(t.data);
        frmexport values(t.context);
        auto* get = control<QPushButton>(&values, "Command2");
        QVERIFY(!get->isEnabled());
        pick(&values, "Combo2", 3);
        QVERIFY(!get->isEnabled());
        pick(&values, "Combo1", 8);
        QVERIFY(get->isEnabled());
        control<TradingPostPicker>(&values, "Combo1")->chooseTradingPost(0);
        QVERIFY(!get->isEnabled());
        click(&values, "Command2");
        QCOMPARE(exportLine(&values), QString());

        frmexportb5 topFive(t.context);
        auto* getTop = control<QPushButton>(&topFive, "Command2");
        QVERIFY(!getTop->isEnabled());
        pick(&topFive, "Combo1", 19);
        QVERIFY(getTop->isEnabled());
    }

    void tabOrderFollowsTheForm() {
        TestContext t;
        frmexport window(t.context);
        QStringList order;
        QWidget* w = control<QWidget>(&window, "Combo1");
        for (int i = 0; i < 5; ++i) {
            order << w->objectName();
            do {
                w = w->nextInFocusChain();
            } while (w->focusPolicy() == Qt::NoFocus || w == &window);
        }
        QCOMPARE(order, QStringList({"Combo1", "Combo2", "Command2", "txtexport", "Command1"}));
    }

    void getThenPutCopiesTheLine_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("line");
        QTest::newRow("values from Caldmoor to the Elven Marketplace")
            << "Command4"
            << "Values from Caldmoor to Elven Marketplace. Valued 3.25 hours ago. Ale - 210  "
               "Raisins - 95  Salt - 40  Sugar - 400  Tar - 12";
        QTest::newRow("top five at the Elven Marketplace")
            << "Command7"
            << "Top 5 non-cpk values to Elven Marketplace. Valued 3.25 hours ago. Sugar(Caldmoor) "
               "- 400  Ale(Caldmoor) - 210  Raisins(Caldmoor) - 95  Salt(Caldmoor) - 40  "
               "Tar(Caldmoor) - 12";
    }
    void getThenPutCopiesTheLine() {
        QFETCH(QString, button);
        QFETCH(QString, line);
        TestContext t;
        valuePost(t.data, t.clock, 2, {{2, 210}, {63, 95}, {68, 40}, {77, 400}, {78, 12}}, 3.25F);
        const auto window = makeWindow(button, t.context);
        if (button == QLatin1String("Command4")) {
            pick(window.get(), "Combo1", 1);
            pick(window.get(), "Combo2", 2);
        } else {
            pick(window.get(), "Combo1", 2);
        }
        click(window.get(), "Command2");
        QCOMPARE(exportLine(window.get()), line);
        QVERIFY(t.clipboard.texts.isEmpty());  // "Get" alone copies nothing
        click(window.get(), "Command1");
        QCOMPARE(t.clipboard.texts, QStringList{line});
    }

    void theBoxIsCopiedAsItStands_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("getFirst");
        QTest::addColumn<QString>("typed");
        QTest::newRow("nothing fetched, nothing typed") << "Command4" << false << "";
        QTest::newRow("typed without fetching, spaces kept")
            << "Command7" << false << " WTB Silk  ";
        QTest::newRow("fetched line with a note") << "Command4" << true << " - ask me";
        QTest::newRow("fetched top five with a note") << "Command7" << true << "!";
    }
    void theBoxIsCopiedAsItStands() {
        QFETCH(QString, button);
        QFETCH(bool, getFirst);
        QFETCH(QString, typed);
        TestContext t;
        setNeverValued(t.data);
        const auto window = makeWindow(button, t.context);
        auto* box = control<QLineEdit>(window.get(), "txtexport");
        if (getFirst) {
            pick(window.get(), "Combo1", 7);
            if (auto* to = window->findChild<TradingPostPicker*>(QStringLiteral("Combo2"))) {
                to->chooseTradingPost(7);
            }
            click(window.get(), "Command2");
        }
        const QString fetched = box->text();
        QCOMPARE(fetched.isEmpty(), !getFirst);
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, typed);
        click(window.get(), "Command1");
        QCOMPARE(t.clipboard.texts, QStringList{fetched + typed});
    }

    void linesUseAPeriodWhateverTheLocale() {
        const DefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
        TestContext t;
        valuePost(t.data, t.clock, 2, {{2, 1234.5F}}, 3.25F);
        frmexport window(t.context);
        pick(&window, "Combo1", 1);
        pick(&window, "Combo2", 2);
        click(&window, "Command2");
        QVERIFY(exportLine(&window).startsWith(
            QStringLiteral("Values from Caldmoor to Elven Marketplace. Valued 3.25 hours ago. "
                           "Ale - 1234.5  ")));
    }
};

QTEST_MAIN(ExportWindowsTest)
#include "test_export_windows.moc"

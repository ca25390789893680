#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "export/export_lines.h"
#include "export/export_windows.h"
#include "support/export_test_data.h"
#include "support/test_platform.h"
#include "ui/trading_post_picker.h"

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
    // Each window opens from its main-window button with its captions, every picker labelled,
    // an editable line, a tab order that follows the form, and "Get" enabled only while every
    // picker shows a post.
    void windowsOpenFromTheirButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("labels");  // label, caption, picker; ...
        QTest::newRow("values between two posts")
            << "Command4"
            << "frmexport"
            << "Export" << QStringList{"Label1", "From", "Combo1", "Label22", "To", "Combo2"};
        QTest::newRow("top five") << "Command7"
                                  << "frmexportb5"
                                  << "Top 5 non-cpk" << QStringList{"Label1", "To", "Combo1"};
    }
    void windowsOpenFromTheirButtons() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(QString, title);
        QFETCH(QStringList, labels);
        TestContext t;
        const auto made = makeWindow(button, t.context);
        QVERIFY(made);
        QCOMPARE(made->objectName(), window);
        QCOMPARE(made->windowTitle(), title);
        auto* get = control<QPushButton>(made.get(), "Command2");
        QCOMPARE(get->text(), QStringLiteral("Get"));
        QCOMPARE(control<QPushButton>(made.get(), "Command1")->text(),
                 QStringLiteral("Put into clipboard"));
        QVERIFY(!control<QLineEdit>(made.get(), "txtexport")->isReadOnly());
        QStringList tabOrder;
        for (qsizetype i = 0; i < labels.size(); i += 3) {
            auto* label = control<QLabel>(made.get(), qPrintable(labels[i]));
            auto* picker = control<TradingPostPicker>(made.get(), qPrintable(labels[i + 2]));
            QCOMPARE(label->text(), labels[i + 1]);
            QCOMPARE(label->buddy(), picker);
            QVERIFY(!get->isEnabled());
            picker->chooseTradingPost(8);
            tabOrder << labels[i + 2];
        }
        QVERIFY(get->isEnabled());
        control<TradingPostPicker>(made.get(), "Combo1")->chooseTradingPost(0);
        QVERIFY(!get->isEnabled());

        tabOrder << "Command2"
                 << "txtexport"
                 << "Command1";
        QWidget* w = control<QWidget>(made.get(), "Combo1");
        for (const QString& name : tabOrder) {
            QCOMPARE(w->objectName(), name);
            do {
                w = w->nextInFocusChain();
            } while (w->focusPolicy() == Qt::NoFocus || w == made.get());
        }
    }

    // "Get" shows the line for the picked posts and copies nothing; "Put into clipboard" copies
    // the box as it stands, fetched, typed or empty. The line is pasted into the game, so its
    // figures keep their period whatever the user's locale.
    void theBoxIsCopiedAsItStands_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<int>>("posts");  // picked in picker order, then "Get"; none: no Get
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("german");
        QTest::newRow("values line with a note")
            << "Command4" << QList{1, 2} << " - ask me" << false;
        QTest::newRow("top five line as fetched") << "Command7" << QList{2} << "" << false;
        QTest::newRow("values line in a German locale") << "Command4" << QList{1, 2} << "" << true;
        QTest::newRow("typed without fetching, spaces kept")
            << "Command7" << QList<int>{} << " WTB Silk  " << false;
        QTest::newRow("nothing fetched, nothing typed")
            << "Command4" << QList<int>{} << "" << false;
    }
    void theBoxIsCopiedAsItStands() {
        QFETCH(QString, button);
        QFETCH(QList<int>, posts);
        QFETCH(QString, typed);
        QFETCH(bool, german);
        const DefaultLocale locale(german ? QLocale(QLocale::German, QLocale::Germany) : QLocale());
        TestContext t;
        valuePost(t.data, t.clock, 2, {{2, 210}, {63, 95}, {68, 40}, {77, 400}, {78, 12}}, 3.25F);
        const auto window = makeWindow(button, t.context);
        auto* box = control<QLineEdit>(window.get(), "txtexport");
        QString fetched;
        if (!posts.isEmpty()) {
            pick(window.get(), "Combo1", posts.first());
            if (posts.size() == 2)
                pick(window.get(), "Combo2", posts.last());
            click(window.get(), "Command2");
            fetched = QString::fromStdString(
                posts.size() == 2 ? *valuesExportLine(t.data, t.clock, posts.first(), posts.last())
                                  : *topFiveExportLine(t.data, t.clock, posts.first()));
            QVERIFY(fetched.contains(QStringLiteral("Valued 3.25 hours ago.")));
        }
        QCOMPARE(box->text(), fetched);
        QVERIFY(t.clipboard.texts.isEmpty());
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, typed);
        click(window.get(), "Command1");
        QCOMPARE(t.clipboard.texts, QStringList{fetched + typed});
    }
};

QTEST_MAIN(ExportWindowsTest)
#include "test_export_windows.moc"

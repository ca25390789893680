#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "support/test_platform.h"
#include "windows/reports/route_planner_window.h"

using namespace ledgerly;
using namespace ledgerly::testing;

class RoutePlannerWindowTest : public QObject {
    Q_OBJECT
private slots:
    // Caldmoor sells Ale, Elven Marketplace Arrows: three legs shuttle between the two.
    void findsARouteAndSaysWhenThereIsNone() {
        TestContext t;
        setNeverValued(t.data);
        t.data.setValue(2, 2, 100000);
        t.data.setValue(1, 6, 100000);
        RoutePlannerWindow window(t.context);
        auto* find = window.findChild<QPushButton*>();
        auto* table = window.findChild<QTableWidget*>();
        auto* noRoute = window.findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
        QList<QLineEdit*> totals;
        for (QLineEdit* box : window.findChildren<QLineEdit*>())
            if (box->isReadOnly())
                totals << box;
        QVERIFY(!find->isEnabled());

        window.findChild<QComboBox*>()->setCurrentIndex(0);
        QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(2, 1)->text() + '>' + table->item(2, 2)->text(),
                 "Caldmoor>Elven Marketplace");
        QCOMPARE(totals[0]->text() + '|' + totals[1]->text() + '|' + totals[2]->text(),
                 "300000|681|441");
        QCOMPARE(totals[2]->palette().color(QPalette::Base), QColor(Qt::yellow));

        // Nothing here was ever valued, so every post is older than any limit.
        auto* maxAge = window.findChildren<QSpinBox*>().last();
        QVERIFY(!maxAge->isEnabled());
        window.findChildren<QCheckBox*>().last()->setChecked(true);
        QVERIFY(maxAge->isEnabled());
        QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(totals[0]->parentWidget()->isHidden() && !noRoute->isHidden());
        QVERIFY(!noRoute->text().isEmpty());
    }
};

QTEST_MAIN(RoutePlannerWindowTest)
#include "test_route_planner_window.moc"

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QDesktopServices>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "app/main_menu.h"
#include "app/startup.h"
#include "core/price_history.h"
#include "core/store_file.h"
#include "support/test_platform.h"
#include "support/wait_until.h"

using namespace ledgerly;
using namespace ledgerly::testing;
namespace fs = std::filesystem;
using namespace std::chrono;

class ShareWindowsTest : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened_ = url; }  // the desktop's file manager, in its place

private slots:
    // From the main window's menu: a malformed file is refused and changes nothing. A friend's
    // trade values file: fresher posts start ticked, the keyboard ticks another, and Import takes
    // exactly those into store, history and shared file. A friend's file arriving in the shared
    // folder is noticed and offered; Review… and Import take it, naming the friend.
    void importAndShare() {
        constexpr float kNow = 209652.0F;  // the test clock's noon of 6 December 2026
        const UtcSeconds noon = sys_days(year{2026} / 12 / 6) + hours(12);
        TestContext test;
        TradeData& data = test.data;
        setNeverValued(data);
        data.setValue(3, 1, 5.0F);
        data.setStamp(3, kNow - 1);  // fresher than theirs
        data.setStamp(5, kNow - 9);  // older than theirs
        const fs::path store = test.storeFile.toStdString();
        QVERIFY(!saveStore(store, data));
        const auto window = startLedgerly(test.context);
        QSettings settings(test.folder.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        qputenv("TZ", "UTC0");  // the hour clock and the rows' times read alike
        tzset();
        const SystemTimeZone utc;
        MainMenu menu(*window, test.context, settings, utc);
        QCOMPARE(window->layout()->menuBar(), menu.menuBar());
        const fs::path shared = fs::path(test.folder.path().toStdString()) / "shared";
        fs::create_directory(shared);
        menu.sharing().setChoice(
            SharingChoice{QString::fromStdString(shared.string()), QStringLiteral("me")});

        const QByteArray storeBefore = fileBytes(test.storeFile);
        const QString file = test.folder.filePath(QStringLiteral("friend.txt"));
        std::ofstream(file.toStdString()) << "1\r\n2\r\nx\r\n";
        menu.importFile(file);
        QCOMPARE(test.messages.shown.size(), 1);
        QVERIFY(!menu.importWindow());
        QCOMPARE(fileBytes(test.storeFile), storeBefore);

        TradeData theirs;
        setNeverValued(theirs);
        for (int tp : {3, 5, 7}) {
            for (int c = 1; c <= kCommodityCount; ++c)
                theirs.setValue(tp, c, static_cast<float>(tp * 1000 + c));
        }
        theirs.setStamp(3, kNow - 2);
        theirs.setStamp(5, kNow - 2);
        theirs.setStamp(7, kNow + 3);  // their clock runs ahead
        std::ofstream(file.toStdString(), std::ios::binary) << storeText(theirs);
        menu.importFile(file);
        QVERIFY(QTest::qWaitForWindowExposed(menu.importWindow()));
        QTableWidget* table = menu.importWindow()->table();
        const int take = table->columnCount() - 1;
        const auto ticked = [&](int tp) { return table->item(tp - 1, take)->checkState(); };
        QCOMPARE((std::array{ticked(3), ticked(5), ticked(7)}),
                 (std::array{Qt::Unchecked, Qt::Checked, Qt::Checked}));
        QVERIFY(!(table->item(0, take)->flags() & Qt::ItemIsUserCheckable));  // nothing to take
        QCOMPARE(table->item(4, take - 1)->text(), QStringLiteral("88"));
        table->setFocus();
        table->setCurrentCell(2, take);
        QTest::keyClick(table, Qt::Key_Space);
        QTest::keyClick(table, Qt::Key_F2);  // nothing in the table is typed into
        QVERIFY(!table->findChild<QLineEdit*>());
        QTest::mouseClick(menu.importWindow()->importButton(), Qt::LeftButton);

        QCOMPARE(test.messages.shown.size(), 2);
        QCOMPARE((std::array{data.value(3, 88), data.value(5, 1), data.value(7, 1)}),
                 (std::array{3088.0F, 5001.0F, 7001.0F}));
        PriceHistory history = readPriceHistoryFile(priceHistoryPath(store));
        QCOMPARE(history.snapshots.size(), std::size_t{3});
        QCOMPARE(history.snapshots[0].source, std::string("imported: friend.txt"));
        // Your two valued posts when sharing began, then the two imported posts newer than those:
        // post 3's import is older than what the file already holds of it.
        QCOMPARE(readPriceHistoryFile(shared / "me.ledgerly.csv").snapshots.size(), std::size_t{4});

        QVERIFY(!menu.reviewButton()->isVisible());
        PriceSnapshot row{noon - hours(1), 9, "valued", {}};
        for (int c = 1; c <= kCommodityCount; ++c)
            row.prices[static_cast<std::size_t>(c)] = static_cast<float>(500 + c);
        std::ofstream(shared / "bob.ledgerly.csv", std::ios::binary)
            << priceHistoryHeader() << priceHistoryRow(row);
        QVERIFY(waitUntil([&] { return menu.reviewButton()->isVisible(); }));
        QVERIFY(menu.offerLine()->isVisible());  // one post is enough to be told of
        QCOMPARE(menu.sharing().fresherPosts(), 1);
        QTest::mouseClick(menu.reviewButton(), Qt::LeftButton);
        QTest::mouseClick(menu.importWindow()->importButton(), Qt::LeftButton);
        QCOMPARE(data.value(9, 88), 588.0F);
        history = readPriceHistoryFile(priceHistoryPath(store));
        QCOMPARE(history.snapshots.back().source, std::string("shared: bob"));
        QVERIFY(!menu.reviewButton()->isVisible());
        QTRY_VERIFY(!menu.importWindow());  // closed and gone

        // Open data folder hands the store's folder to the desktop, and says nothing more.
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
        menu.menuBar()->actions().constFirst()->menu()->actions().at(2)->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(opened_, QUrl::fromLocalFile(test.folder.path()));
        QCOMPARE(test.messages.shown.size(), 3);  // as before: the imports' two, the refusal
    }

private:
    QUrl opened_;
};

QTEST_MAIN(ShareWindowsTest)
#include "test_share_windows.moc"

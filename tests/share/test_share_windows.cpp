// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "app/main_menu.h"
#include "app/startup.h"
#include "core/price_history.h"
#include "core/store_file.h"
#include "share/fixed_zone.h"
#include "support/test_platform.h"
#include "support/wait_until.h"
#include "windows/share/import_prices_window.h"
#include "windows/share/price_sharing.h"

using namespace ledgerly;
using namespace ledgerly::testing;
namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

// The test clock's noon of 6 December 2026 and its hour-clock reading.
const UtcSeconds kNoon = sys_days(year{2026} / 12 / 6) + hours(12);
constexpr float kNow = 209652.0F;

}  // namespace

class ShareWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        test_ = std::make_unique<TestContext>();
        setNeverValued(test_->data);
        settings_ = std::make_unique<QSettings>(test_->folder.filePath(QStringLiteral("s.ini")),
                                                QSettings::IniFormat);
        sharing_ = std::make_unique<PriceSharing>(test_->context, *settings_, zone_);
    }
    void cleanup() {
        sharing_.reset();
        settings_.reset();
        test_.reset();
    }

    // A friend's trade values file, post by post: fresher posts start ticked, the keyboard ticks
    // another, and Import takes exactly the ticked ones into store, history and shared file.
    void importWindow() {
        TradeData& data = test_->data;
        data.setValue(3, 1, 5.0F);
        data.setStamp(3, kNow - 1);  // fresher than theirs
        data.setStamp(5, kNow - 9);  // older than theirs
        QVERIFY(!saveStore(store(), data));
        const fs::path shared = fs::path(test_->folder.path().toStdString()) / "shared";
        fs::create_directory(shared);
        sharing_->setChoice(
            SharingChoice{QString::fromStdString(shared.string()), QStringLiteral("me")});

        TradeData theirs;
        setNeverValued(theirs);
        for (int tp : {3, 5, 7}) {
            for (int c = 1; c <= kCommodityCount; ++c)
                theirs.setValue(tp, c, static_cast<float>(tp * 1000 + c));
        }
        theirs.setStamp(3, kNow - 2);
        theirs.setStamp(5, kNow - 2);
        theirs.setStamp(7, kNow + 3);  // their clock runs ahead
        const QString file = test_->folder.filePath(QStringLiteral("friend.txt"));
        std::ofstream(file.toStdString(), std::ios::binary) << storeText(theirs);

        QString problem;
        auto request = sharing_->fileRequest(file, problem);
        QVERIFY2(request, qPrintable(problem));
        ImportPricesWindow window(
            test_->context, zone_, std::move(*request),
            [this](const auto& taken) { return sharing_->recordImport(taken); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableWidget* table = window.table();
        QCOMPARE(table->rowCount(), kTradingPostCount);
        const int take = table->columnCount() - 1;
        const auto ticked = [&](int tp) { return table->item(tp - 1, take)->checkState(); };
        QCOMPARE(ticked(3), Qt::Unchecked);
        QCOMPARE(ticked(5), Qt::Checked);
        QCOMPARE(ticked(7), Qt::Checked);
        QVERIFY(!(table->item(0, take)->flags() & Qt::ItemIsUserCheckable));  // nothing to take
        QCOMPARE(table->item(4, take - 1)->text(), QStringLiteral("88"));

        table->setFocus();
        table->setCurrentCell(2, take);
        QTest::keyClick(table, Qt::Key_Space);
        QCOMPARE(ticked(3), Qt::Checked);
        QTest::mouseClick(window.importButton(), Qt::LeftButton);

        QCOMPARE(test_->messages.shown.size(), 1);
        QCOMPARE(data.value(3, 88), 3088.0F);
        QCOMPARE(data.value(5, 1), 5001.0F);
        QCOMPARE(data.stamp(5), kNow - 2);
        QCOMPARE(data.stamp(7), kNow);  // not in your future
        QCOMPARE(data.value(1, 1), 1.0F);
        const PriceHistory history = readPriceHistoryFile(priceHistoryPath(store()));
        QCOMPARE(history.snapshots.size(), std::size_t{3});
        QCOMPARE(history.snapshots[0].source, std::string("imported: friend.txt"));
        QCOMPARE(history.snapshots[0].time, kNoon - hours(2));
        // Your two valued posts when sharing began, then the two imported posts newer than those:
        // post 3's import is older than what the file already holds of it.
        QCOMPARE(readPriceHistoryFile(shared / "me.ledgerly.csv").snapshots.size(), std::size_t{4});
    }

    // The main window's line: a friend's file arriving in the shared folder is noticed without
    // being asked and offered; Review… and Import take it, naming the friend as the source. A
    // malformed file chosen for import is refused and changes nothing.
    void mainWindowOffer() {
        const auto window = startLedgerly(test_->context);
        MainMenu menu(*window, test_->context, *settings_, zone_);
        QCOMPARE(window->layout()->menuBar(), menu.menuBar());
        const QByteArray storeBefore = fileBytes(test_->storeFile);
        const QString damaged = test_->folder.filePath(QStringLiteral("damaged.txt"));
        std::ofstream(damaged.toStdString()) << "1\r\n2\r\nx\r\n";
        menu.importFile(damaged);
        QCOMPARE(test_->messages.shown.size(), 1);
        QVERIFY(!menu.importWindow());
        QCOMPARE(fileBytes(test_->storeFile), storeBefore);

        const fs::path shared = fs::path(test_->folder.path().toStdString()) / "shared";
        fs::create_directory(shared);
        menu.sharing().setChoice(
            SharingChoice{QString::fromStdString(shared.string()), QStringLiteral("me")});
        QVERIFY(!menu.reviewButton()->isVisible());
        PriceSnapshot row{kNoon - hours(1), 9, "valued", {}};
        for (int c = 1; c <= kCommodityCount; ++c)
            row.prices[static_cast<std::size_t>(c)] = static_cast<float>(500 + c);
        std::ofstream(shared / "bob.ledgerly.csv", std::ios::binary)
            << priceHistoryHeader() << priceHistoryRow(row);
        QVERIFY(waitUntil([&] { return menu.reviewButton()->isVisible(); }));
        QCOMPARE(menu.sharing().fresherPosts(), 1);

        QTest::mouseClick(menu.reviewButton(), Qt::LeftButton);
        QVERIFY(menu.importWindow());
        QTest::mouseClick(menu.importWindow()->importButton(), Qt::LeftButton);
        QCOMPARE(test_->data.value(9, 88), 588.0F);
        QCOMPARE(readPriceHistoryFile(priceHistoryPath(store())).snapshots.at(0).source,
                 std::string("shared: bob"));
        QVERIFY(!menu.reviewButton()->isVisible());
        QVERIFY(!menu.importWindow() || !menu.importWindow()->isVisible());
    }

private:
    fs::path store() const { return test_->storeFile.toStdString(); }

    FixedZone zone_{0};  // UTC: the hour clock and the rows' times read alike
    std::unique_ptr<TestContext> test_;
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<PriceSharing> sharing_;
};

QTEST_MAIN(ShareWindowsTest)
#include "test_share_windows.moc"

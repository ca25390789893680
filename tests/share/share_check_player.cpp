// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One player's Ledgerly for scripts/sync_check.sh, without a display and without a person:
//   share_check_player import DATA FOLDER PLAYER FILE   imports FILE and shares it through FOLDER
//   share_check_player take DATA FOLDER PLAYER SECONDS  waits for fresher prices from FOLDER, at
//                                                       most SECONDS, and takes them
// DATA is the player's data folder (store, history, settings). It drives the same windows a
// person uses and clicks where a person clicks; the exit status says whether it worked.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <cstdio>

#include "core/store_file.h"
#include "core/trade_data.h"
#include "support/test_platform.h"
#include "support/wait_until.h"
#include "windows/share/import_prices_window.h"
#include "windows/share/price_sharing.h"

using namespace ledgerly;

namespace {

void say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// Takes what the window offers as a person would: the ticks as they stand, then Import.
bool importThrough(AppContext& context, PriceSharing& sharing, ImportRequest request,
                   testing::RecordingMessages& messages) {
    ImportPricesWindow window(
        context, sharing.zone(), std::move(request),
        [&sharing](const auto& taken) { return sharing.recordImport(taken); });
    window.show();
    if (!window.importButton()->isEnabled()) {
        say(QStringLiteral("nothing is ticked to import"));
        return false;
    }
    window.importButton()->click();
    for (const auto& message : messages.shown)
        say(message.text);
    return messages.shown.size() == 1 &&
           messages.shown[0].text.startsWith(QStringLiteral("Prices of"));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 6 ||
        (arguments[1] != QStringLiteral("import") && arguments[1] != QStringLiteral("take"))) {
        say(QStringLiteral(
            "usage: share_check_player import|take DATA FOLDER PLAYER FILE|SECONDS"));
        return 2;
    }
    const QString mode = arguments[1];
    const QDir data(arguments[2]);

    TradeData tradeData;
    testing::RecordingMessages messages;
    testing::RecordingClipboard clipboard;
    SystemClock clock;
    SystemTimeZone zone;
    Platform platform{messages,       clipboard,
                      clock,          data.filePath(QStringLiteral("tradevalues.txt")),
                      GameEndpoint{}, {}};
    AppContext context{tradeData, platform};
    const auto load = loadStoreAtStartup(platform.storePath.toStdString(), tradeData);
    if (load.problem) {
        say(QString::fromStdString(*load.problem));
        return 1;
    }
    QSettings settings(data.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    PriceSharing sharing(context, settings, zone);
    QObject::connect(&sharing, &PriceSharing::problemsChanged, &app,
                     [](const QString& text) { say(text); });
    sharing.setChoice(SharingChoice{arguments[3], arguments[4]});

    if (mode == QStringLiteral("import")) {
        QString problem;
        auto request = sharing.fileRequest(arguments[5], problem);
        if (!request) {
            say(problem);
            return 1;
        }
        return importThrough(context, sharing, std::move(*request), messages) ? 0 : 1;
    }

    const int seconds = arguments[5].toInt();
    QElapsedTimer waited;
    waited.start();
    sharing.start();
    if (!testing::waitUntil([&] { return sharing.fresherPosts() > 0; }, seconds * 1000)) {
        say(QStringLiteral("no fresher prices within %1 s").arg(seconds));
        return 1;
    }
    say(QStringLiteral("fresher prices for %1 posts after %2 s")
            .arg(sharing.fresherPosts())
            .arg(static_cast<double>(waited.elapsed()) / 1000.0, 0, 'f', 1));
    return importThrough(context, sharing, sharing.friendsRequest(), messages) ? 0 : 1;
}

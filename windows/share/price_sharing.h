// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Prices across players, as the running program keeps them: the sharing setting, the watch on
// the shared folder, the offer of fresher prices that the main window shows, and what follows
// when the store gains prices (history rows, your shared file). Nothing is taken from anyone
// without the user's Import.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "rules/share/price_import.h"
#include "rules/share/share_folder.h"
#include "ui/platform.h"
#include "windows/share/import_prices_window.h"
#include "windows/share/share_folder_dialog.h"

class QSettings;

namespace ledgerly {

class PriceSharing : public QObject {
    Q_OBJECT
public:
    // With no folder in `settings`, sharing is off and nothing is read or watched.
    PriceSharing(AppContext& context, QSettings& settings, const TimeZone& zone,
                 QObject* parent = nullptr);
    ~PriceSharing() override;

    const TimeZone& zone() const { return zone_; }
    std::optional<SharingChoice> choice() const;

    // Keeps the choice in the settings and shares through that folder from now on, starting
    // with the latest snapshot of each post you hold; nothing turns sharing off.
    void setChoice(const std::optional<SharingChoice>& choice);

    // Reads the folder once the program is running; a change to it reads it again.
    void start();

    // The fresher prices the other players offer, for the Import Prices window.
    ImportRequest friendsRequest();
    int fresherPosts() const { return fresherPosts_; }
    const QString& problems() const { return problems_; }

    // A file chosen for import: the request, or why the file is refused.
    std::optional<ImportRequest> fileRequest(const QString& path, QString& problem);

    // After an import: one history row per post taken, and the same rows in your shared file.
    // Returns what the user should still be told, or an empty text.
    QString recordImport(const std::vector<PriceSnapshot>& taken);

    // After a completed valuing run (its history row written): shares what is new.
    void afterValuingRun();

signals:
    void offerChanged(int posts);
    // What stands in the way of sharing now, one problem a line; empty when nothing does.
    void problemsChanged(const QString& text);

private:
    void readFolder();
    void readOwnHistory();
    void shareHeld();
    void updateOffer();
    void passProblems();
    YourTimes yours() const;

    AppContext& context_;
    QSettings& settings_;
    const TimeZone& zone_;
    std::unique_ptr<SharedFolder> folder_;
    QFileSystemWatcher watcher_;
    QTimer settle_;       // a sync program writes in bursts: read once they are over
    QTimer missingPoll_;  // a folder that is gone cannot be watched: look for it now and then
    bool ownHistoryRead_ = false;
    std::vector<PriceSnapshot> ownLatest_;  // your latest history row of each post
    std::vector<PriceSnapshot> friends_;    // the freshest of each post in the others' files
    int fresherPosts_ = 0;
    QString problems_;
};

}  // namespace ledgerly

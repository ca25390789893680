// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/share/price_sharing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <filesystem>

#include "core/price_history.h"
#include "ui/qt_text.h"

namespace ledgerly {
namespace {

const QString kFolderKey = QStringLiteral("sharing/folder");
const QString kPlayerKey = QStringLiteral("sharing/player");
constexpr int kSettleMs = 300;
constexpr int kMissingPollMs = 2000;

std::filesystem::path pathOf(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

QString textOf(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// The latest row of each post among `rows`.
std::vector<PriceSnapshot> latestOfEachPost(std::vector<PriceSnapshot> rows) {
    std::array<std::optional<PriceSnapshot>, kTradingPostCount + 1> latest{};
    for (PriceSnapshot& row : rows) {
        auto& best = latest[static_cast<std::size_t>(row.tp)];
        if (!best || row.time >= best->time)
            best = std::move(row);
    }
    std::vector<PriceSnapshot> kept;
    for (auto& row : latest) {
        if (row)
            kept.push_back(std::move(*row));
    }
    return kept;
}

}  // namespace

PriceSharing::PriceSharing(AppContext& context, QSettings& settings, const TimeZone& zone,
                           QObject* parent)
    : QObject(parent), context_(context), settings_(settings), zone_(zone) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &PriceSharing::readFolder);
    missingPoll_.setInterval(kMissingPollMs);
    connect(&missingPoll_, &QTimer::timeout, this, &PriceSharing::readFolder);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_,
            qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    if (const auto chosen = choice())
        folder_ =
            std::make_unique<SharedFolder>(pathOf(chosen->folder), chosen->player.toStdString());
}

PriceSharing::~PriceSharing() = default;

std::optional<SharingChoice> PriceSharing::choice() const {
    const QString folder = settings_.value(kFolderKey).toString();
    const QString player = settings_.value(kPlayerKey).toString();
    if (folder.isEmpty() || playerNameProblem(player.toStdString()))
        return std::nullopt;
    return SharingChoice{folder, player};
}

void PriceSharing::setChoice(const std::optional<SharingChoice>& choice) {
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    missingPoll_.stop();
    friends_.clear();
    if (!choice) {
        settings_.remove(QStringLiteral("sharing"));
        settings_.sync();
        folder_.reset();
        passProblems();
        updateOffer();
        return;
    }
    settings_.setValue(kFolderKey, choice->folder);
    settings_.setValue(kPlayerKey, choice->player);
    settings_.sync();
    folder_ = std::make_unique<SharedFolder>(pathOf(choice->folder), choice->player.toStdString());
    shareHeld();
    readFolder();
}

void PriceSharing::start() {
    if (folder_) {
        shareHeld();
        readFolder();
    }
}

void PriceSharing::readOwnHistory() {
    const auto store = pathOf(context_.platform.storePath);
    PriceHistory history = readPriceHistoryFile(priceHistoryPath(store));
    ownLatest_ = latestOfEachPost(std::move(history.snapshots));
    ownHistoryRead_ = true;
}

YourTimes PriceSharing::yours() const {
    return yourTimes(context_.data, ownLatest_, zone_);
}

void PriceSharing::shareHeld() {
    if (!folder_)
        return;
    if (!ownHistoryRead_)
        readOwnHistory();
    folder_->share(heldSnapshots(context_.data, ownLatest_, zone_));
    passProblems();
}

void PriceSharing::readFolder() {
    if (!folder_)
        return;
    if (!ownHistoryRead_)
        readOwnHistory();
    const SharedFolder::Reading reading = folder_->read();
    if (reading.cameBack)
        shareHeld();
    friends_ = reading.freshest;

    // What is watched follows what is there: the folder, and each of the others' files (a sync
    // program that writes in place changes a file without changing the folder).
    const QString folder = textOf(folder_->folder());
    QStringList files;
    for (const auto& file : reading.files)
        files << textOf(file);
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (reading.folderPresent) {
        missingPoll_.stop();
        if (!watcher_.directories().contains(folder))
            watcher_.addPath(folder);
        if (!files.isEmpty())
            watcher_.addPaths(files);
    } else {
        if (!watcher_.directories().isEmpty())
            watcher_.removePaths(watcher_.directories());
        missingPoll_.start();
    }
    passProblems();
    updateOffer();
}

void PriceSharing::updateOffer() {
    int fresher = 0;
    if (!friends_.empty()) {
        for (const ImportRow& row : planImport(offerFromSnapshots(friends_), context_.data, yours(),
                                               context_.platform.clock, zone_)) {
            if (row.fresher && row.differing > 0)
                ++fresher;
        }
    }
    fresherPosts_ = fresher;
    emit offerChanged(fresher);
}

void PriceSharing::passProblems() {
    QStringList lines;
    if (folder_) {
        for (const std::string& text : folder_->problems())
            lines << qtText(text);
    }
    const QString text = lines.join(QLatin1Char('\n'));
    if (text != problems_) {
        problems_ = text;
        emit problemsChanged(problems_);
    }
}

ImportRequest PriceSharing::friendsRequest() {
    if (!ownHistoryRead_)
        readOwnHistory();
    ImportRequest request;
    request.offer = offerFromSnapshots(friends_);
    request.origin =
        QStringLiteral("the players sharing %1")
            .arg(QDir::toNativeSeparators(folder_ ? textOf(folder_->folder()) : QString()));
    request.yours = yours();
    return request;
}

std::optional<ImportRequest> PriceSharing::fileRequest(const QString& path, QString& problem) {
    QFile file(path);
    const QString name = QFileInfo(path).fileName();
    if (file.size() > static_cast<qint64>(kHistorySizeLimit)) {
        problem = QStringLiteral("%1 is far too large to hold prices.").arg(name);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("%1 cannot be read: %2.").arg(name, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    const OfferRead read =
        offerFromFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                      name.toStdString());
    if (!read.offer) {
        problem = QStringLiteral("%1 was not imported: %2.").arg(name, qtText(read.problem));
        return std::nullopt;
    }
    if (!ownHistoryRead_)
        readOwnHistory();
    return ImportRequest{*read.offer, QStringLiteral("the file %1").arg(name), yours()};
}

QString PriceSharing::recordImport(const std::vector<PriceSnapshot>& taken) {
    const auto history = priceHistoryPath(pathOf(context_.platform.storePath));
    QString told;
    for (const PriceSnapshot& row : taken) {
        if (const auto problem = appendPriceSnapshot(history, row)) {
            told = QStringLiteral(
                       "The prices are in your store, but the price history could not "
                       "be written: %1.")
                       .arg(qtText(*problem));
            break;
        }
    }
    if (!ownHistoryRead_)
        readOwnHistory();
    std::vector<PriceSnapshot> rows = ownLatest_;
    rows.insert(rows.end(), taken.begin(), taken.end());
    ownLatest_ = latestOfEachPost(std::move(rows));
    if (folder_) {
        folder_->share(taken);
        passProblems();
    }
    updateOffer();
    return told;
}

void PriceSharing::afterValuingRun() {
    readOwnHistory();
    shareHeld();
    updateOffer();
}

}  // namespace ledgerly

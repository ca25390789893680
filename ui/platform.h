// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's few contacts with the outside world, each behind a small seam so that tests can
// put their own in place: message boxes, the clipboard, the clock, where the store lives, where
// the game server is and how long the login pauses.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

#include "core/hour_clock.h"

class QWidget;

namespace ledgerly {

class TradeData;

// Modal message boxes with an OK button; the caller waits until the user dismisses them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void inform(QWidget* parent, const QString& text, const QString& caption) = 0;
    void inform(QWidget* parent, const QString& text) { inform(parent, text, programTitle()); }
    static QString programTitle() { return QStringLiteral("Ledgerly"); }
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

struct GameEndpoint {
    QString host;
    quint16 port = 0;
};

// The game server everyone plays on; --server and tests point the program elsewhere.
inline constexpr char kGameServerHost[] = "play.caldmoor.net";
inline constexpr quint16 kGameServerPort = 4001;

struct Platform {
    MessageBoxes& messages;
    Clipboard& clipboard;
    const Clock& clock;
    QString storePath;
    GameEndpoint gameEndpoint;
    std::chrono::milliseconds loginPause;
};

// Told of every valuing run whose prices are saved, so that the records kept beside the store
// (the price history, the shared folder) keep it too.
class ValuingRunListener {
public:
    struct Outcome {
        QStringList notes;  // for the Auto Valuer's log
        QString failure;    // a record that could not be kept, to tell the user; empty if none
    };
    virtual Outcome valuingRunSaved(int tradingPost) = 0;

protected:
    ~ValuingRunListener() = default;
};

// What every window is handed: the one data module and the platform seams.
struct AppContext {
    TradeData& data;
    Platform& platform;
    ValuingRunListener* valuingRuns = nullptr;  // none: a run only rewrites the store
};

// The real seams, for the program itself.
class QtMessageBoxes final : public MessageBoxes {
public:
    using MessageBoxes::inform;
    void inform(QWidget* parent, const QString& text, const QString& caption) override;
};

class SystemClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
};

// c:\tradevalues.txt on Windows; tradevalues.txt in the per-user data folder elsewhere.
QString defaultStorePath();

}  // namespace ledgerly

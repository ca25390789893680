// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Doubles for the platform seams every window is handed (ui/platform.h) and a ready-made context
// over a temporary store folder, for tests of windows.
#pragma once

#include <QDir>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "support/test_data.h"
#include "ui/platform.h"

namespace ledgerly::testing {

struct ShownMessage {
    QString text;
    QString caption;
};

// Records every message box instead of showing it; an optional hook runs while the "box" is up.
class RecordingMessages final : public MessageBoxes {
public:
    using MessageBoxes::inform;
    void inform(QWidget* /*parent*/, const QString& text, const QString& caption) override {
        shown.append({text, caption});
        if (whileShown)
            whileShown();
    }
    QList<ShownMessage> shown;
    std::function<void()> whileShown;
};

class RecordingClipboard final : public Clipboard {
public:
    void setText(const QString& text) override { texts.append(text); }
    QStringList texts;
};

// A data module and platform for one test, with the store in a fresh temporary folder. The
// game endpoint points at a closed loopback port until a test sets its own.
class TestContext {
public:
    QString storePath() const { return platform.storePath; }

    QTemporaryDir folder;
    TradeData data;
    RecordingMessages messages;
    RecordingClipboard clipboard;
    FixedClock clock;
    QString storeFile = QDir(folder.path()).filePath(QStringLiteral("tradevalues.txt"));
    Platform platform{messages, clipboard, clock, storeFile, {QStringLiteral("127.0.0.1"), 1}, {}};
    AppContext context{data, platform};
};

}  // namespace ledgerly::testing

// Test doubles for the platform seams and a ready-made context over a temporary store folder.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "core/trade_data.h"
#include "ui/platform.h"

namespace ledgerly::testing {

class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalDateTime time = {2026, 12, 6, 12, 0, 0}) : time_(time) {}
    LocalDateTime now() const override { return time_; }
    void set(LocalDateTime time) { time_ = time; }

private:
    LocalDateTime time_;
};

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

// Every value of every post set to 1 and every stamp to 10, as after a first start.
inline void setNeverValued(TradeData& data) {
    data.setDefaults();
    data.raiseLowValues();
}

// Reads a whole file as bytes; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace ledgerly::testing

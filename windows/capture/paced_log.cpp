// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/capture/paced_log.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <chrono>
#include <utility>

namespace ledgerly {
namespace {

qint64 steadyMilliseconds() {
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count();
}

}  // namespace

PacedLog::PacedLog(QWidget* window, QPlainTextEdit* log, QLabel* progress, Milliseconds now)
    : window_(window),
      log_(log),
      progress_(progress),
      now_(now ? std::move(now) : steadyMilliseconds) {
    pacer_.setSingleShot(true);
    pacer_.setInterval(kPaintInterval);
    QObject::connect(&pacer_, &QTimer::timeout, &pacer_, [this] { release(); });
}

void PacedLog::holdPainting() {
    if (heldSince_) {
        if (now_() - *heldSince_ >= kPaintInterval)
            release();
        return;
    }
    heldSince_ = now_();
    window_->setUpdatesEnabled(false);
    pacer_.start();
}

void PacedLog::release() {
    heldSince_.reset();
    pacer_.stop();
    flush();
    window_->setUpdatesEnabled(true);
}

void PacedLog::append(const QString& text) {
    pending_ += text;
    if (pending_.size() > kLogLimit) {
        // Some of the newest text is already dropped, so everything shown is older still.
        pending_.remove(0, pending_.size() - kLogLimit);
        pendingReplacesAll_ = true;
    }
    if (!heldSince_)
        flush();
}

void PacedLog::setProgress(const QString& text) {
    pendingProgress_ = text;
    if (!heldSince_)
        flush();
}

void PacedLog::reset(const QString& text) {
    pending_ = text;
    pendingReplacesAll_ = true;
    release();
}

void PacedLog::flush() {
    if (pendingProgress_)
        progress_->setText(*std::exchange(pendingProgress_, std::nullopt));
    if (pending_.isEmpty() && !pendingReplacesAll_)
        return;
    QString shown = std::exchange(pending_, QString());
    if (std::exchange(pendingReplacesAll_, false))
        log_->clear();
    // The server's CR LF is one line break in the box; a CR on its own shows nothing.
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.remove(QLatin1Char('\r'));

    QTextDocument* document = log_->document();
    QTextCursor end(document);
    end.movePosition(QTextCursor::End);
    end.insertText(shown);
    const int excess = document->characterCount() - kLogLimit;
    if (excess > 0) {
        // Trim a quarter more than needed so that trimming is rare.
        QTextCursor oldest(document);
        oldest.setPosition(std::min(excess + kLogLimit / 4, document->characterCount() - 1),
                           QTextCursor::KeepAnchor);
        oldest.removeSelectedText();
    }
    log_->moveCursor(QTextCursor::End);
    log_->ensureCursorVisible();
}

}  // namespace ledgerly

#include "windows/capture/paced_log.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

namespace ledgerly {
namespace {

// About 25 repaints a second at most.
constexpr int kPaintInterval = 40;

}  // namespace

PacedLog::PacedLog(QWidget* window, QPlainTextEdit* log, QLabel* progress)
    : window_(window), log_(log), progress_(progress) {
    pacer_.setSingleShot(true);
    pacer_.setInterval(kPaintInterval);
    QObject::connect(&pacer_, &QTimer::timeout, &pacer_, [this] {
        flush();
        window_->setUpdatesEnabled(true);
    });
}

void PacedLog::holdPainting() {
    if (pacer_.isActive())
        return;
    window_->setUpdatesEnabled(false);
    pacer_.start();
}

void PacedLog::append(const QString& text) {
    pending_ += text;
    if (pending_.size() > kLogLimit) {
        // Some of the newest text is already dropped, so everything shown is older still.
        pending_.remove(0, pending_.size() - kLogLimit);
        pendingReplacesAll_ = true;
    }
    if (!pacer_.isActive())
        flush();
}

void PacedLog::setProgress(const QString& text) {
    pendingProgress_ = text;
    if (!pacer_.isActive())
        flush();
}

void PacedLog::reset(const QString& text) {
    pending_.clear();
    pendingReplacesAll_ = false;
    log_->setPlainText(text);
    flush();
    pacer_.stop();
    window_->setUpdatesEnabled(true);
}

void PacedLog::flush() {
    if (pendingProgress_)
        progress_->setText(*std::exchange(pendingProgress_, std::nullopt));
    if (pending_.isEmpty())
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

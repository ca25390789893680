// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Auto Valuer's log and progress line, repainted at most every 40 ms while text pours in.
// Against a server that answers at once, repainting the window for every answer would cost far
// more than the conversation itself, so painting is held back for a moment and the text that
// came meanwhile is laid out in one go. The log keeps a bounded amount of text, so with the lines
// of server text broken for display (ValuingDialogue), an arrival costs about the same whatever
// came before it.
#pragma once

#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace ledgerly {

class PacedLog {
public:
    // The log keeps at most this many characters, dropping the oldest.
    static constexpr int kLogLimit = 1 << 20;
    // About 25 repaints a second at most.
    static constexpr int kPaintInterval = 40;

    // Milliseconds from any fixed point; tests pass their own to drive the pacing.
    using Milliseconds = std::function<qint64()>;

    PacedLog(QWidget* window, QPlainTextEdit* log, QLabel* progress, Milliseconds now = {});

    // Holds the window's painting back for at most one interval; everything still changes at
    // once, only the repaint waits. A hold that has lasted its interval ends here, so that
    // arrivals coming faster than the timer can fire do not keep the window blank.
    void holdPainting();
    // Server text with CR LF line ends, or a note of the program's own.
    void append(const QString& text);
    void setProgress(const QString& text);
    // Replaces the whole log at once and paints again.
    void reset(const QString& text);

private:
    void release();
    void flush();

    QWidget* window_;
    QPlainTextEdit* log_;
    QLabel* progress_;
    Milliseconds now_;
    QTimer pacer_;
    std::optional<qint64> heldSince_;  // while painting is held
    QString pending_;                  // log text not yet in the box, while painting is held
    bool pendingReplacesAll_ = false;  // so much arrived that the box's text is outdated
    std::optional<QString> pendingProgress_;
};

}  // namespace ledgerly

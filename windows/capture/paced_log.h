// The Auto Valuer's log and progress line, repainted at most every 40 ms while text pours in.
// Against a server that answers at once, repainting the window for every answer would cost far
// more than the conversation itself, so painting is held back for a moment and the text that
// came meanwhile is laid out in one go.
#pragma once

#include <QString>
#include <QTimer>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QWidget;

namespace ledgerly {

class PacedLog {
public:
    // The log keeps at most this many characters, dropping the oldest, so that a chatty server
    // cannot make it grow without end.
    static constexpr int kLogLimit = 1 << 20;

    PacedLog(QWidget* window, QPlainTextEdit* log, QLabel* progress);

    // Holds the window's painting back for at most one interval; everything still changes at
    // once, only the repaint waits.
    void holdPainting();
    // Server text with CR LF line ends, or a note of the program's own.
    void append(const QString& text);
    void setProgress(const QString& text);
    // Replaces the whole log at once and paints again.
    void reset(const QString& text);

private:
    void flush();

    QWidget* window_;
    QPlainTextEdit* log_;
    QLabel* progress_;
    QTimer pacer_;
    QString pending_;                  // log text not yet in the box, while painting is held
    bool pendingReplacesAll_ = false;  // so much arrived that the box's text is outdated
    std::optional<QString> pendingProgress_;
};

}  // namespace ledgerly

// The windows of the three trader questions (reports/trader_questions.h): each renders what its
// computation returns in a read-only table and keeps out of the reports' shared buffers.
#pragma once

#include <QWidget>

#include "ui/platform.h"
#include "ui/tool_table.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace ledgerly {

// "Where to Sell": every post as a market for the chosen commodity, best paying first.
class WhereToSellWindow : public QWidget {
    Q_OBJECT
public:
    explicit WhereToSellWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void find();

    AppContext& context_;
    QComboBox* commodity_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QLineEdit* soldAt_ = nullptr;
    QTableWidget* markets_ = nullptr;
};

// "Revalue Next": the posts with the oldest prices first, computed when the window is made and
// on "Refresh"; "Value this post" leads on to the Auto Valuer, which recognises the post from
// the game itself.
class RevalueNextWindow : public QWidget {
    Q_OBJECT
public:
    RevalueNextWindow(AppContext& context, ToolWindowHost& tools, QWidget* parent = nullptr);

private:
    void refresh();

    AppContext& context_;
    ToolWindowHost& tools_;
    QTableWidget* posts_ = nullptr;
    QPushButton* valueButton_ = nullptr;
};

// "Round Trips": the 40 loops between two posts that pay best per move with both legs loaded,
// computed when the window is made and whenever a filter changes.
class RoundTripsWindow : public QWidget {
    Q_OBJECT
public:
    explicit RoundTripsWindow(AppContext& context, QWidget* parent = nullptr);

private:
    void recompute();

    AppContext& context_;
    QComboBox* through_ = nullptr;
    QCheckBox* leaveOutOld_ = nullptr;
    QSpinBox* maxAge_ = nullptr;
    QTableWidget* loops_ = nullptr;
};

}  // namespace ledgerly

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tools of the program: every window the main window opens, as one typed table. For each
// tool this file holds its button on the main window (caption, object name, place); how each
// window is made is app/startup.cpp's switch over the same enum. A tool window that leads on to
// another (Revalue Next to the Auto Valuer) asks the ToolWindowHost for it by its Tool, so no
// area includes another.
#pragma once

#include <array>
#include <functional>
#include <string_view>

class QWidget;

namespace ledgerly {

// In the main window's tab order. A new tool is added at the end, then given its button in
// toolButton() below and its window in app/startup.cpp; until both are there the build stops
// (-Wswitch), so no tool can be left without a button or a window.
enum class Tool {
    AllPayoffs,
    TopPayoffsToPost,
    ExportValues,
    ExportTopFive,
    TopPayoffsToAnyPost,
    TopCpmToPost,
    TopCpmToAnyPost,
    TopCpmFromPost,
    TopPayoffsFromPost,
    RunPicker,
    AutoValuer,
    WhereToSell,
    RevalueNext,
    RoundTrips,
    PlanRoute,
    PriceHistory,
};

// Where a button stands on the main window's grid, whose rows 1 and 5 hold dividing lines.
enum class ButtonColumn {
    Left,     // the Auto Valuer and the CPM reports
    Right,    // the payoff reports
    Centred,  // alone in its row, centred under both columns
    Shared,   // side by side with the other tools of its row, across the whole width
};

struct ToolButton {
    std::string_view objectName;
    std::string_view caption;
    int row = 0;
    ButtonColumn column = ButtonColumn::Left;
    bool prominent = false;  // 12-point bold
};

constexpr ToolButton toolButton(Tool tool) {
    using enum ButtonColumn;
    switch (tool) {
        case Tool::AllPayoffs:
            return {"Command2", "Show all payoffs to a certain TP", 0, Right};
        case Tool::TopPayoffsToPost:
            return {"Command3", "Top 40 payoffs to a specific TP", 2, Right};
        case Tool::ExportValues:
            return {"Command4", "Put values from one Tp to another TP onto clipboard", 6, Left};
        case Tool::ExportTopFive:
            return {"Command7",
                    "Put top 5 non-cpk payoffs from one TP to another TP onto clipboard", 6, Right};
        case Tool::TopPayoffsToAnyPost:
            return {"Command8", "Top 40 payoffs to any TP", 4, Right};
        case Tool::TopCpmToPost:
            return {"Command5", "Top 40 CPM to a specific TP", 2, Left};
        case Tool::TopCpmToAnyPost:
            return {"Command6", "Top 40 CPM to any TP", 4, Left};
        case Tool::TopCpmFromPost:
            return {"Command9", "Top 40 CPM from a specific TP", 3, Left};
        case Tool::TopPayoffsFromPost:
            return {"Command10", "Top 40 payoffs from a specific TP", 3, Right};
        case Tool::RunPicker:
            return {"Command11", "Best Run Picker", 7, Centred};
        case Tool::AutoValuer:
            return {"Command12", "GET VALUES", 0, Left, true};
        case Tool::WhereToSell:
            return {"whereToSellButton", "Where to sell a commodity", 8, Shared};
        case Tool::RevalueNext:
            return {"revalueNextButton", "Which posts to revalue", 8, Shared};
        case Tool::RoundTrips:
            return {"roundTripsButton", "Best round trips", 8, Shared};
        case Tool::PlanRoute:
            return {"planRouteButton", "Plan a route", 8, Shared};
        case Tool::PriceHistory:
            return {"priceHistoryButton", "Price history", 8, Shared};
    }
    return {};  // no tool has this value
}

// How many tools there are: the enum's values run from 0 without gaps, and the first one that
// toolButton() does not know is one past the last.
inline constexpr int kToolCount = [] {
    int count = 0;
    while (!toolButton(static_cast<Tool>(count)).objectName.empty())
        ++count;
    return count;
}();

// Every tool, in tab order.
inline constexpr std::array<Tool, kToolCount> kAllTools = [] {
    std::array<Tool, kToolCount> tools{};
    for (int i = 0; i < kToolCount; ++i)
        tools[static_cast<std::size_t>(i)] = static_cast<Tool>(i);
    return tools;
}();

// Whoever keeps the tool windows (the main window, their parent).
class ToolWindowHost {
public:
    // Shows the tool's window, making it first when none is open.
    virtual void openTool(Tool tool) = 0;

protected:
    ~ToolWindowHost() = default;
};

// Makes a fresh window of `tool` as a child of `parent`; `host` opens other tools for it.
using ToolWindowFactory = std::function<QWidget*(Tool tool, ToolWindowHost& host, QWidget* parent)>;

}  // namespace ledgerly

// Which tool window each main-window button opens. Every area of the program registers its
// windows here; the main window only knows button names and how to make each window.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <map>

namespace ledgerly {

// Makes a fresh tool window as a top-level child of `parent`.
using ToolWindowFactory = std::function<QWidget*(QWidget* parent)>;

// Keyed by the main window button's name ("Command2", ...).
using ToolWindowCatalogue = std::map<QString, ToolWindowFactory>;

// The button that opens the Auto Valuer.
inline constexpr char kAutoValuerButton[] = "Command12";

// Whoever keeps the tool windows (the main window, their parent), so that one tool window can
// lead the user on to another by its button name without knowing who makes it.
class ToolWindowHost {
public:
    virtual void openToolWindow(const QString& buttonName) = 0;

protected:
    ~ToolWindowHost() = default;
};

}  // namespace ledgerly

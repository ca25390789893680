// The main window: fourteen buttons, each opening one tool window. A tool window is made on the
// first click; while it is open a click only shows and raises it; once the user closes it, it is
// gone and the next click makes it afresh.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>

#include "ui/tool_window_catalogue.h"

class QPushButton;

namespace ledgerly {

class MainWindow : public QWidget, public ToolWindowHost {
    Q_OBJECT
public:
    explicit MainWindow(ToolWindowCatalogue catalogue, QWidget* parent = nullptr);

    QPushButton* button(const QString& name) const;
    // The live tool window of a button, or null when none is open.
    QWidget* toolWindow(const QString& buttonName) const;
    void openToolWindow(const QString& buttonName) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* addButton(const QString& name, const QString& caption);

    ToolWindowCatalogue catalogue_;
    std::map<QString, QPushButton*> buttons_;
    std::map<QString, QPointer<QWidget>> windows_;
};

}  // namespace ledgerly

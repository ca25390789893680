#include "app/main_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

QFrame* dividingLine(QFrame::Shape shape, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

MainWindow::MainWindow(ToolWindowCatalogue catalogue, QWidget* parent)
    : QWidget(parent), catalogue_(std::move(catalogue)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Ledgerly"));

    auto* command12 = addButton(QStringLiteral("Command12"), QStringLiteral("GET VALUES"));
    QFont bold = command12->font();
    bold.setPointSize(12);
    bold.setBold(true);
    command12->setFont(bold);

    auto* command2 =
        addButton(QStringLiteral("Command2"), QStringLiteral("Show all payoffs to a certain TP"));
    auto* command5 =
        addButton(QStringLiteral("Command5"), QStringLiteral("Top 40 CPM to a specific TP"));
    auto* command3 =
        addButton(QStringLiteral("Command3"), QStringLiteral("Top 40 payoffs to a specific TP"));
    auto* command9 =
        addButton(QStringLiteral("Command9"), QStringLiteral("Top 40 CPM from a specific TP"));
    auto* command10 =
        addButton(QStringLiteral("Command10"), QStringLiteral("Top 40 payoffs from a specific TP"));
    auto* command6 = addButton(QStringLiteral("Command6"), QStringLiteral("Top 40 CPM to any TP"));
    auto* command8 =
        addButton(QStringLiteral("Command8"), QStringLiteral("Top 40 payoffs to any TP"));
    auto* command4 =
        addButton(QStringLiteral("Command4"),
                  QStringLiteral("Put values from one Tp to another TP onto clipboard"));
    auto* command7 = addButton(
        QStringLiteral("Command7"),
        QStringLiteral("Put top 5 non-cpk payoffs from one TP to another TP onto clipboard"));
    auto* command11 = addButton(QStringLiteral("Command11"), QStringLiteral("Best Run Picker"));
    auto* command13 =
        addButton(QStringLiteral("Command13"), QStringLiteral("Where to sell a commodity"));
    auto* command14 =
        addButton(QStringLiteral("Command14"), QStringLiteral("Which posts to revalue"));
    auto* command15 = addButton(QStringLiteral("Command15"), QStringLiteral("Best round trips"));

    // Left column: capture and the per-move reports; right column: the payoff reports.
    auto* grid = new QGridLayout;
    grid->addWidget(command12, 0, 0);
    grid->addWidget(command2, 0, 2);
    grid->addWidget(dividingLine(QFrame::HLine, this), 1, 0, 1, 3);
    grid->addWidget(command5, 2, 0);
    grid->addWidget(command3, 2, 2);
    grid->addWidget(command9, 3, 0);
    grid->addWidget(command10, 3, 2);
    grid->addWidget(command6, 4, 0);
    grid->addWidget(command8, 4, 2);
    grid->addWidget(dividingLine(QFrame::VLine, this), 2, 1, 3, 1);
    grid->addWidget(dividingLine(QFrame::HLine, this), 5, 0, 1, 3);
    grid->addWidget(command4, 6, 0);
    grid->addWidget(command7, 6, 2);
    grid->addWidget(command11, 7, 0, 1, 3, Qt::AlignHCenter);
    // The trader questions: one row of three beneath the run picker.
    auto* questions = new QHBoxLayout;
    questions->addWidget(command13);
    questions->addWidget(command14);
    questions->addWidget(command15);
    grid->addLayout(questions, 8, 0, 1, 3);

    auto* foot = new QLabel(
        QStringLiteral(LEDGERLY_NAME " Version " LEDGERLY_VERSION
                                     " - made by the Ledgerly team for Caldmoor's traders"),
        this);
    foot->setObjectName(QStringLiteral("lblVersion"));
    foot->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(foot);

    chainTabOrder({command2, command3, command4, command7, command8, command5, command6, command9,
                   command10, command11, command12, command13, command14, command15});
}

QPushButton* MainWindow::addButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setEnabled(catalogue_.contains(name));
    connect(button, &QPushButton::clicked, this, [this, name] { openToolWindow(name); });
    buttons_[name] = button;
    return button;
}

QPushButton* MainWindow::button(const QString& name) const {
    const auto it = buttons_.find(name);
    return it == buttons_.end() ? nullptr : it->second;
}

QWidget* MainWindow::toolWindow(const QString& buttonName) const {
    const auto it = windows_.find(buttonName);
    return it == windows_.end() ? nullptr : it->second.data();
}

void MainWindow::openToolWindow(const QString& buttonName) {
    const auto factory = catalogue_.find(buttonName);
    if (factory == catalogue_.end())
        return;
    QPointer<QWidget>& window = windows_[buttonName];
    if (!window) {
        window = factory->second(this);
        if (!window)
            return;
        window->setWindowFlag(Qt::Window, true);
        // A window the user closes is discarded; the next click makes it afresh.
        window->setAttribute(Qt::WA_DeleteOnClose, true);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, tool windows included.
    for (auto& [name, window] : windows_) {
        if (window)
            window->close();
    }
    event->accept();
}

}  // namespace ledgerly

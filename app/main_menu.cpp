// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/main_menu.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "ui/widget_helpers.h"
#include "windows/share/share_folder_dialog.h"

namespace ledgerly {
namespace {

QString loginName() {
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

}  // namespace

MainMenu::MainMenu(QWidget& mainWindow, AppContext& context, QSettings& settings,
                   const TimeZone& zone)
    : QObject(&mainWindow),
      window_(mainWindow),
      context_(context),
      sharing_(new PriceSharing(context, settings, zone, this)) {
    menuBar_ = new QMenuBar(&mainWindow);
    menuBar_->setObjectName(QStringLiteral("mainMenuBar"));
    QMenu* file = menuBar_->addMenu(QStringLiteral("&File"));
    QAction* import =
        file->addAction(QStringLiteral("&Import prices…"), this, &MainMenu::chooseImportFile);
    import->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    file->addAction(QStringLiteral("&Share prices through a folder…"), this,
                    &MainMenu::chooseSharing);
    file->addAction(QStringLiteral("&Open data folder"), this, &MainMenu::openDataFolder);
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("&Quit"), &mainWindow, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu* help = menuBar_->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About Ledgerly"), this, [this] {
        context_.platform.messages.inform(
            &window_,
            QStringLiteral(LEDGERLY_NAME " " LEDGERLY_VERSION
                                         "\n\nA trade calculator for players of Caldmoor."),
            QStringLiteral("About Ledgerly"));
    });
    mainWindow.layout()->setMenuBar(menuBar_);
    mainWindow.installEventFilter(this);

    offer_ = namedLabel(QStringLiteral("fresherPricesLabel"), QString(), &mainWindow);
    review_ = new QPushButton(QStringLiteral("&Review…"), &mainWindow);
    review_->setObjectName(QStringLiteral("reviewButton"));
    review_->setAutoDefault(false);
    offer_->setBuddy(review_);
    connect(review_, &QPushButton::clicked, this,
            [this] { showImport(sharing_->friendsRequest()); });
    problems_ = namedLabel(QStringLiteral("sharingProblemLabel"), QString(), &mainWindow);
    problems_->setWordWrap(true);
    problems_->hide();

    auto* offerLine = new QHBoxLayout;
    offerLine->addWidget(offer_, 1);
    offerLine->addWidget(review_);
    // Above the foot line with the version, under the buttons.
    if (auto* layout = qobject_cast<QBoxLayout*>(mainWindow.layout())) {
        const int foot = layout->count() - 1;
        layout->insertLayout(foot, offerLine);
        layout->insertWidget(foot + 1, problems_);
    }
    showOffer(0);

    connect(sharing_, &PriceSharing::offerChanged, this, &MainMenu::showOffer);
    connect(sharing_, &PriceSharing::problemsChanged, this, [this](const QString& text) {
        problems_->setText(text);
        problems_->setVisible(!text.isEmpty());
    });
}

bool MainMenu::eventFilter(QObject* watched, QEvent* event) {
    // Closing the main window ends the program, the Import Prices window included.
    if (watched == &window_ && event->type() == QEvent::Close && importWindow_)
        importWindow_->close();
    return QObject::eventFilter(watched, event);
}

void MainMenu::start() {
    QTimer::singleShot(0, sharing_, &PriceSharing::start);
}

void MainMenu::showOffer(int posts) {
    offer_->setText(posts == 1
                        ? QStringLiteral("Fresher prices from friends for 1 post")
                        : QStringLiteral("Fresher prices from friends for %1 posts").arg(posts));
    offer_->setVisible(posts > 0);
    review_->setVisible(posts > 0);
}

void MainMenu::importFile(const QString& path) {
    QString problem;
    auto request = sharing_->fileRequest(path, problem);
    if (!request) {
        context_.platform.messages.inform(&window_, problem);
        return;
    }
    showImport(std::move(*request));
}

void MainMenu::showImport(ImportRequest request) {
    if (importWindow_) {
        importWindow_->setRequest(std::move(request));
    } else {
        importWindow_ = new ImportPricesWindow(
            context_, sharing_->zone(), std::move(request),
            [this](const std::vector<PriceSnapshot>& taken) {
                return sharing_->recordImport(taken);
            },
            &window_);
        importWindow_->setWindowFlag(Qt::Window, true);
        importWindow_->setAttribute(Qt::WA_DeleteOnClose, true);
    }
    importWindow_->show();
    importWindow_->raise();
    importWindow_->activateWindow();
}

void MainMenu::chooseImportFile() {
    const QString path =
        QFileDialog::getOpenFileName(&window_, QStringLiteral("Import prices"), QDir::homePath(),
                                     QStringLiteral("Prices (*.txt *.csv);;All files (*)"));
    if (!path.isEmpty())
        importFile(path);
}

void MainMenu::chooseSharing() {
    ShareFolderDialog dialog(sharing_->choice(), loginName(), &window_);
    if (dialog.exec() == QDialog::Accepted)
        sharing_->setChoice(dialog.choice());
}

void MainMenu::openDataFolder() {
    const QString folder = QFileInfo(context_.platform.storePath).absolutePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        context_.platform.messages.inform(
            &window_,
            QStringLiteral("Your data folder is %1.").arg(QDir::toNativeSeparators(folder)));
    }
}

}  // namespace ledgerly

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/share/share_folder_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "rules/share/share_folder.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {

ShareFolderDialog::ShareFolderDialog(const std::optional<SharingChoice>& current,
                                     const QString& loginName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("shareFolderDialog"));
    setWindowTitle(QStringLiteral("Share prices through a folder"));

    auto* explanation = namedLabel(
        QStringLiteral("explanationLabel"),
        QStringLiteral("Ledgerly adds every valuing run and import to its own file in this folder "
                       "and offers the fresher prices it finds in the files of the other players. "
                       "Keep the folder in step with your friends with a sync program."),
        this);
    explanation->setWordWrap(true);

    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("folderBox"));
    auto* browse = new QPushButton(QStringLiteral("&Browse…"), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &ShareFolderDialog::browse);

    player_ = new QLineEdit(this);
    player_->setObjectName(QStringLiteral("playerBox"));
    player_->setMaxLength(static_cast<int>(kPlayerNameLimit));

    problem_ = namedLabel(QStringLiteral("problemLabel"), QString(), this);
    problem_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    stop_ = buttons->addButton(QStringLiteral("&Stop sharing"), QDialogButtonBox::ResetRole);
    stop_->setObjectName(QStringLiteral("stopButton"));
    stop_->setEnabled(current.has_value());
    connect(buttons, &QDialogButtonBox::accepted, this, &ShareFolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ShareFolderDialog::reject);
    connect(stop_, &QPushButton::clicked, this, [this] {
        choice_.reset();
        QDialog::accept();
    });

    auto* grid = new QGridLayout;
    grid->addWidget(
        buddyLabel(QStringLiteral("folderLabel"), QStringLiteral("&Folder"), folder_, this), 0, 0);
    grid->addWidget(folder_, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(
        buddyLabel(QStringLiteral("playerLabel"), QStringLiteral("&Player name"), player_, this), 1,
        0);
    grid->addWidget(player_, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(grid);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    if (current) {
        folder_->setText(QDir::toNativeSeparators(current->folder));
        player_->setText(current->player);
    } else {
        player_->setText(qtText(playerNameFrom(loginName.toStdString())));
    }
    folder_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
}

void ShareFolderDialog::browse() {
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Folder to share prices through"), folder_->text());
    if (!chosen.isEmpty())
        folder_->setText(QDir::toNativeSeparators(chosen));
}

void ShareFolderDialog::accept() {
    const QString folder = QDir::fromNativeSeparators(folder_->text().trimmed());
    const QString player = player_->text();
    QString problem;
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        problem = QStringLiteral("Choose a folder that exists.");
    } else if (const auto nameProblem = playerNameProblem(player.toStdString())) {
        problem = QStringLiteral("Choose another player name: %1.").arg(qtText(*nameProblem));
    }
    problem_->setText(problem);
    if (!problem.isEmpty()) {
        (problem.startsWith(QStringLiteral("Choose a folder")) ? folder_ : player_)->setFocus();
        return;
    }
    choice_ = SharingChoice{QFileInfo(folder).absoluteFilePath(), player};
    QDialog::accept();
}

}  // namespace ledgerly

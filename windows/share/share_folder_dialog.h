// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Share prices through a folder…": which folder a sync program keeps in step with friends, and
// the player name your file there carries. Accepting it turns sharing on; "Stop sharing" off.
#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;
class QLabel;
class QPushButton;

namespace ledgerly {

struct SharingChoice {
    QString folder;
    QString player;
};

class ShareFolderDialog : public QDialog {
    Q_OBJECT
public:
    // `current` is what is set now, if anything; `loginName` suggests a player name.
    ShareFolderDialog(const std::optional<SharingChoice>& current, const QString& loginName,
                      QWidget* parent = nullptr);

    // After the dialog is accepted: the choice, or nothing when the user stopped sharing.
    std::optional<SharingChoice> choice() const { return choice_; }

    QLineEdit* folderBox() const { return folder_; }
    QLineEdit* playerBox() const { return player_; }
    QPushButton* stopButton() const { return stop_; }

    void accept() override;

private:
    void browse();

    QLineEdit* folder_ = nullptr;
    QLineEdit* player_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* stop_ = nullptr;
    std::optional<SharingChoice> choice_;
};

}  // namespace ledgerly

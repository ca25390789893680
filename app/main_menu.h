// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's menu bar and its line about friends' prices. They are added to the window
// from outside, so that the buttons and their layout stay exactly as they are:
//   File: Import prices… (Ctrl+I), Share prices through a folder…, Open data folder, Quit (Ctrl+Q)
//   Help: About Ledgerly
// Beneath the buttons, one line says when friends sharing a folder hold fresher prices, with
// "Review…" to see them; another says what stands in the way of sharing, while something does.
#pragma once

#include <QObject>
#include <QPointer>

#include "ui/platform.h"
#include "windows/share/import_prices_window.h"
#include "windows/share/price_sharing.h"

class QLabel;
class QMenuBar;
class QPushButton;
class QSettings;
class QWidget;

namespace ledgerly {

class MainMenu : public QObject {
    Q_OBJECT
public:
    // `settings` keeps the sharing choice; both it and `zone` outlive the menu.
    MainMenu(QWidget& mainWindow, AppContext& context, QSettings& settings, const TimeZone& zone);

    // Reads the shared folder, if one is set, once the program is running.
    void start();

    // Opens the Import Prices window on a file (the menu's choice, or --import FILE); a file
    // that cannot be read is refused with a message and changes nothing.
    void importFile(const QString& path);

    PriceSharing& sharing() { return *sharing_; }
    QMenuBar* menuBar() const { return menuBar_; }
    QLabel* offerLine() const { return offer_; }
    QPushButton* reviewButton() const { return review_; }
    QLabel* problemLine() const { return problems_; }
    ImportPricesWindow* importWindow() const { return importWindow_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showImport(ImportRequest request);
    void chooseImportFile();
    void chooseSharing();
    void openDataFolder();
    void showOffer(int posts);

    QWidget& window_;
    AppContext& context_;
    PriceSharing* sharing_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QLabel* offer_ = nullptr;
    QPushButton* review_ = nullptr;
    QLabel* problems_ = nullptr;
    QPointer<ImportPricesWindow> importWindow_;
};

}  // namespace ledgerly

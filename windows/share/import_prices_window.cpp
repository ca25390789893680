// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/share/import_prices_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/catalogue.h"
#include "core/number_text.h"
#include "ui/qt_text.h"
#include "ui/widget_helpers.h"

namespace ledgerly {
namespace {

enum Column { Town, YourAge, TheirAge, Differing, TakeTheirs, ColumnCount };

QString ageText(const std::optional<double>& age, bool ahead) {
    if (!age)
        return QStringLiteral("never valued");
    const QString hours = qtText(ledgerly::ageText(ahead ? -*age : *age, localeDecimalSeparator()));
    const QString unit =
        hours == QStringLiteral("1") ? QStringLiteral("hour") : QStringLiteral("hours");
    return ahead ? QStringLiteral("%1 %2 ahead of your clock").arg(hours, unit)
                 : QStringLiteral("%1 %2 old").arg(hours, unit);
}

QTableWidgetItem* textCell(const QString& text, bool figure = false) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (figure)
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cell;
}

}  // namespace

ImportPricesWindow::ImportPricesWindow(AppContext& context, const TimeZone& zone,
                                       ImportRequest request, TakenHandler taken, QWidget* parent)
    : QWidget(parent), context_(context), zone_(zone), taken_(std::move(taken)) {
    setObjectName(QStringLiteral("importPricesWindow"));
    setWindowTitle(QStringLiteral("Import Prices"));

    origin_ = namedLabel(QStringLiteral("originLabel"), QString(), this);
    note_ = namedLabel(QStringLiteral("noteLabel"), QString(), this);
    note_->setWordWrap(true);

    table_ = new QTableWidget(kTradingPostCount, ColumnCount, this);
    table_->setObjectName(QStringLiteral("postsTable"));
    table_->setAccessibleName(QStringLiteral("Posts"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Town"), QStringLiteral("Your prices"), QStringLiteral("Their prices"),
         QStringLiteral("Prices that differ"), QStringLiteral("take theirs")});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == TakeTheirs)
            updateImportButton();
    });

    importButton_ = new QPushButton(QStringLiteral("&Import"), this);
    importButton_->setObjectName(QStringLiteral("importButton"));
    importButton_->setDefault(true);
    connect(importButton_, &QPushButton::clicked, this, &ImportPricesWindow::importTicked);
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(importButton_);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(origin_);
    layout->addWidget(note_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    chainTabOrder({table_, importButton_, closeButton_});
    setRequest(std::move(request));
}

void ImportPricesWindow::setRequest(ImportRequest request) {
    request_ = std::move(request);
    fill();
}

void ImportPricesWindow::fill() {
    origin_->setText(QStringLiteral("Prices from %1").arg(request_.origin));
    note_->setText(request_.offer.kind == OfferKind::TradeValuesFile
                       ? QStringLiteral("The ages of their prices come from the stamps in the "
                                        "file, that is from the other player's clock.")
                       : QStringLiteral("The ages count from when each post was valued."));

    const auto plan =
        planImport(request_.offer, context_.data, request_.yours, context_.platform.clock, zone_);
    const QSignalBlocker quiet(table_);
    for (const ImportRow& row : plan) {
        const int r = row.tp - 1;
        table_->setItem(r, Town, textCell(qtText(tradingPost(row.tp).townName)));
        table_->setItem(r, YourAge, textCell(ageText(row.yourAge, false)));
        table_->setItem(r, TheirAge, textCell(ageText(row.theirAge, row.theirsAhead)));
        table_->setItem(r, Differing,
                        textCell(row.theirAge ? QString::number(row.differing) : QString(), true));
        auto* take = textCell(QString());
        if (row.theirAge) {
            take->setFlags(take->flags() | Qt::ItemIsUserCheckable);
            take->setCheckState(row.fresher ? Qt::Checked : Qt::Unchecked);
        } else {
            // Nothing of theirs to take.
            take->setFlags(Qt::NoItemFlags);
        }
        table_->setItem(r, TakeTheirs, take);
    }
    table_->resizeColumnsToContents();
    updateImportButton();
}

void ImportPricesWindow::updateImportButton() {
    bool any = false;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const auto* take = table_->item(r, TakeTheirs);
        any = any || (take && take->checkState() == Qt::Checked);
    }
    importButton_->setEnabled(any);
}

void ImportPricesWindow::importTicked() {
    std::vector<int> posts;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const auto* take = table_->item(r, TakeTheirs);
        if (take && take->checkState() == Qt::Checked)
            posts.push_back(r + 1);
    }
    const std::filesystem::path store(context_.platform.storePath.toStdU16String());
    const ImportResult result =
        takeOffer(request_.offer, posts, context_.data, store, context_.platform.clock, zone_);
    if (result.failure) {
        context_.platform.messages.inform(
            this, QStringLiteral("Nothing was imported: %1.").arg(qtText(*result.failure)));
        return;
    }
    QString text = result.taken.size() == 1
                       ? QStringLiteral("Prices of 1 post imported.")
                       : QStringLiteral("Prices of %1 posts imported.").arg(result.taken.size());
    if (taken_) {
        const QString more = taken_(result.taken);
        if (!more.isEmpty())
            text += QStringLiteral("\n\n") + more;
    }
    fill();
    context_.platform.messages.inform(this, text);
    close();
}

}  // namespace ledgerly

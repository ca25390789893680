// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/valuing_run_records.h"

#include <QDir>
#include <chrono>

#include "rules/history/run_record.h"
#include "ui/qt_text.h"

namespace ledgerly {

ValuingRunRecords::ValuingRunRecords(AppContext& context, std::function<void()> shareRun)
    : context_(context), shareRun_(std::move(shareRun)) {}

ValuingRunListener::Outcome ValuingRunRecords::valuingRunSaved(int tradingPost) {
    const std::filesystem::path store(context_.platform.storePath.toStdU16String());
    const std::filesystem::path history = priceHistoryPath(store);
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const RunRecord record =
        recordValuingRun(context_.data, tradingPost, now, history, localeDecimalSeparator());

    Outcome outcome;
    if (record.comparison)
        outcome.notes << qtText(*record.comparison);
    if (record.failure) {
        outcome.failure =
            QStringLiteral(
                "The new prices are saved, but the price history %1 could not keep "
                "them (%2).")
                .arg(QDir::toNativeSeparators(QString::fromStdU16String(history.u16string())),
                     qtText(*record.failure));
    }
    if (shareRun_)
        shareRun_();
    return outcome;
}

}  // namespace ledgerly

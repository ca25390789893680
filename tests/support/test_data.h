// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What tests of the plain libraries share: a fixed clock, prices and stamps set up over a
// never-valued table, and the bytes of a file. Needs no widgets.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QMetaType>
#include <QString>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/hour_clock.h"
#include "core/trade_data.h"

namespace ledgerly::testing {

class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalDateTime time = {2026, 12, 6, 12, 0, 0}) : time_(time) {}
    LocalDateTime now() const override { return time_; }
    void set(LocalDateTime time) { time_ = time; }

private:
    LocalDateTime time_;
};

// What post `tp` pays for commodity `commodity`.
struct Price {
    int tp;
    int commodity;
    float value;
};
using Prices = std::vector<Price>;

// Post `tp` valued at the hour-clock reading `hours`; post 0 stands for every post.
struct Stamp {
    int tp;
    float hours;
};
using Stamps = std::vector<Stamp>;

// Every value of every post set to 1 and every stamp to 10, as after a first start.
inline void setNeverValued(TradeData& data) {
    data.setDefaults();
    data.raiseLowValues();
}

// Never-valued data, then `prices` and `stamps` in the order given.
inline void setUpPrices(TradeData& data, const Prices& prices, const Stamps& stamps = {}) {
    setNeverValued(data);
    for (const Price& price : prices)
        data.setValue(price.tp, price.commodity, price.value);
    for (const Stamp& stamp : stamps) {
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            if (stamp.tp == 0 || stamp.tp == tp)
                data.setStamp(tp, stamp.hours);
        }
    }
}

// The stamp of a post valued `hours` before the clock's reading.
inline Stamp valuedAgo(const Clock& clock, int tp, float hours) {
    return {tp, readHourClock(clock) - hours};
}

// Reads a whole file as bytes; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The same for a file named by a standard path, and writing one whole.
inline std::string bytesOf(const std::filesystem::path& path) {
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}
inline void writeAll(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace ledgerly::testing

Q_DECLARE_METATYPE(ledgerly::testing::Prices)
Q_DECLARE_METATYPE(ledgerly::testing::Stamps)

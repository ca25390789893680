// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Hands what a socket holds to a handler, one read at a time. A socket does not announce data
// that came in while its own handler let pending events run, so only a loop like this one is
// sure to see it; and a call made while the loop runs returns at once, so arrival handlers never
// nest inside each other. A server that never stops talking must not keep the user waiting, so
// one drain takes at most a budget of bytes and says when more is waiting.
#pragma once

#include <cstdint>

namespace ledgerly {

class ArrivalPump {
public:
    enum class Drained {
        Empty,        // everything that had come is handled (or a drain is already running)
        MoreWaiting,  // the budget is spent; drain again once other events have had their turn
        OwnerGone,    // `handle` returned false: its owner went away, the pump must not be used
    };

    template <typename Source, typename Handle>
    Drained drain(Source& source, Handle&& handle, std::int64_t budget) {
        if (draining_)
            return Drained::Empty;
        draining_ = true;
        for (std::int64_t left = budget; source.bytesAvailable() > 0;) {
            if (left <= 0) {
                draining_ = false;
                return Drained::MoreWaiting;
            }
            const auto bytes = source.read(left);
            left -= bytes.size();
            if (!handle(bytes))
                return Drained::OwnerGone;
        }
        draining_ = false;
        return Drained::Empty;
    }
    // True while a drain runs, also for a call made from inside it.
    bool draining() const { return draining_; }

private:
    bool draining_ = false;
};

}  // namespace ledgerly

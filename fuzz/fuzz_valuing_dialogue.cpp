// Plays arbitrary server text, cut into arbitrary arrivals, against the valuing dialogue, with the
// player pressing Connect and Value at arbitrary moments. Besides crashes and sanitizer reports it
// stops when the dialogue breaks one of its promises:
// - the valuing counter stays within 0..88 and a completed run stamps a trading post;
// - every trade value it stores is a finite number, and nothing outside the run's post changes;
// - the log never grows by more than the text that arrived, plus a line of remarks.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/trade_data.h"
#include "rules/capture/valuing_dialogue.h"

namespace {

using namespace ledgerly;

void require(bool kept, const char* promise) {
    if (!kept) {
        std::fprintf(stderr, "valuing dialogue broke its promise: %s\n", promise);
        std::abort();
    }
}

void checkTable(const TradeData& data) {
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        for (int c = 0; c <= kCommodityCount; ++c) {
            require(std::isfinite(data.value(tp, c)), "stored values are finite");
        }
        require(std::isfinite(data.stamp(tp)), "stamps are finite");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    TradeData data;
    data.setDefaults();
    data.raiseLowValues();
    ValuingSession session;
    ValuingDialogue dialogue(data, session);
    dialogue.connectPressed("player", "secret");

    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange<int>(0, 7)) {
            case 0:
                dialogue.connectPressed(input.ConsumeRandomLengthString(32), "pw");
                break;
            case 1:
                dialogue.connected();
                break;
            case 2:
                dialogue.pauseOver();
                break;
            case 3:
                dialogue.valuePressed(input.ConsumeBool());
                break;
            default: {
                const std::string arrival = input.ConsumeRandomLengthString(1 << 16);
                const ArrivalOutcome outcome = dialogue.arrive(arrival);
                // LF -> CR LF can at most double the text, plus the few bytes of a telnet command
                // held back from the arrival before; remarks stay short.
                require(outcome.shown.size() <= 2 * arrival.size() + 3, "log grows by the arrival");
                for (const std::string& note : outcome.notes) {
                    require(note.size() < 512, "remarks are one short line");
                }
                if (outcome.complete) {
                    const int stamped = dialogue.finishRun(209653.75F);
                    require(stamped >= 1 && stamped <= kTradingPostCount, "a run stamps a post");
                }
                break;
            }
        }
        require(dialogue.counter() >= 0 && dialogue.counter() <= kCommodityCount,
                "counter stays within 0..88");
    }
    checkTable(data);
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Plays a simulated game against the valuing dialogue and checks, after every event, the one
// promise a player relies on: no price is stored under a commodity or trading post it does not
// answer, a post's prices change only as a whole completed run, and no other post changes.
//
// The game: the character stands at post `at`, where the shopkeeper answers each value command
// in turn, in a way of speaking of its own, with 1000 x post + commodity (or, for one commodity,
// with something that is not a number). The input decides everything else, one event per byte:
// how the server's text is cut into arrivals, other players' chatter (answer-shaped quotes and
// shop names included), floods of text without line breaks, lines lost and reconnects after
// which the character may stand elsewhere and the shop may be named only on "look", windows
// closed in the middle of a run, and the player's presses in any order.
//
// Two things the dialogue cannot tell, and that the game therefore never does: another player
// quoting an answer before the shopkeeper has answered once on this connection (the run learns
// the shopkeeper's way of speaking from its first answer), and another player naming a shop
// before the run has its post (the post is whatever shop this connection names).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>

#include "core/catalogue.h"
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

class StoppedClock final : public Clock {
public:
    LocalDateTime now() const override { return {2026, 3, 6, 12, 30, 0}; }
};
constexpr float kReading = 203052.5F;

// The bytes of the input, one at a time; zeros once they run out.
class Input {
public:
    Input(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    bool empty() const { return size_ == 0; }
    std::uint8_t next() {
        if (size_ == 0)
            return 0;
        --size_;
        return *bytes_++;
    }

private:
    const std::uint8_t* bytes_;
    std::size_t size_;
};

std::string voiceOf(int tp) {
    return "Keeper " + std::to_string(tp) + " says, '";
}
std::string answerLine(const std::string& voice, const std::string& value) {
    return voice + "We'll pay you covered: " + value + " coins of gold for that.'\r\n";
}
std::string place(int tp) {
    return "\r\n" + std::string(tradingPost(tp).shopName) + "\r\nA shop full of goods.\r\n";
}

class Simulation {
public:
    explicit Simulation(int refusedCommodity) : refused_(refusedCommodity) {
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            for (int c = 1; c <= kCommodityCount; ++c)
                data_.setValue(tp, c, -static_cast<float>(tp * 100 + c));  // never an answer
            data_.setStamp(tp, 10.0F + static_cast<float>(tp));
        }
        committed_ = data_;
    }

    void play(Input& input) {
        static const char kEvents[] = "COPVDDAABFHWM";
        for (int events = 0; !input.empty() && events < 4000; ++events) {
            const std::uint8_t code = input.next();
            const char* known = code != 0 ? std::strchr(kEvents, code) : nullptr;
            const char event = known ? *known : kEvents[code % (sizeof kEvents - 1)];
            step(event, input);
            if (std::strchr("VDHW", event))  // the events that reach the dialogue's table
                checkTable();
        }
        dialogue_.reset();  // the window closes: an unfinished run is put back
        require(sameTable(), "a closed window puts an unfinished run back");
    }

private:
    enum class Link { Down, Dialling, Up };

    void step(char event, Input& input) {
        switch (event) {
            case 'C': {  // Connect; the window drops the old line first
                const std::uint8_t how = input.next();
                const bool badName = how & 1;
                const std::string problem =
                    dialogue_->connectPressed(badName ? "Ara\nmir" : "Aramir", "se cret");
                require(problem.empty() != badName, "a name with a line break is refused");
                if (badName)
                    return;
                if (link_ == Link::Up)
                    dialogue_->lineClosed();  // the old line is dropped
                dropLine();
                namedOnLook_ = how & 2;
                link_ = Link::Dialling;
                loginPending_ = false;
                return;
            }
            case 'O':  // the connection opens
                if (link_ != Link::Dialling)
                    return;
                link_ = Link::Up;
                outbox_ += "\r\nWelcome to Caldmoor\xFF!\nName: \xFF\xF9";
                hear(dialogue_->connected());
                loginPending_ = true;
                return;
            case 'P':  // the login pause is over
                if (!loginPending_)
                    return;
                loginPending_ = false;
                hear(dialogue_->pauseOver());
                return;
            case 'V': {
                const ValuePress press = dialogue_->valuePressed();
                react(press);
                return;
            }
            case 'D': {  // the program reads what has come
                const std::size_t most = input.next();
                const std::size_t left = outbox_.size() - read_;
                const std::size_t size = most == 0 ? left : std::min(most, left);
                if (size == 0)
                    return;
                const std::string arrival = outbox_.substr(read_, size);
                read_ += size;
                if (read_ == outbox_.size())
                    dropRead();
                arrive(arrival);
                return;
            }
            case 'A':  // the shopkeeper answers the oldest command
                answer(input.next() & 1);
                return;
            case 'B':
                chatter(input);
                return;
            case 'F':
                if (link_ == Link::Up && flooded_ < (4 << 20)) {
                    const std::size_t size = 1000 + 600 * std::size_t{input.next()};
                    outbox_ += std::string(size, 'x') + "\r\n";
                    flooded_ += size;
                }
                return;
            case 'H':  // the server hangs up; what it sent first is still read
                if (link_ != Link::Up)
                    return;
                link_ = Link::Down;
                arrive(outbox_.substr(read_));
                dropLine();
                dialogue_->lineClosed();
                return;
            case 'W':  // the window is closed and opened again
                dialogue_.reset();
                checkTable();
                require(sameTable(), "a closed window puts an unfinished run back");
                dialogue_ = std::make_unique<ValuingDialogue>(data_, clock_);
                dropLine();
                link_ = Link::Down;
                return;
            case 'M':  // while no line is open, the character may walk to another post
                if (link_ == Link::Down)
                    at_ = 1 + input.next() % kTradingPostCount;
                return;
            default:
                return;
        }
    }

    void dropRead() {
        outbox_.clear();
        read_ = 0;
    }
    void dropLine() {
        dropRead();
        pending_.clear();
        answeredHere_ = false;
    }

    void arrive(const std::string& arrival) {
        const ArrivalOutcome out = dialogue_->arrive(arrival);
        // LF -> CR LF can at most double the text, plus the few bytes of a telnet command held
        // back from the arrival before.
        require(out.shown.size() <= 2 * arrival.size() + 3, "the log grows by the arrival");
        require(!out.shopName || *out.shopName == tradingPost(at_).shopName,
                "\"You are at:\" names the shop where the character stands");
        react(out);
    }

    void react(const Reaction& reaction) {
        for (const std::string& note : reaction.notes)
            require(note.size() < 600, "remarks are one short line");
        if (reaction.completed) {
            completed(*reaction.completed);
            return;
        }
        if (link_ == Link::Up)
            hear(reaction.lines);
    }

    void hear(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            if (line == "look" || (line.empty() && !namedOnLook_))
                outbox_ += place(at_);
            for (int c = 1; c <= kCommodityCount; ++c) {
                if (line == valueCommand(c))
                    pending_.push_back(c);
            }
        }
    }

    void answer(bool grouped) {
        if (link_ != Link::Up || pending_.empty())
            return;
        const int c = pending_.front();
        pending_.pop_front();
        std::string value = std::to_string(1000 * at_ + c);
        if (grouped && value.size() > 3)
            value.insert(value.size() - 3, ",");
        outbox_ += answerLine(voiceOf(at_), c == refused_ ? "nothing" : value);
        answeredHere_ = true;
    }

    void chatter(Input& input) {
        if (link_ != Link::Up)
            return;
        const std::uint8_t kind = input.next();
        const std::string speaker = "Player" + std::to_string(kind % 7) + " says, '";
        const std::string number = std::to_string(1000 * (1 + input.next() % 19) + input.next());
        switch (kind % 6) {
            case 0:  // an answer-shaped quote
                if (answeredHere_)
                    outbox_ += answerLine(speaker, kind & 8 ? "lots" : number);
                return;
            case 1:  // a quote of the shopkeeper's whole line
                if (answeredHere_)
                    outbox_ += speaker + answerLine(voiceOf(at_), number);
                return;
            case 2: {  // a shop named in passing: any once the run has its post, else this one
                const int tp = answeredHere_ ? 1 + input.next() % kTradingPostCount : at_;
                outbox_ +=
                    speaker + "See you at " + std::string(tradingPost(tp).shopName) + ".'\r\n";
                return;
            }
            case 3:
                outbox_ += "Bob: We'll pay you back!\r\n";
                return;
            default: {  // anything else, without capitals, so neither an answer nor a shop
                std::string noise;
                for (std::size_t n = input.next(); n > 0; --n) {
                    const char ch = static_cast<char>(input.next());
                    noise += (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
                }
                outbox_ += noise + "\r\n";
                return;
            }
        }
    }

    void completed(const RunCompletion& run) {
        const int tp = run.tradingPost;
        require(isTradingPost(tp), "a completed run names its post");
        for (int c = 1; c <= kCommodityCount; ++c) {
            const bool kept = std::find(run.keptEarlier.begin(), run.keptEarlier.end(), c) !=
                              run.keptEarlier.end();
            require(!kept || c == refused_, "only a refused commodity keeps its earlier price");
            require(data_.value(tp, c) ==
                        (kept ? committed_.value(tp, c) : 1000.0F * static_cast<float>(tp) + c),
                    "a completed run holds its post's answers");
        }
        require(data_.stamp(tp) == kReading, "a completed run stamps its post");
        for (int other = 1; other <= kTradingPostCount; ++other) {
            for (int c = 1; c <= kCommodityCount; ++c)
                require(other == tp || data_.value(other, c) == committed_.value(other, c),
                        "a completed run leaves every other post as it was");
        }
        committed_ = data_;
        // The window says "quit" and closes the line.
        link_ = Link::Down;
        dropLine();
        dialogue_->lineClosed();
    }

    // Every post is as saved, except that one post may hold some of its own answers. Left out of
    // the coverage that guides the fuzzer: it is the same loop every time, and the most costly.
    __attribute__((no_sanitize("coverage"))) void checkTable() const {
        int changedPosts = 0;
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            bool changed = false;
            for (int c = 1; c <= kCommodityCount; ++c) {
                const float price = data_.value(tp, c);
                if (price == committed_.value(tp, c))
                    continue;
                require(price == 1000.0F * static_cast<float>(tp) + c,
                        "a price is stored only under the commodity and post it answers");
                changed = true;
            }
            require(data_.stamp(tp) == committed_.stamp(tp), "stamps change only on completion");
            changedPosts += changed;
        }
        require(changedPosts <= 1, "only the run's post changes");
    }

    bool sameTable() const {
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            for (int c = 1; c <= kCommodityCount; ++c) {
                if (data_.value(tp, c) != committed_.value(tp, c))
                    return false;
            }
        }
        return true;
    }

    TradeData data_;
    TradeData committed_;  // as the last completed run left it
    StoppedClock clock_;
    std::unique_ptr<ValuingDialogue> dialogue_ = std::make_unique<ValuingDialogue>(data_, clock_);
    int refused_;
    int at_ = 16;
    bool namedOnLook_ = false;
    Link link_ = Link::Down;
    bool loginPending_ = false;
    std::string outbox_;  // sent by the server; read up to `read_`
    std::size_t read_ = 0;
    std::deque<int> pending_;  // value commands heard and not answered yet
    bool answeredHere_ = false;
    std::size_t flooded_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    Input input(bytes, size);
    Simulation simulation(input.next() % (kCommodityCount + 1));
    simulation.play(input);
    return 0;
}

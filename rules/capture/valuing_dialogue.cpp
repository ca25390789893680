#include "rules/capture/valuing_dialogue.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/catalogue.h"
#include "core/number_scan.h"

namespace ledgerly {
namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(from, pos)) != std::string::npos;
         pos = hit + from.size()) {
        out.append(text, pos, hit - pos);
        out.append(to);
    }
    out.append(text, pos, std::string::npos);
    text = std::move(out);
}

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

// A value text as a note can quote it: short and printable.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 24;
    std::string out = "\"";
    for (char ch : text.substr(0, kShown)) {
        const auto byte = static_cast<unsigned char>(ch);
        out += (byte >= 0x20 && byte < 0x7F) ? ch : '?';
    }
    if (text.size() > kShown)
        out += "...";
    return out + "\"";
}

// The end of `text` that could be the beginning of an answer's opening, so that an opening
// split between two arrivals is still found.
std::string unfinishedOpening(std::string_view text) {
    const std::size_t longest = std::min(text.size(), kAnswerOpening.size() - 1);
    for (std::size_t n = longest; n > 0; --n) {
        if (kAnswerOpening.starts_with(text.substr(text.size() - n)))
            return std::string(text.substr(text.size() - n));
    }
    return {};
}

std::size_t longestShopName() {
    std::size_t longest = 0;
    for (int tp = 1; tp <= kTradingPostCount; ++tp)
        longest = std::max(longest, tradingPost(tp).shopName.size());
    return longest;
}

std::string noteAbout(int commodity, std::string_view what) {
    return "The answer about " + std::string(commodityName(commodity)) + " " + std::string(what);
}

}  // namespace

std::string withCrLf(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (char ch : bytes) {
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
}

std::string cleanedForDisplay(std::string_view text) {
    std::string out(text);
    replaceAll(out, "\xFF\xF9", "\r\n");      // Go Ahead
    replaceAll(out, "\xFF\xFB\x01", "\r\n");  // WILL ECHO
    replaceAll(out, "\xFF\xFC\x01", "\r\n");  // WON'T ECHO
    replaceAll(out, " \xFF", "");
    return out;
}

std::size_t unfinishedTelnetTail(std::string_view text) {
    std::size_t held = 0;
    if (text.ends_with("\xFF\xFB") || text.ends_with("\xFF\xFC"))
        held = 2;
    else if (text.ends_with('\xFF'))
        held = 1;
    // The blank before an FF decides how that FF is shown, so it waits with it.
    if (text.size() > held && text[text.size() - held - 1] == ' ')
        ++held;
    return held;
}

std::string progressText(int counter, std::string_view decimalSeparator) {
    double progress = counter * 1.14;
    progress = std::floor(progress * 10) * 0.1;
    if (progress > 100)
        progress = 100;
    char digits[40];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), progress,
                                      std::chars_format::general, 15);
    std::string number(digits, result.ptr);
    if (const auto point = number.find('.'); point != std::string::npos)
        number.replace(point, 1, decimalSeparator);
    return "Getting Values   " + number + "%";
}

std::optional<float> valueFromText(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    const ScannedNumber number = scanNumber(text, {.thousandsGroups = true});
    if (number.result != ScannedNumber::Result::Number)
        return std::nullopt;
    return number.value;
}

std::string valueCommand(int commodity) {
    return "value " + std::string(commodityName(commodity)) + " covered";
}

ValuingDialogue::ValuingDialogue(TradeData& data, ValuingSession& session,
                                 std::string decimalSeparator)
    : data_(data), session_(session), decimalSeparator_(std::move(decimalSeparator)) {}

void ValuingDialogue::connectPressed(std::string playerName, std::string password) {
    session_.playerName = std::move(playerName);
    session_.password = std::move(password);
    // Whatever was asked on the old connection will never be answered on the new one, and the
    // character may be standing somewhere else now.
    phase_ = Phase::NotConnected;
    answerCarry_.clear();
    shopCarry_.clear();
    displayCarry_.clear();
}

std::vector<std::string> ValuingDialogue::connected() {
    phase_ = Phase::LoggingIn;
    return {session_.playerName, session_.password, ""};
}

std::vector<std::string> ValuingDialogue::pauseOver() {
    if (phase_ != Phase::LoggingIn)
        return {};
    phase_ = Phase::Connected;
    return {" ", " ", " "};
}

ValuePress ValuingDialogue::valuePressed(bool connected) {
    ValuePress press;
    if (!connected) {
        press.notConnected = true;
        return press;
    }
    switch (phase_) {
        case Phase::NotConnected:
        case Phase::LoggingIn:
            // The game is still taking the login; Value's lines would answer its questions.
            press.note = "Still logging in; press Value again in a moment.";
            return press;
        case Phase::Valuing:
            // A second command for the same commodity would make every later answer land one
            // commodity too far.
            press.note = "Still waiting for the answer about " +
                         std::string(commodityName(counter_ + 1)) +
                         "; if it does not come, press Connect, then Value to ask again.";
            return press;
        case Phase::Done:
            return press;
        case Phase::Connected:
            break;
    }
    if (!isTradingPost(shownTp_)) {
        press.note =
            "The trading post is not known yet; press Value when \"You are at:\" names "
            "the shop.";
        return press;
    }
    if (counter_ > 0 && shownTp_ != runTp_) {
        // The character stands somewhere else now: the answers so far belong to the old post
        // and stay in memory only, and this post is valued from its first commodity.
        counter_ = 0;
        press.note = "Now at " + std::string(tradingPost(shownTp_).shopName) +
                     ": valuing starts again from the first commodity.";
        press.progress = std::string();
    }
    runTp_ = shownTp_;
    phase_ = Phase::Valuing;
    press.lines = {"y", "newbie", "look", "emote is autovalueing.", valueCommand(counter_ + 1)};
    return press;
}

ArrivalOutcome ValuingDialogue::arrive(std::string_view bytes) {
    ArrivalOutcome out;
    const std::string text = withCrLf(bytes);
    // The answer comes first: a shop name in the same arrival only counts from the next one.
    examineAnswers(text, out);
    recogniseShop(text, out);
    // A telnet command (or the blank before an FF) cut off at the end of an arrival waits for
    // the rest, so the log shows the same whether or not the server's text was split there.
    std::string shown = std::move(displayCarry_) + text;
    const std::size_t held = unfinishedTelnetTail(shown);
    displayCarry_ = shown.substr(shown.size() - held);
    shown.resize(shown.size() - held);
    out.shown = cleanedForDisplay(shown);
    return out;
}

void ValuingDialogue::examineAnswers(const std::string& text, ArrivalOutcome& out) {
    const std::string scan = std::move(answerCarry_) + text;
    answerCarry_.clear();
    std::size_t from = 0;
    for (;;) {
        const std::size_t opening = scan.find(kAnswerOpening, from);
        if (opening == std::string::npos) {
            answerCarry_ = unfinishedOpening(std::string_view(scan).substr(from));
            return;
        }
        const std::size_t closing = scan.find(kAnswerClosing, opening + kAnswerOpening.size());
        if (closing == std::string::npos) {
            const std::size_t last = scan.rfind(kAnswerOpening);
            answerCarry_ = scan.size() - last <= kAnswerCarryLimit
                               ? scan.substr(last)
                               : unfinishedOpening(std::string_view(scan).substr(last + 1));
            return;
        }
        // The opening nearest the closing belongs to it; an earlier one was chat.
        const std::size_t start = scan.rfind(kAnswerOpening, closing - kAnswerOpening.size());
        const std::size_t valueStart = start + kValueTextOffset;
        const bool cutShort = closing < valueStart + kValueTextTail;
        const std::string_view valueText =
            cutShort
                ? std::string_view()
                : std::string_view(scan).substr(valueStart, closing - kValueTextTail - valueStart);
        // Once an answer is taken, the rest of the arrival was sent before the next command
        // went out, so a second answer in it cannot be the next commodity's.
        if (takeAnswer(valueText, cutShort, out))
            return;
        from = closing + kAnswerClosing.size();
    }
}

bool ValuingDialogue::takeAnswer(std::string_view valueText, bool cutShort, ArrivalOutcome& out) {
    if (phase_ != Phase::Valuing) {
        out.notes.push_back("An answer came that was not asked for; it is not stored.");
        return false;
    }
    // A refused text may be someone's chat in the shopkeeper's words, so the real answer may
    // still be on its way: the run keeps waiting for it rather than ask a second time.
    const int commodity = counter_ + 1;
    constexpr std::string_view kStillWaiting =
        " Still waiting for the answer; if it does not come, press Connect, then Value.";
    if (cutShort) {
        out.notes.push_back(noteAbout(commodity, "is too short to hold a value; not stored.") +
                            std::string(kStillWaiting));
        return false;
    }
    const std::optional<float> value = valueFromText(valueText);
    if (!value) {
        out.notes.push_back(
            noteAbout(commodity, "is not stored: " + quoted(valueText) + " is not a number.") +
            std::string(kStillWaiting));
        return false;
    }
    data_.setValue(runTp_, commodity, *value);
    counter_ = commodity;
    out.progress = progressText(counter_, decimalSeparator_);
    if (counter_ < kCommodityCount) {
        out.ask = valueCommand(counter_ + 1);
    } else {
        phase_ = Phase::Done;
        out.complete = true;
    }
    return true;
}

void ValuingDialogue::recogniseShop(const std::string& text, ArrivalOutcome& out) {
    static const std::size_t longest = longestShopName();
    const std::string scan = std::move(shopCarry_) + text;
    const std::size_t carried = scan.size() - text.size();
    int found = 0;
    for (int tp = 1; tp <= kTradingPostCount; ++tp) {
        const std::string_view name = tradingPost(tp).shopName;
        // Only names that end in the new text: one wholly inside the carried tail was seen
        // with the arrival before.
        const std::size_t first = carried >= name.size() ? carried - name.size() + 1 : 0;
        if (scan.find(name, first) != std::string::npos)
            found = tp;
    }
    shopCarry_ = scan.substr(scan.size() - std::min(scan.size(), longest - 1));
    // The run's post was fixed when Value was pressed: a shop name in someone's chat is only
    // shown in the log, and must not send the rest of the answers into another post's column.
    if (found == 0 || phase_ == Phase::Valuing || phase_ == Phase::Done)
        return;
    shownTp_ = found;
    out.shopName = std::string(tradingPost(found).shopName);
}

int ValuingDialogue::finishRun(float hourClockReading) {
    const int tp = runTp_;
    data_.setStamp(tp, hourClockReading);
    data_.buffers.hourClockScratch = hourClockReading;
    phase_ = Phase::NotConnected;
    counter_ = 0;
    shownTp_ = 0;
    runTp_ = 0;
    answerCarry_.clear();
    shopCarry_.clear();
    displayCarry_.clear();
    return tp;
}

}  // namespace ledgerly

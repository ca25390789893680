#include "valuing_dialogue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/catalogue.h"

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

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
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

    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    // Whole part, with or without thousands groups ("12,345"); a comma anywhere else is not
    // part of a number, since it might be a decimal comma and be read a thousand times too big.
    std::size_t group = 0;
    bool grouped = false;
    bool digits = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            plain += text[i];
            ++group;
            digits = true;
        } else if (text[i] == ',') {
            if (group == 0 || (grouped && group != 3) || (!grouped && group > 3))
                return std::nullopt;
            grouped = true;
            group = 0;
        } else {
            break;
        }
    }
    if (grouped && group != 3)
        return std::nullopt;
    if (i < text.size() && text[i] == '.') {
        plain += text[i++];
        for (; i < text.size() && isDigit(text[i]); ++i) {
            plain += text[i];
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += text[i++];
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        const std::size_t exponentStart = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            plain += text[i];
        if (i == exponentStart)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    float value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
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
    awaiting_ = false;
    starting_ = false;
    postFixed_ = false;
    answerCarry_.clear();
    shopCarry_.clear();
    displayCarry_.clear();
}

LoginLines ValuingDialogue::loginLines() const {
    return {{session_.playerName, session_.password, ""}, {" ", " ", " "}};
}

ValueStart ValuingDialogue::beginValue() {
    if (awaiting_) {
        return {{},
                "Still waiting for the answer about " + std::string(commodityName(counter_ + 1)) +
                    "; press Connect to start again if it does not come."};
    }
    if (starting_)
        return {{}, "Valuing is already starting."};
    starting_ = true;
    return {{"y", "newbie", "look", "emote is autovalueing."}, {}};
}

AskNext ValuingDialogue::askNext(bool connected) {
    if (awaiting_)
        return {AskNext::Kind::AlreadyAsked, {}};
    starting_ = false;
    if (!connected || counter_ >= kCommodityCount)
        return {AskNext::Kind::NotConnected, {}};
    awaiting_ = true;
    return {AskNext::Kind::Send, valueCommand(counter_ + 1)};
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
        // Once an answer is dealt with, the rest of the arrival was sent before the next
        // command went out, so a second answer in it cannot be the next commodity's.
        if (takeAnswer(valueText, cutShort, out))
            return;
        from = closing + kAnswerClosing.size();
    }
}

bool ValuingDialogue::takeAnswer(std::string_view valueText, bool cutShort, ArrivalOutcome& out) {
    if (!awaiting_) {
        out.notes.push_back("An answer came that was not asked for; it is not stored.");
        return false;
    }
    awaiting_ = false;
    const int commodity = counter_ + 1;
    constexpr std::string_view kAgain = " Press Value to ask again.";
    if (cutShort) {
        out.notes.push_back(
            noteAbout(commodity, "is too short to hold a value; it is not stored.") +
            std::string(kAgain));
        return true;
    }
    const std::optional<float> value = valueFromText(valueText);
    if (!value) {
        out.notes.push_back(
            noteAbout(commodity, "is not stored: " + quoted(valueText) + " is not a number.") +
            std::string(kAgain));
        return true;
    }
    const int tp = session_.currentTp;
    if (!isTradingPost(tp)) {
        out.notes.push_back(
            noteAbout(commodity, "is not stored: the trading post is not known yet.") +
            std::string(kAgain));
        return true;
    }
    if (counter_ > 0 && tp != runTp_) {
        // A new connection found the character at another post: the answers so far belong to
        // the old one, so this post is valued from its first commodity.
        counter_ = 0;
        out.notes.push_back("Now at " + std::string(tradingPost(tp).shopName) +
                            ": valuing starts again from the first commodity.");
        out.progress = std::string();
        out.askNext = true;
        return true;
    }
    data_.setValue(tp, commodity, *value);
    counter_ = commodity;
    runTp_ = tp;
    postFixed_ = true;
    out.progress = progressText(counter_, decimalSeparator_);
    if (counter_ < kCommodityCount)
        out.askNext = true;
    else
        out.complete = true;
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
    // Once answers are going into a post's column, a shop name in someone's chat must not
    // send the rest of them into another's.
    if (found == 0 || postFixed_)
        return;
    session_.currentTp = found;
    out.shopName = std::string(tradingPost(found).shopName);
}

int ValuingDialogue::finishRun(float hourClockReading) {
    const int tp = runTp_;
    data_.setStamp(tp, hourClockReading);
    data_.buffers.hourClockScratch = hourClockReading;
    session_.currentTp = 0;
    counter_ = 0;
    runTp_ = 0;
    postFixed_ = false;
    awaiting_ = false;
    starting_ = false;
    answerCarry_.clear();
    shopCarry_.clear();
    displayCarry_.clear();
    return tp;
}

}  // namespace ledgerly

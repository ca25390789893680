// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

// Server text as a note can quote it: short and printable.
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

// A line ends at CR, at LF, and at telnet's Go Ahead (FF F9), which ends a prompt.
bool endsLine(std::string_view text, std::size_t i) {
    return text[i] == '\n' || text[i] == '\r' ||
           (text[i] == '\xF9' && i > 0 && text[i - 1] == '\xFF');
}

// Where the line that runs up to `end` begins; nothing when it is longer than any answer or
// began before `text` without `text` starting a line.
std::optional<std::size_t> lineStart(std::string_view text, std::size_t end, bool textStartsLine) {
    const std::size_t lowest = end > kAnswerLineLimit ? end - kAnswerLineLimit : 0;
    for (std::size_t i = end; i > lowest; --i) {
        if (endsLine(text, i - 1))
            return i;
    }
    if (lowest == 0 && textStartsLine)
        return 0;
    return std::nullopt;
}

// `text` as the log shows it, with a line break wherever a line would pass kShownLineLimit.
// `column` is the length of the line the text continues, and is left at that of its last line.
std::string withLongLinesBroken(std::string_view text, std::size_t& column) {
    std::string out;
    out.reserve(text.size() + text.size() / kShownLineLimit);
    for (char ch : text) {
        if (ch == '\n') {
            column = 0;
        } else if (ch != '\r' && ++column > kShownLineLimit) {  // a lone CR shows nothing
            out += "\r\n";
            column = 1;
        }
        out += ch;
    }
    return out;
}

std::size_t longestShopName() {
    std::size_t longest = 0;
    for (int tp = 1; tp <= kTradingPostCount; ++tp)
        longest = std::max(longest, tradingPost(tp).shopName.size());
    return longest;
}

std::string shopOf(int tp) {
    return std::string(tradingPost(tp).shopName);
}

std::string nameOf(int commodity) {
    return std::string(commodityName(commodity));
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
    return "value " + nameOf(commodity) + " covered";
}

LoginField loginField(std::string_view utf8, std::string_view what) {
    // Copied with its line end, a name would go out as the name and an empty line, and the
    // password would land on the wrong prompt.
    while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r'))
        utf8.remove_suffix(1);
    const std::string please = " Please type it again; nothing was sent.";
    LoginField field;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned code = static_cast<unsigned char>(utf8[i]);
        // Latin-1 is U+0000..U+00FF: one byte in UTF-8, or C2/C3 and one more.
        if ((code == 0xC2 || code == 0xC3) && i + 1 < utf8.size() &&
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            code = ((code & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        } else if (code >= 0x80) {
            return {{},
                    "The " + std::string(what) +
                        " holds a character the game cannot receive; it takes Western European "
                        "letters only." +
                        please};
        }
        if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            return {{},
                    "The " + std::string(what) +
                        " holds a line break or another control character, which the game "
                        "would not take as part of it." +
                        please};
        }
        field.bytes += static_cast<char>(code);
    }
    return field;
}

std::string completionText(const RunCompletion& run) {
    std::string text = "Valuing successfully completed!";
    for (std::size_t i = 0; i < run.keptEarlier.size(); ++i) {
        text += i == 0 ? "\n\nNo number came for these, so they kept their earlier price: " : ", ";
        text += nameOf(run.keptEarlier[i]);
    }
    return text;
}

ValuingDialogue::ValuingDialogue(TradeData& data, const Clock& clock, std::string decimalSeparator)
    : data_(data), clock_(clock), decimalSeparator_(std::move(decimalSeparator)) {}

ValuingDialogue::~ValuingDialogue() {
    abandonRun();
}

std::string ValuingDialogue::connectPressed(std::string_view playerName,
                                            std::string_view password) {
    LoginField name = loginField(playerName, "name");
    if (!name.problem.empty())
        return name.problem;
    LoginField secret = loginField(password, "password");
    if (!secret.problem.empty())
        return secret.problem;
    playerName_ = std::move(name.bytes);
    password_ = std::move(secret.bytes);
    // Whatever was asked on the old connection will never be answered on the new one, and the
    // character may be standing somewhere else now.
    phase_ = Phase::NotConnected;
    shownTp_ = 0;
    lineCarry_.clear();
    lineCarryExamined_ = 0;
    lineCarryStartsLine_ = true;
    shopCarry_.clear();
    displayCarry_.clear();
    shownColumn_ = 0;
    return {};
}

std::vector<std::string> ValuingDialogue::connected() {
    phase_ = Phase::LoggingIn;
    return {playerName_, password_, ""};
}

std::vector<std::string> ValuingDialogue::pauseOver() {
    if (phase_ != Phase::LoggingIn)
        return {};
    phase_ = Phase::Connected;
    return {" ", " ", " "};
}

void ValuingDialogue::lineClosed() {
    phase_ = Phase::NotConnected;
}

ValuePress ValuingDialogue::valuePressed() {
    ValuePress press;
    switch (phase_) {
        case Phase::NotConnected:
            press.notConnected = true;
            return press;
        case Phase::LoggingIn:
            // The game is still taking the login; Value's lines would answer its questions.
            press.notes.push_back("Still logging in; press Value again in a moment.");
            return press;
        case Phase::Valuing:
            // A second command for the same commodity would make every later answer land one
            // commodity too far.
            press.notes.push_back("Still waiting for the answer about " + nameOf(counter_ + 1) +
                                  "; if it does not come, press Connect, then Value to ask again.");
            return press;
        case Phase::Refused: {
            // The shopkeeper has answered, so no answer to it can still be on its way.
            const int commodity = ++counter_;
            keptEarlier_.push_back(commodity);
            press.progress = progressText(counter_, decimalSeparator_);
            press.notes.push_back("Going on without " + nameOf(commodity) +
                                  "; it keeps its earlier price.");
            if (counter_ == kCommodityCount) {
                press.completed = completeRun();
                return press;
            }
            phase_ = Phase::Valuing;
            press.lines = {valueCommand(counter_ + 1)};
            return press;
        }
        case Phase::Connected:
        case Phase::AwaitingShop:
            break;
    }
    press.lines = {"y", "newbie", "look", "emote is autovalueing."};
    if (!isTradingPost(shownTp_)) {
        // "look" makes the game describe the place, which names the shop.
        phase_ = Phase::AwaitingShop;
        press.notes.push_back(
            "Waiting for the server to name the shop; the questions start when it does.");
        return press;
    }
    press.lines.push_back(askAtShownPost(press.notes, press.progress));
    return press;
}

std::string ValuingDialogue::askAtShownPost(std::vector<std::string>& notes,
                                            std::optional<std::string>& progress) {
    if (runTp_ != 0 && runTp_ != shownTp_) {
        // The character stands somewhere else now: the answers so far belong to the old post
        // and go, and this post is valued from its first commodity.
        notes.push_back(
            "Now at " + shopOf(shownTp_) +
            ": valuing starts again from the first commodity, and the prices taken at " +
            shopOf(runTp_) + " go back to what they were.");
        abandonRun();
        progress = std::string();
    }
    runTp_ = shownTp_;
    phase_ = Phase::Valuing;
    // What came before the command cannot answer it, even if the rest of its line comes after.
    lineCarryExamined_ = lineCarry_.size();
    return valueCommand(counter_ + 1);
}

void ValuingDialogue::abandonRun() {
    for (const auto& [commodity, price] : earlierPrices_)
        data_.setValue(runTp_, commodity, price);
    forgetRun();
}

RunCompletion ValuingDialogue::completeRun() {
    RunCompletion run{runTp_, std::move(keptEarlier_)};
    const float reading = readHourClock(clock_);
    data_.setStamp(runTp_, reading);
    data_.buffers.hourClockScratch = reading;
    forgetRun();
    // The window says "quit" and closes the line; the next run needs a new connection.
    phase_ = Phase::NotConnected;
    return run;
}

void ValuingDialogue::forgetRun() {
    runTp_ = 0;
    counter_ = 0;
    voice_.reset();
    keptEarlier_.clear();
    earlierPrices_.clear();
}

ArrivalOutcome ValuingDialogue::arrive(std::string_view bytes) {
    ArrivalOutcome out;
    const std::string text = withCrLf(bytes);
    // The answer comes first: a shop name in the same arrival only counts from the next one.
    examineAnswers(text, out);
    recogniseShop(text, out);
    if (counter_ == kCommodityCount)
        out.completed = completeRun();
    // A telnet command (or the blank before an FF) cut off at the end of an arrival waits for
    // the rest, so the log shows the same whether or not the server's text was split there.
    std::string shown = std::move(displayCarry_) + text;
    const std::size_t held = unfinishedTelnetTail(shown);
    displayCarry_ = shown.substr(shown.size() - held);
    shown.resize(shown.size() - held);
    out.shown = withLongLinesBroken(cleanedForDisplay(shown), shownColumn_);
    return out;
}

void ValuingDialogue::examineAnswers(const std::string& text, ArrivalOutcome& out) {
    const std::string scan = std::move(lineCarry_) + text;
    const bool startsLine = lineCarryStartsLine_;
    std::size_t openingFrom = lineCarryExamined_;
    for (std::size_t closing;
         (closing = scan.find(kAnswerClosing, openingFrom)) != std::string::npos;) {
        const std::optional<AnswerLine> line = answerLine(scan, closing, openingFrom, startsLine);
        openingFrom = closing + kAnswerClosing.size();
        if (line && takeAnswer(*line, out)) {
            // The rest of this arrival was sent before the next command went out, so nothing in
            // it can be the next commodity's answer.
            openingFrom = scan.size();
            break;
        }
    }
    // The unfinished last line waits for the arrival that completes it.
    const std::optional<std::size_t> last = lineStart(scan, scan.size(), startsLine);
    lineCarryStartsLine_ = last.has_value();
    const std::size_t from = last.value_or(scan.size());
    lineCarry_ = scan.substr(from);
    lineCarryExamined_ = std::max(openingFrom, from) - from;
}

std::optional<ValuingDialogue::AnswerLine> ValuingDialogue::answerLine(std::string_view scan,
                                                                       std::size_t closing,
                                                                       std::size_t openingFrom,
                                                                       bool scanStartsLine) {
    const std::optional<std::size_t> start =
        lineStart(scan, closing + kAnswerClosing.size(), scanStartsLine);
    if (!start)
        return std::nullopt;
    // The opening nearest the closing belongs to it; an earlier one on the line was chat.
    const std::size_t from = std::max(*start, openingFrom);
    const std::size_t opening = scan.substr(from, closing - from).rfind(kAnswerOpening);
    if (opening == std::string_view::npos)
        return std::nullopt;
    AnswerLine line;
    line.voice = scan.substr(*start, from + opening - *start);
    // An answer too short to leave room for a value has an empty one, which is not a number.
    const std::size_t valueStart = from + opening + kValueTextOffset;
    const std::ptrdiff_t valueLength = static_cast<std::ptrdiff_t>(closing) -
                                       static_cast<std::ptrdiff_t>(valueStart + kValueTextTail);
    line.valueText =
        scan.substr(valueStart, static_cast<std::size_t>(std::max<std::ptrdiff_t>(valueLength, 0)));
    return line;
}

bool ValuingDialogue::takeAnswer(const AnswerLine& line, ArrivalOutcome& out) {
    if (phase_ != Phase::Valuing) {
        out.notes.push_back("An answer came that was not asked for (" + quoted(line.valueText) +
                            "); it is not stored.");
        return false;
    }
    const int commodity = counter_ + 1;
    if (voice_ && line.voice != *voice_) {
        out.notes.push_back("A line in the shopkeeper's words that opens " + quoted(line.voice) +
                            ", not as the shopkeeper's answers do, is someone else's; still "
                            "waiting for the answer about " +
                            nameOf(commodity) + ".");
        return false;
    }
    voice_ = std::string(line.voice);
    const std::optional<float> value = valueFromText(line.valueText);
    if (!value) {
        phase_ = Phase::Refused;
        out.notes.push_back(
            "The shopkeeper's answer about " + nameOf(commodity) +
            " is not a number: " + quoted(line.valueText) +
            ". Press Value to go on without it (it keeps its earlier price), Connect and then "
            "Value to ask again, or close this window to abandon the run (this post's prices go "
            "back to what they were).");
        return true;
    }
    earlierPrices_.emplace_back(commodity, data_.value(runTp_, commodity));
    data_.setValue(runTp_, commodity, *value);
    counter_ = commodity;
    out.progress = progressText(counter_, decimalSeparator_);
    if (counter_ < kCommodityCount)
        out.lines = {valueCommand(counter_ + 1)};
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
    // While a run asks, its post stays fixed: a shop name in someone's chat is only shown in
    // the log, and must not send the rest of the answers into another post's column.
    if (found == 0 || phase_ == Phase::Valuing || phase_ == Phase::Refused)
        return;
    shownTp_ = found;
    out.shopName = shopOf(found);
    if (phase_ == Phase::AwaitingShop)
        out.lines = {askAtShownPost(out.notes, out.progress)};
}

}  // namespace ledgerly

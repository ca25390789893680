// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The conversation of a valuing run, without a socket: what to send after Connect and Value,
// and what each arrival of server text means (a shopkeeper's answer, the shop the character
// stands in). The Auto Valuer window does the sending, the showing, the saving and the message
// boxes; every rule of the conversation lives here so that it can be checked without a server.
//
// Server text is handled as bytes, one char per byte (Latin-1), exactly as it came off the
// socket; nothing here knows about Qt.
//
// What the dialogue trusts, since it cannot see who speaks:
// - the run's post is the shop this connection names, and stays fixed while the run asks;
// - the run's first answer is the shopkeeper's, and its line opens the way the shopkeeper
//   speaks ("The shopkeeper says, '"); a later answer whose line opens otherwise is someone
//   else quoting one, and is only logged;
// - an answer in the shopkeeper's way of speaking answers the command asked last.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/hour_clock.h"
#include "core/trade_data.h"

namespace ledgerly {

// The shopkeeper's answer reads "We'll pay you " + 9 characters + the value + 10 characters +
// "gold for that.", all on one line.
inline constexpr std::string_view kAnswerOpening = "We'll pay you ";
inline constexpr std::string_view kAnswerClosing = "gold for that.";
inline constexpr std::size_t kValueTextOffset = 23;  // from the start of the opening
inline constexpr std::size_t kValueTextTail = 10;    // characters between value and closing

// A line longer than this cannot hold an answer, and no more of it is kept while it waits for
// its end: a real answer is well under a hundred characters, a flood of text is not.
inline constexpr std::size_t kAnswerLineLimit = 1024;

// Every LF becomes CR LF (a CR LF therefore becomes CR CR LF), as the log and the answer
// positions count it.
std::string withCrLf(std::string_view bytes);

// The log's view of arrived text (already through withCrLf): telnet Go Ahead, WILL ECHO and
// WON'T ECHO become line breaks and a blank followed by FF disappears. Nothing is negotiated.
std::string cleanedForDisplay(std::string_view text);

// A line of server text longer than this is shown broken into lines of this length: the log lays
// out its last line again for every arrival, and one line without end would make that ever
// slower.
inline constexpr std::size_t kShownLineLimit = 1000;

// How many bytes at the end of `text` may be the start of a telnet command (or a blank before
// one) that the next arrival completes.
std::size_t unfinishedTelnetTail(std::string_view text);

// "Getting Values   " + percent + "%" after `counter` answers (1.14 % each, cut to tenths).
// The separator is UTF-8, so the result is too.
std::string progressText(int counter, std::string_view decimalSeparator = ".");

// The number in a value text: blanks around it are ignored, thousands may be grouped with
// commas. Nothing for text that is not a number or does not fit a finite float.
std::optional<float> valueFromText(std::string_view text);

// "value Adamantite covered" for commodity 1, and so on.
std::string valueCommand(int commodity);

// A name or password typed (or pasted) by the user, as the game receives it: one line of
// Latin-1 bytes. A line end pasted after it is dropped; anything else that cannot go out as
// it stands is refused, with the reason for the user.
struct LoginField {
    std::string bytes;
    std::string problem;  // empty when `bytes` can be sent
};
LoginField loginField(std::string_view utf8, std::string_view what);

// A run whose 88 commodities have all been asked: its post is stamped; the window saves.
struct RunCompletion {
    int tradingPost = 0;
    std::vector<int> keptEarlier;  // commodities the shopkeeper gave no number for
};

// "Valuing successfully completed!", and which commodities kept their earlier price.
std::string completionText(const RunCompletion& run);

// What the window does after an event: tells the user, then sends.
struct Reaction {
    std::vector<std::string> notes;          // one-line remarks for the log
    std::optional<std::string> progress;     // new progress text
    std::optional<RunCompletion> completed;  // the run is done; save it and end the line
    std::vector<std::string> lines;          // to send, then let pending events run
};

struct ValuePress : Reaction {
    bool notConnected = false;  // tell the user "You're not connected to anything" instead
};

struct ArrivalOutcome : Reaction {
    std::string shown;                    // append to the log, before the notes
    std::optional<std::string> shopName;  // new text of "You are at:"
};

class ValuingDialogue {
public:
    enum class Phase {
        NotConnected,  // no line: none yet, one that Connect is opening, or one that has closed
        LoggingIn,     // the login lines are out and the pause after them is running
        Connected,     // logged in; Value starts or resumes a run
        AwaitingShop,  // Value's lines are out; the value command waits for the shop's name
        Valuing,       // the value command for the next commodity is out, unanswered
        Refused,       // the shopkeeper gave no number for it; Value goes on without it
    };

    // `clock` stamps completed runs; `decimalSeparator` is the one the progress is shown with.
    ValuingDialogue(TradeData& data, const Clock& clock, std::string decimalSeparator = ".");
    // A run that is not complete is abandoned: its post's prices go back to what they were,
    // so that no later save mixes two runs under one stamp.
    ~ValuingDialogue();
    ValuingDialogue(const ValuingDialogue&) = delete;
    ValuingDialogue& operator=(const ValuingDialogue&) = delete;

    // Connect pressed with what the user typed (UTF-8). Returns why it cannot be sent, and then
    // changes nothing; otherwise a fresh conversation starts, where the character may stand
    // somewhere else. The run itself stays, so Value after the new connection resumes it.
    std::string connectPressed(std::string_view playerName, std::string_view password);
    // The connection is open: name, password and an empty line, to be followed by the pause.
    std::vector<std::string> connected();
    // The login pause is over: the lines that finish the login.
    std::vector<std::string> pauseOver();
    // The line has closed (the server hung up), once everything it sent has arrived.
    void lineClosed();
    ValuePress valuePressed();

    // One arrival of bytes from the server.
    ArrivalOutcome arrive(std::string_view bytes);

private:
    struct AnswerLine {
        std::string_view voice;      // the line's text before the opening
        std::string_view valueText;  // empty when the closing comes too soon to leave room
    };

    void examineAnswers(const std::string& text, ArrivalOutcome& out);
    static std::optional<AnswerLine> answerLine(std::string_view scan, std::size_t closing,
                                                std::size_t openingFrom, bool scanStartsLine);
    // Returns true when the line answered the command, which settles this arrival.
    bool takeAnswer(const AnswerLine& line, ArrivalOutcome& out);
    void recogniseShop(const std::string& text, ArrivalOutcome& out);
    // The value command that starts or resumes the run at the shown post.
    std::string askAtShownPost(std::vector<std::string>& notes,
                               std::optional<std::string>& progress);
    void abandonRun();
    RunCompletion completeRun();
    void forgetRun();

    TradeData& data_;
    const Clock& clock_;
    std::string decimalSeparator_;
    std::string playerName_;
    std::string password_;
    Phase phase_ = Phase::NotConnected;
    int shownTp_ = 0;  // the post this connection has named; 0 while it has named none

    // The run: its post, how far it got, and what it changed.
    int runTp_ = 0;  // 0 while no run is under way
    int counter_ = 0;
    std::optional<std::string> voice_;  // how the run's first answer opened its line
    std::vector<int> keptEarlier_;
    std::vector<std::pair<int, float>> earlierPrices_;  // commodity and price before the run

    // Server text that a later arrival may complete.
    std::string lineCarry_;              // the unfinished last line, while it can hold an answer
    std::size_t lineCarryExamined_ = 0;  // no answer opens before this point of it
    bool lineCarryStartsLine_ = true;    // false when the line began before what is carried
    std::string shopCarry_;              // tail that may begin a shop name
    std::string displayCarry_;           // tail that may begin a telnet command, not yet shown
    std::size_t shownColumn_ = 0;        // length of the last line shown so far
};

}  // namespace ledgerly

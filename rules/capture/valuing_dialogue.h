// The conversation of a valuing run, without a socket: what to send after Connect and Value,
// and what each arrival of server text means (a shopkeeper's answer, the shop the character
// stands in). The Auto Valuer window does the sending, the showing and the message boxes; every
// rule of the conversation lives here so that it can be checked without a server.
//
// Server text is handled as bytes, one char per byte (Latin-1), exactly as it came off the
// socket; nothing here knows about Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/trade_data.h"

namespace ledgerly {

// What outlives one Auto Valuer window: who logs in. Where the character stands is what this
// window has recognised, so a new window knows no post until the server names one.
struct ValuingSession {
    std::string playerName;  // Latin-1 bytes, sent as typed
    std::string password;
};

// The shopkeeper's answer reads "We'll pay you " + 9 characters + the value + 10 characters +
// "gold for that.".
inline constexpr std::string_view kAnswerOpening = "We'll pay you ";
inline constexpr std::string_view kAnswerClosing = "gold for that.";
inline constexpr std::size_t kValueTextOffset = 23;  // from the start of the opening
inline constexpr std::size_t kValueTextTail = 10;    // characters between value and closing

// An unfinished answer waiting for the rest of its text is dropped beyond this length: a real
// answer is well under a hundred characters, chat that merely contains the opening is not.
inline constexpr std::size_t kAnswerCarryLimit = 1024;

// Every LF becomes CR LF (a CR LF therefore becomes CR CR LF), as the log and the answer
// positions count it.
std::string withCrLf(std::string_view bytes);

// The log's view of arrived text (already through withCrLf): telnet Go Ahead, WILL ECHO and
// WON'T ECHO become line breaks and a blank followed by FF disappears. Nothing is negotiated.
std::string cleanedForDisplay(std::string_view text);

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

// What pressing Value does.
struct ValuePress {
    bool notConnected = false;            // tell the user "You're not connected to anything"
    std::vector<std::string> lines;       // to send, then let pending events run
    std::string note;                     // for the log: why nothing was sent, or what changed
    std::optional<std::string> progress;  // new progress text
};

struct ArrivalOutcome {
    std::string shown;                    // append to the log
    std::vector<std::string> notes;       // one-line remarks for the log, after the text
    std::optional<std::string> shopName;  // new text of "You are at:"
    std::optional<std::string> progress;  // new progress text
    std::optional<std::string> ask;       // an answer was taken; send this value command next
    bool complete = false;                // the 88th answer is in; finish the run
};

class ValuingDialogue {
public:
    enum class Phase {
        NotConnected,  // no connection yet, or one that Connect is opening
        LoggingIn,     // the login lines are out and the pause after them is running
        Connected,     // logged in; Value starts or resumes a run
        Valuing,       // the value command for commodity counter() + 1 is out, unanswered
        Done,          // all 88 answers are in; finishRun() stamps the run's post
    };

    // `decimalSeparator` is the one the progress percentage is shown with.
    ValuingDialogue(TradeData& data, ValuingSession& session, std::string decimalSeparator = ".");

    int counter() const { return counter_; }

    // Connect pressed: the new name and password, and a fresh conversation. The counter and the
    // run's post stay, so Value after a new connection resumes the run.
    void connectPressed(std::string playerName, std::string password);
    // The connection is open: name, password and an empty line, to be followed by the pause.
    std::vector<std::string> connected();
    // The login pause is over: the lines that finish the login.
    std::vector<std::string> pauseOver();
    ValuePress valuePressed(bool connected);

    // One arrival of bytes from the server.
    ArrivalOutcome arrive(std::string_view bytes);

    // After the 88th answer: stamps the run's trading post with the hour-clock reading and
    // forgets the run. Returns the post stamped.
    int finishRun(float hourClockReading);

private:
    void examineAnswers(const std::string& text, ArrivalOutcome& out);
    // Returns true when the answer was taken, which settles this arrival.
    bool takeAnswer(std::string_view valueText, bool cutShort, ArrivalOutcome& out);
    void recogniseShop(const std::string& text, ArrivalOutcome& out);

    TradeData& data_;
    ValuingSession& session_;
    std::string decimalSeparator_;
    Phase phase_ = Phase::NotConnected;
    int counter_ = 0;
    int shownTp_ = 0;           // the post "You are at:" shows; 0 while none is recognised
    int runTp_ = 0;             // the post of the run, fixed when Value is pressed
    std::string answerCarry_;   // start of an answer still missing its end
    std::string shopCarry_;     // tail that may begin a shop name
    std::string displayCarry_;  // tail that may begin a telnet command, not yet shown
};

}  // namespace ledgerly

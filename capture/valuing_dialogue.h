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

// What outlives one Auto Valuer window: who logs in, and where the character was last seen.
struct ValuingSession {
    std::string playerName;  // Latin-1 bytes, sent as typed
    std::string password;
    int currentTp = 0;  // 0 while no shop has been recognised
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

struct LoginLines {
    std::vector<std::string> beforePause;  // name, password, empty line
    std::vector<std::string> afterPause;   // three single blanks
};

struct ValueStart {
    std::vector<std::string> lines;  // to send, then let pending events run, then ask next
    std::string refusal;             // non-empty: nothing is sent, the log says this
};

struct AskNext {
    enum class Kind {
        Send,          // send `line`, then let pending events run
        NotConnected,  // tell the user "You're not connected to anything"
        AlreadyAsked,  // a command is out already; a second one would shift every later value
    };
    Kind kind = Kind::NotConnected;
    std::string line;
};

struct ArrivalOutcome {
    std::string shown;                    // append to the log
    std::vector<std::string> notes;       // one-line remarks for the log, after the text
    std::optional<std::string> shopName;  // new text of "You are at:"
    std::optional<std::string> progress;  // new progress text
    bool askNext = false;                 // an answer was taken; ask for the next commodity
    bool complete = false;                // the 88th answer is in; finish the run
};

class ValuingDialogue {
public:
    // `decimalSeparator` is the one the progress percentage is shown with.
    ValuingDialogue(TradeData& data, ValuingSession& session, std::string decimalSeparator = ".");

    int counter() const { return counter_; }
    bool awaitingAnswer() const { return awaiting_; }

    // Connect pressed: the new name and password, and a fresh conversation. The counter stays,
    // so Value after a new connection resumes the run.
    void connectPressed(std::string playerName, std::string password);
    LoginLines loginLines() const;

    // Value pressed on a connected socket.
    ValueStart beginValue();
    AskNext askNext(bool connected);

    // One arrival of bytes from the server.
    ArrivalOutcome arrive(std::string_view bytes);

    // After the 88th answer: stamps the run's trading post with the hour-clock reading and
    // forgets the run. Returns the post stamped.
    int finishRun(float hourClockReading);

private:
    void examineAnswers(const std::string& text, ArrivalOutcome& out);
    // Returns true when the answer settles this arrival (taken or rejected).
    bool takeAnswer(std::string_view valueText, bool cutShort, ArrivalOutcome& out);
    void recogniseShop(const std::string& text, ArrivalOutcome& out);

    TradeData& data_;
    ValuingSession& session_;
    std::string decimalSeparator_;
    int counter_ = 0;
    int runTp_ = 0;             // where this run's answers went
    bool postFixed_ = false;    // the run's post no longer follows shop names
    bool awaiting_ = false;     // a value command is out and unanswered
    bool starting_ = false;     // Value has sent its lines and not yet asked
    std::string answerCarry_;   // start of an answer still missing its end
    std::string shopCarry_;     // tail that may begin a shop name
    std::string displayCarry_;  // tail that may begin a telnet command, not yet shown
};

}  // namespace ledgerly

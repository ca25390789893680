#include <QTest>
#include <cmath>
#include <limits>

#include "capture/valuing_dialogue.h"
#include "support/test_platform.h"

using namespace ledgerly;

namespace {

constexpr int kSeaSEnd = 16;
constexpr int kCaldmoor = 1;
const std::string kSeaSEndShop = "Sea's End Direct Merchants";
const std::string kCaldmoorShop = "Caldmoor Trading Shop";
const float kNotStored = std::numeric_limits<float>::quiet_NaN();

// The shopkeeper's usual answer: nine characters after the opening and ten before the closing
// are not part of the value.
std::string answer(std::string_view value) {
    return "The shopkeeper says, 'We'll pay you covered: " + std::string(value) +
           " coins of gold for that.'\r\n";
}

// A dialogue over an always-connected server; the value commands sent are kept in order.
struct Conversation {
    TradeData data;
    ValuingSession session;
    ValuingDialogue dialogue{data, session};
    std::vector<std::string> commands;

    Conversation() { testing::setNeverValued(data); }
    bool pressValue() {
        if (!dialogue.beginValue().refusal.empty())
            return false;
        ask();
        return true;
    }
    void ask() {
        const AskNext next = dialogue.askNext(true);
        if (next.kind == AskNext::Kind::Send)
            commands.push_back(next.line);
    }
    ArrivalOutcome arrive(std::string_view bytes) {
        ArrivalOutcome out = dialogue.arrive(bytes);
        if (out.askNext)
            ask();
        return out;
    }
    void startAtSeaSEnd() {
        arrive("You are in " + kSeaSEndShop + ".\r\n");
        pressValue();
    }
    void answerUpTo(int commodity) {
        while (dialogue.counter() < commodity)
            arrive(answer(std::to_string(100 + dialogue.counter() + 1)));
    }
};

std::string allNotes(const ArrivalOutcome& out) {
    std::string all;
    for (const std::string& note : out.notes)
        all += note + "|";
    return all;
}

}  // namespace

class ValuingDialogueTest : public QObject {
    Q_OBJECT
private slots:
    void progressTexts_data() {
        QTest::addColumn<int>("counter");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, int counter, const char* separator, const char* text) {
            QTest::newRow(name) << counter << separator << QString("Getting Values   ") + text;
        };
        row("first answer", 1, ".", "1.1%");
        row("five falls just below 5.7", 5, ".", "5.6%");
        row("a whole percentage shows no decimals", 15, ".", "17%");
        row("half-way", 44, ".", "50.1%");
        row("one short", 87, ".", "99.1%");
        row("the last caps at a hundred", 88, ".", "100%");
        row("user's separator", 44, ",", "50,1%");
    }
    void progressTexts() {
        QFETCH(int, counter);
        QFETCH(QString, separator);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(progressText(counter, separator.toStdString())), text);
    }

    // The first answer of a run at Sea's End; NaN: nothing stored, the run stays put, the log
    // says why and Value asks for the same commodity again.
    void firstAnswer_data() {
        QTest::addColumn<QByteArray>("arrival");
        QTest::addColumn<float>("stored");
        QTest::addColumn<QString>("because");
        auto row = [](const char* name, const std::string& arrival, float stored,
                      const char* because = "") {
            QTest::newRow(name) << QByteArray::fromStdString(arrival) << stored << because;
        };
        row("whole number", answer("523"), 523.0F);
        row("decimal", answer("12.5"), 12.5F);
        row("blanks around the value", answer("  77 "), 77.0F);
        row("thousands grouped", answer("12,345"), 12345.0F);
        row("digits beside the skipped text", "We'll pay you 12345678970123456789gold for that.",
            7.0F);
        row("opening not at the start", "xyzWe'll pay you ABCDEFGHI42JKLMNOPQRSgold for that.",
            42.0F);
        row("positions count the text before cleaning",
            "We'll pay you a \xFFzcdef 88 coins of gold for that.", 88.0F);
        row("nearest opening belongs to the closing",
            "Bob: We'll pay you nothing!\r\n" + answer("55"), 55.0F);
        row("an earlier closing is someone else's", "Bob: gold for that.\r\n" + answer("66"),
            66.0F);
        row("two answers take the first", answer("5") + answer("6"), 5.0F);
        row("shop named with the first answer counts after it",
            kCaldmoorShop + "\r\n" + answer("9"), 9.0F);
        row("decimal comma is not guessed at", answer("1,5"), kNotStored,
            "\"1,5\" is not a number");
        row("badly grouped thousands", answer("12,34"), kNotStored, "is not a number");
        row("words", answer("plenty"), kNotStored, "\"plenty\" is not a number");
        row("empty value", answer(""), kNotStored, "\"\" is not a number");
        row("too large for a float", answer("1e39"), kNotStored, "is not a number");
        row("not a number", answer("nan"), kNotStored, "is not a number");
        row("infinity", answer("inf"), kNotStored, "is not a number");
        row("closing too close to the opening", "We'll pay you 5 gold for that.", kNotStored,
            "too short to hold a value");
    }
    void firstAnswer() {
        QFETCH(QByteArray, arrival);
        QFETCH(float, stored);
        QFETCH(QString, because);
        Conversation talk;
        talk.startAtSeaSEnd();
        const ArrivalOutcome out = talk.arrive(arrival.toStdString());
        QCOMPARE(talk.session.currentTp, kSeaSEnd);
        QCOMPARE(talk.data.value(kCaldmoor, 1), 1.0F);
        if (!std::isnan(stored)) {
            QCOMPARE(talk.dialogue.counter(), 1);
            QCOMPARE(talk.data.value(kSeaSEnd, 1), stored);
            QCOMPARE(talk.data.value(kSeaSEnd, 2), 1.0F);
            QCOMPARE(out.progress.value_or(""), std::string("Getting Values   1.1%"));
            QCOMPARE(talk.commands.back(), std::string("value Ale covered"));
            return;
        }
        QCOMPARE(talk.dialogue.counter(), 0);
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 1.0F);
        QVERIFY(!out.progress);
        QCOMPARE(out.notes.size(), std::size_t{1});
        QVERIFY2(allNotes(out).find("Adamantite") != std::string::npos, allNotes(out).c_str());
        QVERIFY2(allNotes(out).find(because.toStdString()) != std::string::npos,
                 allNotes(out).c_str());
        QVERIFY(talk.pressValue());
        QCOMPARE(talk.commands.back(), std::string("value Adamantite covered"));
    }

    void displayCleaning_data() {
        QTest::addColumn<QByteArray>("arrived");
        QTest::addColumn<QByteArray>("shown");
        auto row = [](const char* name, const char* arrived, const char* shown) {
            QTest::newRow(name) << QByteArray(arrived) << QByteArray(shown);
        };
        row("Go Ahead ends the line", "Name:\xFF\xF9", "Name:\r\n");
        row("blank before Go Ahead stays", "A \xFF\xF9", "A \r\n");
        row("WILL ECHO", "Pass\xFF\xFB\x01", "Pass\r\n");
        row("WON'T ECHO", "\xFF\xFC\x01ok", "\r\nok");
        row("blank and FF vanish", "a \xFF\xFDz", "a\xFDz");
        row("lone FF is shown", "a\xFFz", "a\xFFz");
        row("other options are shown", "\xFF\xFB\x03", "\xFF\xFB\x03");
        row("bare LF becomes CR LF", "1\n2\n", "1\r\n2\r\n");
        row("CR LF becomes CR CR LF", "1\r\n2", "1\r\r\n2");
    }
    void displayCleaning() {
        QFETCH(QByteArray, arrived);
        QFETCH(QByteArray, shown);
        Conversation talk;
        QCOMPARE(QByteArray::fromStdString(talk.arrive(arrived.toStdString()).shown), shown);
    }

    // A telnet command or the blank before an FF cut off at the end of one arrival: the log
    // shows the text as if it had come in one piece.
    void displayIsTheSameWhereverTheTextIsCut() {
        const std::string text =
            "Name: \xFF\xF9Pass \xFF\xFB\x01x \xFF\xFC\x01y \xFFz\xFF\xFB\x03 \xFF\xFD"
            "end.";
        Conversation whole;
        const std::string expected = whole.arrive(text).shown;
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            Conversation split;
            std::string shown = split.arrive(text.substr(0, cut)).shown;
            shown += split.arrive(text.substr(cut)).shown;
            QVERIFY2(shown == expected, qPrintable(QStringLiteral("cut at %1").arg(cut)));
        }
    }

    void shopNames_data() {
        QTest::addColumn<QByteArray>("arrival");
        QTest::addColumn<int>("tp");
        auto row = [](const char* name, const char* arrival, int tp) {
            QTest::newRow(name) << QByteArray(arrival) << tp;
        };
        row("one name", "You are in A Ranger's Cabin.", 3);
        row("highest index wins over a later name",
            "A Minotaur Trading Outpost. Caldmoor Trading Shop.", 19);
        row("highest index wins over an earlier name", "An Elven Marketplace, Ur-vile Feeding Hall",
            11);
        row("case matters", "caldmoor trading shop", 0);
    }
    void shopNames() {
        QFETCH(QByteArray, arrival);
        QFETCH(int, tp);
        Conversation talk;
        const ArrivalOutcome out = talk.arrive(arrival.toStdString());
        QCOMPARE(talk.session.currentTp, tp);
        QCOMPARE(out.shopName.has_value(), tp != 0);
        // The tail kept for split names must not bring back a name already counted.
        talk.arrive("\r\n");
        QCOMPARE(talk.session.currentTp, tp);
    }

    void splitAtEveryPositionIsStillRead() {
        const std::string shop = "You are in " + kCaldmoorShop + ".\r\n";
        const std::string reply = "Chatter.\r\n" + answer("4321");
        for (std::size_t cut = 0; cut <= reply.size(); ++cut) {
            const QByteArray where = "cut at " + QByteArray::number(qulonglong(cut));
            Conversation talk;
            if (cut <= shop.size()) {
                talk.arrive(shop.substr(0, cut));
                talk.arrive(shop.substr(cut));
                QVERIFY2(talk.session.currentTp == kCaldmoor, where);
            } else {
                talk.arrive(shop);
            }
            talk.pressValue();
            talk.arrive(reply.substr(0, cut));
            talk.arrive(reply.substr(cut));
            QVERIFY2(talk.dialogue.counter() == 1, where);
            QCOMPARE(talk.data.value(kCaldmoor, 1), 4321.0F);
        }
    }

    void longChatWithTheOpeningDoesNotHideTheAnswer() {
        Conversation talk;
        talk.startAtSeaSEnd();
        talk.arrive("Bob says, 'We'll pay you " + std::string(3000, 'x'));
        talk.arrive(std::string(3000, 'y') + "'\r\n");
        QCOMPARE(talk.dialogue.counter(), 0);
        talk.arrive(answer("12"));
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 12.0F);
    }

    void answersTheRunDidNotAskForAreNotStored() {
        Conversation unasked;
        unasked.arrive(kSeaSEndShop + "\r\n");
        QVERIFY(allNotes(unasked.arrive(answer("77"))).find("not asked for") != std::string::npos);
        QCOMPARE(unasked.data.value(kSeaSEnd, 1), 1.0F);

        Conversation noPost;
        noPost.pressValue();
        const ArrivalOutcome out = noPost.arrive(kSeaSEndShop + "\r\n" + answer("9"));
        QVERIFY(allNotes(out).find("trading post is not known") != std::string::npos);
        QCOMPARE(noPost.data.value(kSeaSEnd, 1), 1.0F);
        QVERIFY(noPost.pressValue());  // the same arrival named the shop: Value goes on
        noPost.arrive(answer("10"));
        QCOMPARE(noPost.data.value(kSeaSEnd, 1), 10.0F);
    }

    void valueWhileAnAnswerIsAwaitedSendsNothing() {
        Conversation talk;
        talk.arrive(kSeaSEndShop);
        QVERIFY(talk.dialogue.beginValue().refusal.empty());
        QCOMPARE(talk.dialogue.beginValue().refusal, std::string("Valuing is already starting."));
        talk.ask();
        QVERIFY(talk.dialogue.beginValue().refusal.find("Adamantite") != std::string::npos);
        QCOMPARE(talk.dialogue.askNext(true).kind, AskNext::Kind::AlreadyAsked);
        // The server answers each command once, so each value lands on its own commodity.
        for (int c = 1; c <= 3; ++c) {
            talk.arrive(answer(std::to_string(100 + c)));
            QVERIFY(!talk.pressValue());
        }
        QCOMPARE(talk.commands.size(), std::size_t{4});
        QCOMPARE(talk.data.value(kSeaSEnd, 3), 103.0F);
    }

    void reconnectingAtAnotherPostStartsItAfresh() {
        Conversation other;
        other.startAtSeaSEnd();
        other.answerUpTo(30);
        other.dialogue.connectPressed("Aramir", "pw");
        QCOMPARE(other.arrive("Now in " + kCaldmoorShop).shopName.value_or(""), kCaldmoorShop);
        other.pressValue();
        const ArrivalOutcome out = other.arrive(answer("999"));
        QVERIFY(allNotes(out).find("starts again") != std::string::npos);
        QCOMPARE(other.commands.back(), std::string("value Adamantite covered"));
        QCOMPARE(other.data.value(kCaldmoor, 31), 1.0F);
        other.answerUpTo(88);
        QCOMPARE(other.dialogue.finishRun(600.0F), kCaldmoor);
        QCOMPARE(other.data.stamp(kSeaSEnd), 10.0F);
    }
};

QTEST_APPLESS_MAIN(ValuingDialogueTest)
#include "test_valuing_dialogue.moc"

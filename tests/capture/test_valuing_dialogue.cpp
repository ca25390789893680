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

// The shopkeeper's usual answer: nine characters after the opening and ten before the closing
// that are not part of the value.
std::string answer(std::string_view value) {
    return "The shopkeeper says, 'We'll pay you covered: " + std::string(value) +
           " coins of gold for that.'\r\n";
}

// A dialogue with a server that is always connected; the value commands it was asked to send
// are kept, in order.
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
        if (next.kind == AskNext::Kind::send)
            commands.push_back(next.line);
    }
    ArrivalOutcome arrive(std::string_view bytes) {
        ArrivalOutcome out = dialogue.arrive(bytes);
        if (out.askNext)
            ask();
        return out;
    }
    // Logged in at Sea's End and the first value command sent.
    void startAtSeaSEnd() {
        arrive("You are in " + kSeaSEndShop + ".\r\n");
        pressValue();
    }
    void answerUpTo(int commodity) {
        while (dialogue.counter() < commodity)
            arrive(answer(std::to_string(100 + dialogue.counter() + 1)));
    }
};

bool mentions(const std::vector<std::string>& notes, std::string_view words) {
    for (const std::string& note : notes) {
        if (note.find(words) != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

class ValuingDialogueTest : public QObject {
    Q_OBJECT
private slots:
    void progressTexts_data() {
        QTest::addColumn<int>("counter");
        QTest::addColumn<QString>("text");
        QTest::newRow("first answer") << 1 << "Getting Values   1.1%";
        QTest::newRow("second answer") << 2 << "Getting Values   2.2%";
        QTest::newRow("five falls just below 5.7") << 5 << "Getting Values   5.6%";
        QTest::newRow("fifteen shows no decimals") << 15 << "Getting Values   17%";
        QTest::newRow("twenty-two") << 22 << "Getting Values   25%";
        QTest::newRow("half-way") << 44 << "Getting Values   50.1%";
        QTest::newRow("one short") << 87 << "Getting Values   99.1%";
        QTest::newRow("all answers cap at a hundred") << 88 << "Getting Values   100%";
    }
    void progressTexts() {
        QFETCH(int, counter);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(progressText(counter)), text);
    }

    void progressUsesTheGivenSeparator() {
        QCOMPARE(progressText(44, ","), std::string("Getting Values   50,1%"));
    }

    // What the first answer of a run stores, given the whole arrival; NaN: nothing is stored
    // and the run does not advance.
    void answerValues_data() {
        const float notStored = std::numeric_limits<float>::quiet_NaN();
        QTest::addColumn<QByteArray>("arrival");
        QTest::addColumn<float>("stored");
        QTest::newRow("whole number") << QByteArray(answer("523").c_str()) << 523.0F;
        QTest::newRow("decimal") << QByteArray(answer("12.5").c_str()) << 12.5F;
        QTest::newRow("blanks around the value") << QByteArray(answer("  77 ").c_str()) << 77.0F;
        QTest::newRow("thousands grouped") << QByteArray(answer("12,345").c_str()) << 12345.0F;
        QTest::newRow("digits right beside the skipped text")
            << QByteArray("We'll pay you 12345678970123456789gold for that.") << 7.0F;
        QTest::newRow("opening not at the start")
            << QByteArray("xyzWe'll pay you ABCDEFGHI42JKLMNOPQRSgold for that.") << 42.0F;
        QTest::newRow("nearest opening belongs to the closing")
            << QByteArray(("Bob: We'll pay you nothing!\r\n" + answer("55")).c_str()) << 55.0F;
        QTest::newRow("closing before the opening is someone else's")
            << QByteArray(("Bob: gold for that.\r\n" + answer("66")).c_str()) << 66.0F;
        QTest::newRow("decimal comma is not guessed at")
            << QByteArray(answer("1,5").c_str()) << notStored;
        QTest::newRow("badly grouped thousands")
            << QByteArray(answer("12,34").c_str()) << notStored;
        QTest::newRow("words") << QByteArray(answer("lots of").c_str()) << notStored;
        QTest::newRow("empty value") << QByteArray(answer("").c_str()) << notStored;
        QTest::newRow("too large for a float") << QByteArray(answer("1e39").c_str()) << notStored;
        QTest::newRow("not a number") << QByteArray(answer("nan").c_str()) << notStored;
        QTest::newRow("infinity") << QByteArray(answer("inf").c_str()) << notStored;
        QTest::newRow("closing too close to the opening")
            << QByteArray("We'll pay you 5 gold for that.") << notStored;
        QTest::newRow("opening without closing")
            << QByteArray("We'll pay you 500 gold") << notStored;
    }
    void answerValues() {
        QFETCH(QByteArray, arrival);
        QFETCH(float, stored);
        Conversation talk;
        talk.startAtSeaSEnd();
        const ArrivalOutcome out = talk.arrive(arrival.toStdString());
        if (std::isnan(stored)) {
            QCOMPARE(talk.dialogue.counter(), 0);
            QCOMPARE(talk.data.value(kSeaSEnd, 1), 1.0F);
            QVERIFY(!out.progress);
        } else {
            QCOMPARE(talk.dialogue.counter(), 1);
            QCOMPARE(talk.data.value(kSeaSEnd, 1), stored);
            QCOMPARE(out.progress.value_or(""), std::string("Getting Values   1.1%"));
            QCOMPARE(talk.commands.back(), std::string("value Ale covered"));
        }
    }

    void unusableAnswerSaysWhyAndValueAsksAgain_data() {
        QTest::addColumn<QByteArray>("arrival");
        QTest::addColumn<QString>("because");
        QTest::newRow("not a number")
            << QByteArray(answer("plenty").c_str()) << "\"plenty\" is not a number";
        QTest::newRow("cut short")
            << QByteArray("We'll pay you 5 gold for that.") << "too short to hold a value";
    }
    void unusableAnswerSaysWhyAndValueAsksAgain() {
        QFETCH(QByteArray, arrival);
        QFETCH(QString, because);
        Conversation talk;
        talk.startAtSeaSEnd();
        const ArrivalOutcome out = talk.arrive(arrival.toStdString());
        QCOMPARE(out.notes.size(), std::size_t{1});
        QVERIFY(mentions(out.notes, "Adamantite"));
        QVERIFY(mentions(out.notes, because.toStdString()));
        QVERIFY(!talk.dialogue.awaitingAnswer());
        QVERIFY(talk.pressValue());
        QCOMPARE(talk.commands, (std::vector<std::string>{"value Adamantite covered",
                                                          "value Adamantite covered"}));
        talk.arrive(answer("31"));
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 31.0F);
    }

    void displayCleaning_data() {
        QTest::addColumn<QByteArray>("arrived");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("Go Ahead ends the line")
            << QByteArray("Name:\xFF\xF9") << QByteArray("Name:\r\n");
        QTest::newRow("blank before Go Ahead stays")
            << QByteArray("Name: \xFF\xF9") << QByteArray("Name: \r\n");
        QTest::newRow("WILL ECHO")
            << QByteArray("Password\xFF\xFB\x01") << QByteArray("Password\r\n");
        QTest::newRow("WON'T ECHO") << QByteArray("\xFF\xFC\x01ok") << QByteArray("\r\nok");
        QTest::newRow("blank and FF vanish together") << QByteArray(
                                                             "a \xFF\xFD"
                                                             "b")
                                                      << QByteArray(
                                                             "a\xFD"
                                                             "b");
        QTest::newRow("lone FF is shown") << QByteArray(
                                                 "a\xFF"
                                                 "b")
                                          << QByteArray(
                                                 "a\xFF"
                                                 "b");
        QTest::newRow("WILL without ECHO is shown")
            << QByteArray("\xFF\xFB\x03") << QByteArray("\xFF\xFB\x03");
        QTest::newRow("bare LF becomes CR LF")
            << QByteArray("one\ntwo\n") << QByteArray("one\r\ntwo\r\n");
        QTest::newRow("CR LF becomes CR CR LF")
            << QByteArray("one\r\ntwo") << QByteArray("one\r\r\ntwo");
        QTest::newRow("every Go Ahead") << QByteArray(
                                               "a\xFF\xF9"
                                               "b\xFF\xF9")
                                        << QByteArray("a\r\nb\r\n");
    }
    void displayCleaning() {
        QFETCH(QByteArray, arrived);
        QFETCH(QByteArray, shown);
        Conversation talk;
        const ArrivalOutcome out = talk.arrive(arrived.toStdString());
        QCOMPARE(QByteArray::fromStdString(out.shown), shown);
    }

    void answerIsReadFromTheUncleanedText() {
        // The log drops a blank followed by FF; the answer's positions must not shift with it.
        Conversation talk;
        talk.startAtSeaSEnd();
        talk.arrive(
            "We'll pay you a \xFF"
            "bcdef 88 coins of gold for that.");
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 88.0F);
    }

    void twoAnswersInOneArrivalTakeTheFirst() {
        Conversation talk;
        talk.startAtSeaSEnd();
        talk.arrive(answer("5") + answer("6"));
        QCOMPARE(talk.dialogue.counter(), 1);
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 5.0F);
        QCOMPARE(talk.data.value(kSeaSEnd, 2), 1.0F);
        QCOMPARE(talk.commands.back(), std::string("value Ale covered"));
    }

    void shopNamedWithTheFirstAnswerCountsOnlyAfterIt() {
        Conversation talk;
        talk.startAtSeaSEnd();
        const ArrivalOutcome out = talk.arrive(kCaldmoorShop + "\r\n" + answer("9"));
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 9.0F);
        QCOMPARE(talk.data.value(kCaldmoor, 1), 1.0F);
        // The run has its post now; the other name no longer moves it.
        QVERIFY(!out.shopName);
        QCOMPARE(talk.session.currentTp, kSeaSEnd);
    }

    void answerBeforeAnyShopIsNotStored() {
        Conversation talk;
        talk.pressValue();
        const ArrivalOutcome out = talk.arrive(kSeaSEndShop + "\r\n" + answer("9"));
        QCOMPARE(talk.dialogue.counter(), 0);
        for (int tp = 1; tp <= kTradingPostCount; ++tp)
            QCOMPARE(talk.data.value(tp, 1), 1.0F);
        QVERIFY(mentions(out.notes, "trading post is not known"));
        QCOMPARE(out.shopName.value_or(""), kSeaSEndShop);
        // The same arrival named the shop, so Value goes on from where the run stood.
        QVERIFY(talk.pressValue());
        talk.arrive(answer("10"));
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 10.0F);
    }

    void shopNames_data() {
        QTest::addColumn<QByteArray>("arrival");
        QTest::addColumn<int>("tp");
        QTest::newRow("one name") << QByteArray("You are in A Ranger's Cabin.") << 3;
        QTest::newRow("highest index wins, not the last mentioned")
            << QByteArray("A Minotaur Trading Outpost. Caldmoor Trading Shop.") << 19;
        QTest::newRow("highest index wins, not the first mentioned")
            << QByteArray("An Elven Marketplace, Ur-vile Feeding Hall") << 11;
        QTest::newRow("case matters") << QByteArray("caldmoor trading shop") << 0;
        QTest::newRow("no name") << QByteArray("A dusty road.") << 0;
    }
    void shopNames() {
        QFETCH(QByteArray, arrival);
        QFETCH(int, tp);
        Conversation talk;
        const ArrivalOutcome out = talk.arrive(arrival.toStdString());
        QCOMPARE(talk.session.currentTp, tp);
        QCOMPARE(out.shopName.has_value(), tp != 0);
    }

    void answerSplitAtEveryPositionIsRead() {
        const std::string whole = "Some chatter.\r\n" + answer("4321");
        for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
            Conversation talk;
            talk.startAtSeaSEnd();
            talk.arrive(whole.substr(0, cut));
            talk.arrive(whole.substr(cut));
            QVERIFY2(talk.dialogue.counter() == 1, qPrintable(QString("cut at %1").arg(cut)));
            QCOMPARE(talk.data.value(kSeaSEnd, 1), 4321.0F);
        }
    }

    void answerArrivingByteByByteIsRead() {
        Conversation talk;
        talk.startAtSeaSEnd();
        const std::string whole = answer("987.25");
        for (char byte : whole)
            talk.arrive(std::string(1, byte));
        QCOMPARE(talk.dialogue.counter(), 1);
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 987.25F);
    }

    void shopNameSplitAtEveryPositionIsRecognised() {
        const std::string whole = "You stand in " + kCaldmoorShop + ".\r\n";
        for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
            Conversation talk;
            talk.arrive(whole.substr(0, cut));
            talk.arrive(whole.substr(cut));
            QVERIFY2(talk.session.currentTp == kCaldmoor,
                     qPrintable(QString("cut at %1").arg(cut)));
        }
    }

    void shopNameSeenBeforeIsNotCountedAgain() {
        // The lower-index name was in the previous arrival's tail; the new arrival brings
        // nothing, so the higher-index post recognised before stays.
        Conversation talk;
        talk.arrive("A Minotaur Trading Outpost, then " + kCaldmoorShop);
        QCOMPARE(talk.session.currentTp, 19);
        talk.arrive("\r\n");
        QCOMPARE(talk.session.currentTp, 19);
    }

    void longChatWithTheOpeningDoesNotHideTheAnswer() {
        Conversation talk;
        talk.startAtSeaSEnd();
        talk.arrive("Bob says, 'We'll pay you " + std::string(3000, 'x'));
        talk.arrive(std::string(3000, 'y') + "'\r\n");
        QCOMPARE(talk.dialogue.counter(), 0);
        talk.arrive(answer("12"));
        QCOMPARE(talk.dialogue.counter(), 1);
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 12.0F);
    }

    void laterShopNameDoesNotMoveTheRun() {
        Conversation talk;
        talk.startAtSeaSEnd();
        talk.answerUpTo(40);
        const ArrivalOutcome chat =
            talk.arrive("Bob says, 'Meet me at the " + kCaldmoorShop + ".'\r\n");
        QVERIFY(!chat.shopName);
        talk.answerUpTo(88);
        for (int c = 1; c <= kCommodityCount; ++c) {
            QCOMPARE(talk.data.value(kSeaSEnd, c), float(100 + c));
            QCOMPARE(talk.data.value(kCaldmoor, c), 1.0F);
        }
        QCOMPARE(talk.dialogue.finishRun(500.0F), kSeaSEnd);
    }

    void valueWhileAnAnswerIsAwaitedSendsNothing() {
        Conversation talk;
        talk.startAtSeaSEnd();
        const ValueStart again = talk.dialogue.beginValue();
        QVERIFY(again.lines.empty());
        QVERIFY(again.refusal.find("Adamantite") != std::string::npos);
        QCOMPARE(talk.dialogue.askNext(true).kind, AskNext::Kind::alreadyAsked);
        // The server answers every command it got, so each value lands on its own commodity.
        while (talk.dialogue.counter() < 3) {
            talk.arrive(answer(std::to_string(100 + talk.dialogue.counter() + 1)));
            QVERIFY(!talk.pressValue());
        }
        QCOMPARE(talk.commands.size(), std::size_t{4});
        for (int c = 1; c <= 3; ++c)
            QCOMPARE(talk.data.value(kSeaSEnd, c), float(100 + c));
    }

    void secondValueBeforeTheFirstHasAskedIsRefused() {
        Conversation talk;
        talk.arrive(kSeaSEndShop);
        QVERIFY(talk.dialogue.beginValue().refusal.empty());
        QVERIFY(!talk.dialogue.beginValue().refusal.empty());
        talk.ask();
        QCOMPARE(talk.commands.size(), std::size_t{1});
    }

    void answerNobodyAskedForIsNotStored() {
        Conversation talk;
        talk.arrive(kSeaSEndShop + "\r\n");
        const ArrivalOutcome out = talk.arrive(answer("77"));
        QCOMPARE(talk.dialogue.counter(), 0);
        QCOMPARE(talk.data.value(kSeaSEnd, 1), 1.0F);
        QVERIFY(mentions(out.notes, "not asked for"));
    }

    void askingWhileNotConnectedSendsNothing() {
        Conversation talk;
        talk.arrive(kSeaSEndShop);
        QVERIFY(talk.dialogue.beginValue().refusal.empty());
        QCOMPARE(talk.dialogue.askNext(false).kind, AskNext::Kind::notConnected);
        QVERIFY(!talk.dialogue.awaitingAnswer());
    }

    void reconnectingAtTheSamePostResumes() {
        Conversation talk;
        talk.startAtSeaSEnd();
        talk.answerUpTo(30);
        talk.dialogue.connectPressed("Aramir", "pw");
        talk.arrive("Back at " + kSeaSEndShop + ".\r\n");
        talk.commands.clear();
        QVERIFY(talk.pressValue());
        QCOMPARE(talk.commands, std::vector<std::string>{"value Fish covered"});
        talk.answerUpTo(88);
        QCOMPARE(talk.data.value(kSeaSEnd, 31), 131.0F);
        QCOMPARE(talk.data.value(kSeaSEnd, 88), 188.0F);
    }

    void reconnectingAtAnotherPostStartsItAfresh() {
        Conversation talk;
        talk.startAtSeaSEnd();
        talk.answerUpTo(30);
        talk.dialogue.connectPressed("Aramir", "pw");
        const ArrivalOutcome seen = talk.arrive("Now in " + kCaldmoorShop + ".\r\n");
        QCOMPARE(seen.shopName.value_or(""), kCaldmoorShop);
        talk.commands.clear();
        talk.pressValue();
        const ArrivalOutcome out = talk.arrive(answer("999"));
        QVERIFY(mentions(out.notes, "starts again"));
        QCOMPARE(talk.commands,
                 (std::vector<std::string>{"value Fish covered", "value Adamantite covered"}));
        QCOMPARE(talk.data.value(kCaldmoor, 31), 1.0F);
        talk.answerUpTo(88);
        QCOMPARE(talk.dialogue.finishRun(600.0F), kCaldmoor);
        QCOMPARE(talk.data.value(kCaldmoor, 1), 101.0F);
        QCOMPARE(talk.data.stamp(kSeaSEnd), 10.0F);
        QCOMPARE(talk.data.stamp(kCaldmoor), 600.0F);
    }

    void fullRunAsksEveryCommodityAndCompletesOnTheLast() {
        Conversation talk;
        talk.startAtSeaSEnd();
        ArrivalOutcome last;
        while (talk.dialogue.counter() < kCommodityCount)
            last = talk.arrive(answer(std::to_string(talk.dialogue.counter() + 1) + ".5"));
        QCOMPARE(talk.commands.size(), std::size_t{88});
        QCOMPARE(talk.commands.front(), std::string("value Adamantite covered"));
        QCOMPARE(talk.commands[30], std::string("value Fish covered"));
        QCOMPARE(talk.commands.back(), std::string("value Wands covered"));
        QVERIFY(last.complete);
        QVERIFY(!last.askNext);
        QCOMPARE(last.progress.value_or(""), std::string("Getting Values   100%"));
        QCOMPARE(talk.data.value(kSeaSEnd, 88), 88.5F);

        QCOMPARE(talk.dialogue.finishRun(201453.5F), kSeaSEnd);
        QCOMPARE(talk.data.stamp(kSeaSEnd), 201453.5F);
        QCOMPARE(talk.data.buffers.hourClockScratch, 201453.5F);
        QCOMPARE(talk.data.stamp(kCaldmoor), 10.0F);
        QCOMPARE(talk.session.currentTp, 0);
        QCOMPARE(talk.dialogue.counter(), 0);
        // The next run starts at the first commodity, and its post is recognised afresh.
        talk.commands.clear();
        talk.arrive(kCaldmoorShop);
        QVERIFY(talk.pressValue());
        QCOMPARE(talk.commands, std::vector<std::string>{"value Adamantite covered"});
    }

    void loginSendsNamePasswordAndBlanks() {
        Conversation talk;
        talk.dialogue.connectPressed("Aramir", "se cret");
        const LoginLines login = talk.dialogue.loginLines();
        QCOMPARE(login.beforePause, (std::vector<std::string>{"Aramir", "se cret", ""}));
        QCOMPARE(login.afterPause, (std::vector<std::string>{" ", " ", " "}));
        QCOMPARE(talk.session.playerName, std::string("Aramir"));
    }

    void valueStartsWithTheFixedLines() {
        Conversation talk;
        QCOMPARE(talk.dialogue.beginValue().lines,
                 (std::vector<std::string>{"y", "newbie", "look", "emote is autovalueing."}));
    }
};

QTEST_APPLESS_MAIN(ValuingDialogueTest)
#include "test_valuing_dialogue.moc"

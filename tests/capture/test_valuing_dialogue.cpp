// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QTest>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

#include "core/catalogue.h"
#include "rules/capture/valuing_dialogue.h"
#include "support/test_platform.h"

using namespace ledgerly;

namespace {

constexpr int kSeaSEnd = 16;
// 6 March 2026, 12:30: ((2026 - 2003) x 365 + 59 + 6) x 24 + 12.5 hours, worked out by hand.
constexpr LocalDateTime kRunEnds{2026, 3, 6, 12, 30, 0};
constexpr float kReading = 203052.5F;

// Each post's shopkeeper has a way of speaking of its own.
std::string keeper(int tp) {
    return "Keeper of " + std::string(tradingPost(tp).townName) + " says, '";
}
std::string answer(const std::string& voice, const std::string& value) {
    return voice + "We'll pay you covered: " + value + " coins of gold for that.'\r\n";
}

// The dialogue against a game whose shopkeeper at post `at` names 1000 x post + commodity.
struct Game {
    TradeData data;
    testing::FixedClock clock{kRunEnds};
    std::unique_ptr<ValuingDialogue> dialogue = std::make_unique<ValuingDialogue>(data, clock);
    int at = kSeaSEnd;
    std::deque<int> asked;  // value commands heard and not answered yet
    std::string notes;
    std::string shownShop;  // in "You are at:"
    QList<int> completed, kept;
    int silentPresses = 0;  // Value pressed, and the user not told why nothing happens

    Game() { testing::setNeverValued(data); }
    void heard(const Reaction& reaction) {
        for (int c = 1; c <= kCommodityCount; ++c)
            asked.insert(asked.end(), std::ranges::count(reaction.lines, valueCommand(c)), c);
        for (const std::string& note : reaction.notes)
            notes += note + '\n';
        if (const auto& run = reaction.completed) {
            completed.append(run->tradingPost);
            kept = QList<int>(run->keptEarlier.begin(), run->keptEarlier.end());
        }
    }
    Game& say(const std::string& text, std::size_t cut = std::string::npos) {
        for (const std::string& part :
             {text.substr(0, cut), text.substr(std::min(cut, text.size()))}) {
            const ArrivalOutcome out = dialogue->arrive(part);
            shownShop = out.shopName.value_or(shownShop);
            heard(out);
        }
        return *this;
    }
    Game& reply(const std::string& text) {  // to the oldest command
        asked.pop_front();
        return say(text);
    }
    Game& answers(int n, std::size_t cut = std::string::npos) {
        for (; n > 0 && !asked.empty(); --n, asked.pop_front()) {
            const std::string price = std::to_string(1000 * at + asked.front());
            say("Bob: We'll pay you back!\r\n" + answer(keeper(at), price), cut);
        }
        return *this;
    }
    Game& place(std::size_t cut = std::string::npos) {
        return say("\r\nYou are in " + std::string(tradingPost(at).shopName) + ".\r\n", cut);
    }
    Game& connect(int stage = 2) {  // 0: Connect pressed, 1: connected, 2: logged in
        asked.clear();
        dialogue->connectPressed("Aramir", "pw");
        if (stage > 0)
            dialogue->connected();
        if (stage > 1)
            dialogue->pauseOver();
        return *this;
    }
    Game& value() {
        const ValuePress press = dialogue->valuePressed();
        notes += press.notConnected ? "(not connected)\n" : "";
        silentPresses += !press.notConnected && press.lines.empty() && press.notes.empty();
        heard(press);
        return *this;
    }
    Game& start() { return connect().place().value(); }
    Game& hangUp() {
        asked.clear();
        dialogue->lineClosed();
        return *this;
    }
    Game& moveTo(int tp) {
        at = tp;
        return *this;
    }
};
using Play = std::function<void(Game&)>;

}  // namespace

Q_DECLARE_METATYPE(Play)

class ValuingDialogueTest : public QObject {
    Q_OBJECT
private slots:
    void progressIsCutToTenthsAndCapped() {
        QCOMPARE(progressText(5, ","), "Getting Values   5,6%");  // 5 x 1.14 is just below 5.7
        QCOMPARE(progressText(15), "Getting Values   17%");
        QCOMPARE(progressText(88), "Getting Values   100%");
    }

    void answerValues_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<float>("value");  // NaN: not a number
        const auto row = [](const char* text, float value) {
            QTest::newRow(text) << QByteArray(text) << value;
        };
        row(" \t16001 \r\n", 16001);
        row("16001.5", 16001.5F);
        row("1.6001e4", 16001);
        row("1,234,567", 1234567);
        row("-7", -7);
        row("+7", 7);
        row(".5", 0.5F);
        row("5.", 5);
        for (const char* text : {"1,5", "12,34", "1234,567", ",123", "", "1e39", "1e-50", "nan",
                                 "-", "1.5e", "12x", "2D2", "1.2.3", "16 001"})
            row(text, qQNaN());
    }
    void answerValues() {
        QFETCH(QByteArray, text);
        QFETCH(float, value);
        QCOMPARE(valueFromText(text.toStdString()).value_or(qQNaN()), value);
    }

    void loginFields_data() {
        QTest::addColumn<QByteArray>("typed");  // UTF-8
        QTest::addColumn<QByteArray>("sent");   // Latin-1; empty when refused
        const auto row = [](const char* name, const char* typed, const char* sent = "") {
            QTest::newRow(name) << QByteArray(typed) << QByteArray(sent);
        };
        row("a pasted line end is dropped", "Aramir\r\n", "Aramir");
        row("Latin-1 letters are one byte each", "~\xC2\xA0Zo\xC3\xAB", "~\xA0Zo\xEB");
        row("a line break inside", "Ara\nmir");
        row("a tab", "se\tcret");
        row("a C1 control", "se\xC2\x85");
        row("DEL", "se\x7F");
        row("a letter beyond Latin-1", "\xC5\x81ukasz");
        row("the euro sign", "\xE2\x82\xAC");
    }
    void loginFields() {
        QFETCH(QByteArray, typed);
        QFETCH(QByteArray, sent);
        const LoginField field = loginField(typed.toStdString(), "name");
        QCOMPARE(QByteArray::fromStdString(field.bytes), sent);
        QCOMPARE(field.problem.empty(), !sent.isEmpty());
    }

    void display_data() {
        QTest::addColumn<QByteArray>("arrived");
        QTest::addColumn<QByteArray>("shown");
        auto row = [](const char* name, const char* arrived, const char* shown) {
            QTest::newRow(name) << QByteArray(arrived) << QByteArray(shown);
        };
        row("Go Ahead ends the line, a blank before it stays", "A\xFF\xF9 B \xFF\xF9",
            "A\r\n B \r\n");
        row("WILL ECHO and WON'T ECHO end the line", "P\xFF\xFB\x01Q\xFF\xFC\x01", "P\r\nQ\r\n");
        row("a blank and an FF vanish", "a \xFF\xFDz \xFF", "a\xFDz");
        row("other FFs are shown", "a\xFFz\xFF\xFB\x03", "a\xFFz\xFF\xFB\x03");
        row("LF becomes CR LF, also after a CR", "1\n2\r\n", "1\r\n2\r\r\n");
        const QByteArray line(kShownLineLimit, 'x');
        QTest::newRow("long lines are broken")
            << line + "y\r" + line + "\n" + line + "\r\nz"
            << line + "\r\ny\r" + line.left(kShownLineLimit - 1) + "\r\nx\r\n" + line + "\r\r\nz";
    }
    void display() {
        QFETCH(QByteArray, arrived);
        QFETCH(QByteArray, shown);
        for (qsizetype cut = 0; cut <= arrived.size(); ++cut) {
            Game game;
            std::string seen = game.dialogue->arrive(arrived.left(cut).toStdString()).shown;
            seen += game.dialogue->arrive(arrived.mid(cut).toStdString()).shown;
            QVERIFY2(QByteArray::fromStdString(seen) == shown, qPrintable(QString::number(cut)));
        }
    }

    // Arrivals and presses: every stored price answers its own commodity at its own post, a
    // run's post changes only as a whole, and nothing else changes.
    void sequences_data() {
        QTest::addColumn<Play>("play");
        QTest::addColumn<QList<int>>("completed");  // posts whose runs completed, in order
        QTest::addColumn<QList<int>>("kept");       // commodities that kept their earlier price
        QTest::addColumn<int>("unfinished");        // post of a run whose answers stay in memory
        QTest::addColumn<QString>("said");          // part of the notes in the log
        struct Expected {
            QList<int> completed = {kSeaSEnd};
            QList<int> kept = {};
            int unfinished = 0;
            QString said = {};
        };
        const auto row = [](const std::string& name, const Expected& e, const Play& play) {
            QTest::newRow(name.c_str()) << play << e.completed << e.kept << e.unfinished << e.said;
        };
        static const std::string bob = "Bob says, '", refusal = answer(keeper(16), "nothing");
        static const std::string chat = "Bob says, 'See you at Caldmoor Trading Shop.'\r\n";
        const Expected notConnected{.said = "(not connected)"};

        row("ordinary run, Value while an answer is awaited",
            {.said = QString::fromStdString(std::string(commodityName(1)))},
            [](Game& g) { g.start().value().answers(88); });
        row("another player's refusal, Value, the late answer, quotes with a number",
            {.said = "Bob says"}, [](Game& g) {
                g.start().answers(2).say(answer(bob, "lots")).value().answers(38);
                g.say(answer(bob, "999") + bob + answer(keeper(16), "998")).answers(48);
            });
        row("another player's refusal, the answer and a second in one arrival", {}, [](Game& g) {
            g.start().answers(2);
            g.reply(answer(bob, "lots") + answer(keeper(16), "16003") + answer(keeper(16), "5"));
            g.answers(85);
        });
        row("chat naming another shop, also after a reconnect", {},
            [](Game& g) { g.start().answers(30).say(chat).start().say(chat).answers(58); });
        row("reconnect at another post that names it on look",
            {.completed = {1}, .said = "Caldmoor"}, [](Game& g) {
                g.start().answers(30).say("Sea's End Direct").hangUp().moveTo(1).connect();
                g.say(" Merchants\r\n").value().place().answers(88);
            });
        row("reconnect at the same post resumes once it is named", {},
            [](Game& g) { g.start().answers(30).hangUp().connect().value().place().answers(58); });
        row("Value while connecting, then while logging in", notConnected, [](Game& g) {
            g.start().answers(3).connect(0).value().connect(1).value().start().answers(85);
        });
        row("an answer begun before the value command", {}, [](Game& g) {
            g.connect().place().say(keeper(16) + "We'll pay you cov").value();
            g.say("ered: 999 coins of gold for that.'\r\n").answers(88);
        });
        row("Value after the line closed", notConnected,
            [](Game& g) { g.start().answers(3).hangUp().value().start().answers(85); });
        row("an answer nobody asked for, quoted short", {.said = "\"123456789012345678901234...\""},
            [](Game& g) {
                g.connect().place().say(answer(keeper(16), "1234567890123456789012345"));
                g.value().answers(88);
            });
        row("the highest shop index wins, once", {.completed = {19}}, [](Game& g) {
            g.moveTo(19).connect().say("A Minotaur Trading Outpost, Caldmoor Trading Shop");
            g.say("\r\n").value().answers(88);
        });
        row("a flood without line breaks", {},
            [](Game& g) { g.start().say(std::string(5000, 'x')).answers(88); });
        row("the shopkeeper's refusal, Value goes on without it", {.kept = {3}, .said = "nothing"},
            [](Game& g) { g.start().answers(2).reply(refusal).value().answers(85); });
        row("a refusal of the last, Value completes", {.kept = {88}},
            [](Game& g) { g.start().answers(87).reply(refusal).value(); });
        row("an answer too short for a value is a refusal", {.kept = {1}}, [](Game& g) {
            g.start().reply(keeper(16) + "We'll pay you 5 gold for that.'\r\n");
            g.value().answers(87);
        });
        row("a refusal, Connect and Value ask again", {},
            [](Game& g) { g.start().answers(2).reply(refusal).start().answers(86); });
        row("a post left after a skip gets everything back", {.completed = {1}}, [](Game& g) {
            g.start().answers(2).reply(refusal).value().answers(10).hangUp();
            g.moveTo(1).start().answers(88);
        });
        row("a run cut short keeps its answers in memory", {.completed = {}, .unfinished = 16},
            [](Game& g) { g.start().answers(30).hangUp(); });
        row("closing the window abandons the run", {.completed = {}},
            [](Game& g) { g.start().answers(30).dialogue.reset(); });
        row("a second run starts at the first commodity",
            {.completed = {kSeaSEnd, 1}, .said = "(not connected)"},
            [](Game& g) { g.start().answers(88).value().moveTo(1).start().answers(88); });
        for (std::size_t cut = 0; cut <= 120; ++cut)
            row("answer cut at " + std::to_string(cut), {},
                [cut](Game& g) { g.start().answers(88, cut); });
        for (std::size_t cut = 0; cut <= 42; ++cut)
            row("shop cut at " + std::to_string(cut), {},
                [cut](Game& g) { g.connect().place(cut).value().answers(88); });
    }
    void sequences() {
        QFETCH(Play, play);
        QFETCH(QList<int>, completed);
        QFETCH(QList<int>, kept);
        QFETCH(int, unfinished);
        QFETCH(QString, said);
        Game game;
        play(game);
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            QCOMPARE(game.data.stamp(tp), completed.contains(tp) ? kReading : 10.0F);
            for (int c = 1; c <= kCommodityCount; ++c) {
                const float price = game.data.value(tp, c);
                const float answered = 1000.0F * tp + c;
                if (completed.contains(tp))
                    QCOMPARE(price, kept.contains(c) ? 1.0F : answered);
                else
                    QVERIFY(price == 1.0F || (tp == unfinished && price == answered));
            }
        }
        QCOMPARE(game.completed, completed);
        QCOMPARE(game.silentPresses, 0);
        QVERIFY(game.shownShop.empty() || game.shownShop == tradingPost(game.at).shopName);
        QCOMPARE(game.kept, kept);
        QCOMPARE(game.data.buffers.hourClockScratch, completed.isEmpty() ? 0.0F : kReading);
        QVERIFY2(game.notes.find(said.toStdString()) != std::string::npos, game.notes.c_str());
    }

    void completionNamesWhatKeptItsPrice() {
        const std::string text = completionText({kSeaSEnd, {3, 88}});
        QVERIFY(text.starts_with(completionText({})) && text.ends_with(commodityName(88)));
        QVERIFY(text.find(commodityName(3)) != std::string::npos);
    }
};

QTEST_APPLESS_MAIN(ValuingDialogueTest)
#include "test_valuing_dialogue.moc"

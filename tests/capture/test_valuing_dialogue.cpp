#include <QTest>
#include <algorithm>
#include <deque>

#include "core/catalogue.h"
#include "rules/capture/valuing_dialogue.h"
#include "support/test_platform.h"

using namespace ledgerly;

namespace {

constexpr int kSeaSEnd = 16;

// The shopkeeper's usual answer; nine characters before the value and ten after it are skipped.
std::string answer(const std::string& value) {
    return "The shopkeeper says, 'We'll pay you covered: " + value +
           " coins of gold for that.'\r\n";
}

// The dialogue against a game at whose post `at` the shopkeeper names 1000 x post + commodity.
struct Game {
    TradeData data;
    ValuingSession session;
    ValuingDialogue dialogue{data, session};
    int at = kSeaSEnd;
    std::deque<int> asked;  // value commands heard and not answered yet
    std::string notes;

    Game() { testing::setNeverValued(data); }
    void send(const std::vector<std::string>& lines) {
        for (int c = 1; c <= kCommodityCount; ++c) {
            if (std::ranges::count(lines, "value " + std::string(commodityName(c)) + " covered"))
                asked.push_back(c);
        }
    }
    void arrive(const std::string& text, std::size_t cut = std::string::npos) {
        for (const std::string& part :
             {text.substr(0, cut), text.substr(std::min(cut, text.size()))}) {
            const ArrivalOutcome out = dialogue.arrive(part);
            for (const std::string& note : out.notes)
                notes += note + '\n';
            if (out.ask)
                send({*out.ask});
            if (out.complete)
                dialogue.finishRun(500.0F);
        }
    }
    // "connect", "move TP", "place [cut N]", "value", "say TEXT", "reply TEXT" (to the oldest
    // command), "answer [N times | cut N]".
    void step(const std::string& step) {
        const std::string verb = step.substr(0, step.find(' '));
        const std::string rest = step.substr(std::min(step.size(), verb.size() + 1));
        const std::size_t cut =
            rest.starts_with("cut ") ? std::stoul(rest.substr(4)) : std::string::npos;
        if (verb == "connect") {
            asked.clear();
            dialogue.connectPressed("Aramir", "pw");
            dialogue.connected();
            dialogue.pauseOver();
        } else if (verb == "move") {
            at = std::stoi(rest);
        } else if (verb == "place") {
            arrive("\r\nYou are in " + std::string(tradingPost(at).shopName) + ".\r\n", cut);
        } else if (verb == "value") {
            const ValuePress press = dialogue.valuePressed(true);
            notes += press.note;
            send(press.lines);
        } else if (verb == "say" || verb == "reply") {
            if (verb == "reply")
                asked.pop_front();
            arrive(rest);
        }
        for (int n = std::max(1, std::atoi(rest.c_str()));
             verb == "answer" && n > 0 && !asked.empty(); --n) {
            const int price = 1000 * at + asked.front();
            asked.pop_front();
            arrive("Bob: We'll pay you back!\r\n" + answer(std::to_string(price)), cut);
        }
    }
};

}  // namespace

class ValuingDialogueTest : public QObject {
    Q_OBJECT
private slots:
    void progressIsCutToTenthsAndCapped() {
        QCOMPARE(progressText(5, ","), "Getting Values   5,6%");  // 5 x 1.14 is just below 5.7
        QCOMPARE(progressText(15), "Getting Values   17%");
        QCOMPARE(progressText(88), "Getting Values   100%");
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
    }
    void display() {
        QFETCH(QByteArray, arrived);
        QFETCH(QByteArray, shown);
        for (qsizetype cut = 0; cut <= arrived.size(); ++cut) {
            Game game;
            std::string seen = game.dialogue.arrive(arrived.left(cut).toStdString()).shown;
            seen += game.dialogue.arrive(arrived.mid(cut).toStdString()).shown;
            QVERIFY2(QByteArray::fromStdString(seen) == shown, qPrintable(QString::number(cut)));
        }
    }

    // Arrivals and presses, each checked against one promise: every stored price answers its
    // own commodity at the run's post, and nothing else changes.
    void sequences_data() {
        QTest::addColumn<QByteArray>("steps");
        QTest::addColumn<QString>("said");   // part of the notes in the log
        QTest::addColumn<int>("completed");  // the post whose run completes
        auto row = [](const std::string& name, const std::string& steps, const char* said = "",
                      int completed = kSeaSEnd) {
            QTest::newRow(name.c_str()) << QByteArray::fromStdString(steps) << said << completed;
        };
        // The first answer, 16001, in its forms; a refused text leaves the answer awaited.
        const std::string start = "connect|place|value|";
        const std::string rest = "|answer 87";
        for (const char* value : {"16001.0", "1.6001e4", "  16001 ", "16,001"})
            row(std::string("value ") + value, start + "reply " + answer(value) + rest);
        row("refused chat, the real answer, a second one",
            start + "reply " + answer("lots") + answer("16001") + answer("5") + rest, "Connect");
        for (const char* value : {"1,5", "12,34", "", "1e39", "nan", "-", "1.5e", "12x"})
            row(std::string("refused ") + value, start + "say " + answer(value) + "|answer 88",
                "Connect");
        row("too short", start + "say We'll pay you 5 gold for that.|answer 88", "Connect");
        const std::string chat = "say Bob says, 'See you at Caldmoor Trading Shop.'\r\n";
        row("ordinary run", start + "answer 88");
        row("refused text, Value, then the late answer",
            start + "answer 2|say " + answer("lots") + "|value|answer 86", "Connect");
        row("chat naming another shop", start + "answer 40|" + chat + "|answer 48");
        row("reconnect, Value, chat naming another shop",
            start + "answer 30|" + start + chat + "|answer 58");
        row("reconnect at another post starts it afresh",
            start + "answer 30|move 1|" + start + "answer 88", "starts again", 1);
        row("Value before the post is known", "connect|value|place|value|answer 88", "not known");
        row("an answer nobody asked for", "connect|place|say " + answer("9") + "|value|answer 88",
            "not asked for");
        const std::string shops = "say A Minotaur Trading Outpost, Caldmoor Trading Shop|say \r\n";
        row("the highest shop index wins, once", "move 19|connect|" + shops + "|value|answer 88",
            "", 19);
        for (int cut = 0; cut <= 105; ++cut)
            row("answer cut at " + std::to_string(cut),
                start + "answer cut " + std::to_string(cut) + rest);
        for (int cut = 0; cut <= 42; ++cut)
            row("shop cut at " + std::to_string(cut),
                "connect|place cut " + std::to_string(cut) + "|value|answer 88");
    }
    void sequences() {
        QFETCH(QByteArray, steps);
        QFETCH(QString, said);
        QFETCH(int, completed);
        Game game;
        for (const QByteArray& step : steps.split('|'))
            game.step(step.toStdString());
        for (int tp = 1; tp <= kTradingPostCount; ++tp) {
            QCOMPARE(game.data.stamp(tp), tp == completed ? 500.0F : 10.0F);
            for (int c = 1; c <= kCommodityCount; ++c) {
                const float price = game.data.value(tp, c);
                QVERIFY(price == 1000.0F * tp + c || (price == 1.0F && tp != completed));
            }
        }
        QVERIFY2(game.notes.find(said.toStdString()) != std::string::npos, game.notes.c_str());
    }
};

QTEST_APPLESS_MAIN(ValuingDialogueTest)
#include "test_valuing_dialogue.moc"

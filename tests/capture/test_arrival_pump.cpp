#include <QTest>
#include <deque>
#include <string>
#include <vector>

#include "capture/arrival_pump.h"

using namespace ledgerly;

namespace {

// Stands in for a socket: each chunk is what one read returns.
struct Chunks {
    std::deque<std::string> waiting;
    long long bytesAvailable() const { return waiting.empty() ? 0 : waiting.front().size(); }
    std::string readAll() {
        std::string front = waiting.front();
        waiting.pop_front();
        return front;
    }
};

}  // namespace

class ArrivalPumpTest : public QObject {
    Q_OBJECT
private slots:
    void dataThatCameInDuringHandlingIsStillTaken() {
        ArrivalPump pump;
        Chunks socket{{"answer 1"}};
        std::vector<std::string> handled;
        int nestedCalls = 0;
        bool nestedResult = false;
        auto handle = [&](const std::string& bytes) -> bool {
            handled.push_back(bytes);
            if (bytes == "answer 1") {
                // While the handler lets events run, the next answer comes in and the socket
                // would announce it again; that announcement must neither nest nor be lost.
                socket.waiting.push_back("answer 2");
                ++nestedCalls;
                nestedResult = pump.drain(socket, [&](const std::string& inner) {
                    handled.push_back("nested " + inner);
                    return true;
                });
            }
            return true;
        };
        QVERIFY(pump.drain(socket, handle));
        QCOMPARE(nestedCalls, 1);
        QVERIFY(nestedResult);
        QCOMPARE(handled, (std::vector<std::string>{"answer 1", "answer 2"}));
        QVERIFY(!pump.draining());
    }

    void ownerGoneStopsAtOnce() {
        ArrivalPump pump;
        Chunks socket{{"first", "second"}};
        int handled = 0;
        QVERIFY(!pump.drain(socket, [&](const std::string&) {
            ++handled;
            return false;
        }));
        QCOMPARE(handled, 1);
        QCOMPARE(socket.waiting.size(), std::size_t{1});
    }

    void pumpIsReadyAgainAfterEachDrain() {
        ArrivalPump pump;
        Chunks socket;
        int handled = 0;
        auto count = [&](const std::string&) { return ++handled > 0; };
        QVERIFY(pump.drain(socket, count));
        socket.waiting = {"a", "b", "c"};
        QVERIFY(pump.drain(socket, count));
        socket.waiting = {"d"};
        QVERIFY(pump.drain(socket, count));
        QCOMPARE(handled, 4);
    }
};

QTEST_APPLESS_MAIN(ArrivalPumpTest)
#include "test_arrival_pump.moc"

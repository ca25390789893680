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
    void dataThatCameInDuringHandlingIsTakenWithoutNesting() {
        ArrivalPump pump;
        Chunks socket{{"answer 1"}};
        std::vector<std::string> handled;
        bool nestedResult = false;
        auto handle = [&](const std::string& bytes) -> bool {
            handled.push_back(bytes);
            if (bytes == "answer 1") {
                // While the handler lets events run, the next answer comes in and the socket
                // announces it again; the announcement must neither nest nor be lost.
                socket.waiting.push_back("answer 2");
                nestedResult = pump.drain(socket, [&](const std::string& inner) {
                    handled.push_back("nested " + inner);
                    return true;
                });
            }
            return true;
        };
        QVERIFY(pump.drain(socket, handle));
        QVERIFY(nestedResult);
        QCOMPARE(handled, (std::vector<std::string>{"answer 1", "answer 2"}));
        socket.waiting = {"answer 3"};  // and the pump is ready for the next announcement
        QVERIFY(pump.drain(socket, handle));
        QCOMPARE(handled.back(), std::string("answer 3"));
    }

    void ownerGoneStopsAtOnce() {
        ArrivalPump pump;
        Chunks socket{{"first", "second"}};
        QVERIFY(!pump.drain(socket, [](const std::string&) { return false; }));
        QCOMPARE(socket.waiting.size(), std::size_t{1});
    }
};

QTEST_APPLESS_MAIN(ArrivalPumpTest)
#include "test_arrival_pump.moc"

// An Auto Valuer made the way the main window makes it, talking to a fake game server on
// 127.0.0.1, with the steps a user takes at it.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "capture/capture_windows.h"
#include "support/test_platform.h"
#include "support/wait_until.h"
#include "tests/capture/fake_game_server.h"

namespace ledgerly::testing {

// What the program sends after Connect for the name and password typeLogin() types.
inline QByteArray capturedLoginBytes() {
    return "Aramir\r\nse cret\r\n\r\n \r\n \r\n \r\n";
}

struct CaptureValuer {
    TestContext t;
    FakeGameServer server;
    ToolWindowCatalogue catalogue;
    std::unique_ptr<QWidget> window;

    CaptureValuer() {
        setNeverValued(t.data);
        t.platform.gameEndpoint = {QStringLiteral("127.0.0.1"), server.port()};
        t.platform.loginPause = std::chrono::milliseconds(5);
        addCaptureWindows(catalogue, t.context);
        open();
    }
    void open() {
        window.reset(catalogue.at(QStringLiteral("Command12"))(nullptr));
        window->show();
    }
    template <typename T>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // The log shows text at the next repaint, a moment after it arrives.
    QString log() const {
        const auto* pacer = window->findChild<QTimer*>(QStringLiteral("paintPacer"));
        waitUntil([&] { return !pacer || !pacer->isActive(); });
        return find<QPlainTextEdit>("txtmain")->toPlainText();
    }
    QString at() const { return find<QLineEdit>("txttpat")->text(); }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }

    void typeLogin() {
        find<QLineEdit>("txtpname")->clear();
        find<QLineEdit>("txtppass")->clear();
        QTest::keyClicks(find<QLineEdit>("txtpname"), QStringLiteral("Aramir"));
        QTest::keyClicks(find<QLineEdit>("txtppass"), QStringLiteral("se cret"));
    }
    // Connect and wait until the login is out and the shop recognised.
    bool connectAndLogIn() {
        click("Command2");
        return waitUntil([&] {
            return !server.received.isEmpty() &&
                   server.received.last().endsWith(capturedLoginBytes()) &&
                   at() == QStringLiteral("Sea's End Direct Merchants");
        });
    }
    bool waitForMessage(int timeoutMs = 5000) {
        return waitUntil([&] { return !t.messages.shown.isEmpty(); }, timeoutMs);
    }
};

}  // namespace ledgerly::testing

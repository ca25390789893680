#include "test_platform.h"

#include <QDir>
#include <QFile>

namespace ledgerly::testing {

void RecordingMessages::inform(QWidget* /*parent*/, const QString& text, const QString& caption) {
    shown.append({text, caption});
    if (whileShown)
        whileShown();
}

TestContext::TestContext()
    : platform{messages,
               clipboard,
               clock,
               QDir(folder.path()).filePath(QStringLiteral("tradevalues.txt")),
               {QStringLiteral("127.0.0.1"), 1},
               std::chrono::milliseconds(0)},
      context{data, platform} {}

void setNeverValued(TradeData& data) {
    data.setDefaults();
    data.raiseLowValues();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

}  // namespace ledgerly::testing

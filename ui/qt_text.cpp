#include "ui/qt_text.h"

#include <QLocale>

namespace ledgerly {

std::string localeDecimalSeparator() {
    return QLocale().decimalPoint().toStdString();
}

}  // namespace ledgerly

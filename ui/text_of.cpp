#include "text_of.h"

#include <QLocale>

namespace ledgerly {

std::string localeDecimalSeparator() {
    return QLocale().decimalPoint().toStdString();
}

}  // namespace ledgerly

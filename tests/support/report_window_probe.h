// Reads and drives the report windows the way a user does: by control name, through the picker
// and the button beside it.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "reports/report_windows.h"

namespace ledgerly::testing {

// The band colours as a box shows them.
inline const QColor kRed(0xFF0000);
inline const QColor kYellow(0xFFFF00);
inline const QColor kGreen(0x00FF00);
inline const QColor kBlue(0x0000FF);

// A missing control stops the test run: a renamed control must never pass by accident.
template <typename T = QWidget>
T* control(const QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("%s has no control %s", qPrintable(window.objectName()), qPrintable(name));
    return found;
}

inline QString textOf(const QWidget& window, const QString& name) {
    QWidget* widget = control(window, name);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        return box->text();
    if (auto* button = qobject_cast<QPushButton*>(widget))
        return button->text();
    if (auto* list = qobject_cast<QComboBox*>(widget))
        return list->currentIndex() < 0 ? list->placeholderText() : list->currentText();
    return QStringLiteral("<not a text control>");
}

inline QColor backgroundOf(const QWidget& window, const QString& name) {
    return control<QLineEdit>(window, name)->palette().color(QPalette::Base);
}

// Row r of a top-40 window as "name|value|town[|destination]".
inline QString rankedRow(const QWidget& window, int r) {
    const QString n = QString::number(r);
    QString text = textOf(window, "Label22_" + n) + u'|' + textOf(window, "txtbestvalue_" + n) +
                   u'|' + textOf(window, "txttp_" + n);
    if (window.findChild<QLineEdit*>("txtto_" + n))
        text += u'|' + textOf(window, "txtto_" + n);
    return text;
}

// The window the main window's button `button` opens, made as the main window makes it.
inline std::unique_ptr<QWidget> makeReportWindow(AppContext& context, const QString& button) {
    ToolWindowCatalogue catalogue;
    addReportWindows(catalogue, context);
    const auto factory = catalogue.find(button);
    if (factory == catalogue.end())
        qFatal("no window for %s", qPrintable(button));
    return std::unique_ptr<QWidget>(factory->second(nullptr));
}

// Picks trading post tp from the drop-down, then presses the button beside it.
inline void pickAndPress(QWidget& window, int tp) {
    control<QComboBox>(window, QStringLiteral("Combo1"))->setCurrentIndex(tp - 1);
    QTest::mouseClick(control<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
}

// The object names of the first `count` focusable controls, starting at `first`.
inline QStringList focusChain(const QWidget& window, const QString& first, int count) {
    QWidget* widget = control(window, first);
    QStringList names{widget->objectName()};
    while (names.size() < count) {
        widget = widget->nextInFocusChain();
        if (widget == &window)
            break;
        if (widget->focusPolicy() != Qt::NoFocus)
            names << widget->objectName();
    }
    return names;
}

}  // namespace ledgerly::testing

// SPDX-FileCopyrightText: 2026 The Ledgerly developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/reports/all_payoffs_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "rules/reports/top_forty_reports.h"
#include "ui/qt_text.h"
#include "ui/trading_post_picker.h"
#include "ui/widget_helpers.h"
#include "windows/reports/age_of_values_row.h"
#include "windows/reports/picker_row.h"

namespace ledgerly {
namespace {

constexpr int kFrameColumns = 5;

QLineEdit* frameBox(const QString& name, const QString& accessibleName, const QString& widest,
                    QWidget* parent) {
    auto* box = readOnlyBox(name, widest, parent);
    box->setAccessibleName(accessibleName);
    // 270 boxes: keep each as narrow as its content so that all frames fit across the screen.
    box->setFixedWidth(box->minimumWidth());
    return box;
}

}  // namespace

AllPayoffsWindow::AllPayoffsWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmallvalues"));
    setWindowTitle(QStringLiteral("All Values"));

    pickerRow_ =
        new PickerRow(QStringLiteral("Pick TP that you want to show all payoffs for"), this);
    ageRow_ = new AgeOfValuesRow(this);

    // The scroll area holds the frames; it is made first so that the boxes belong to this window
    // while the tab order is set up.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* framesHolder = new QWidget(scroll);
    auto* framesGrid = new QGridLayout(framesHolder);
    framesGrid->setContentsMargins(0, 0, 0, 0);
    const QString widestName = widestCommodityName(fontMetrics());
    std::vector<QWidget*> tabOrder{pickerRow_->picker(), pickerRow_->getButton(),
                                   ageRow_->ageBox()};
    for (int f = 1; f <= kAllPayoffsFrames; ++f) {
        const AllPayoffsFrame& design = kAllPayoffsFrameTable[static_cast<std::size_t>(f)];
        const QString caption = qtText(design.caption);
        auto* frame = new QGroupBox(caption, framesHolder);
        frame->setObjectName(QStringLiteral("Frame%1").arg(f));
        auto* rows = new QGridLayout(frame);
        rows->setVerticalSpacing(2);
        rows->setHorizontalSpacing(3);
        rows->setContentsMargins(4, 4, 4, 4);
        for (int k = 1; k <= kGoodsSlotCount; ++k) {
            const int n = allPayoffsBox(f, k);
            const QString where = QStringLiteral("%1 row %2").arg(caption).arg(k);
            Boxes& boxes = boxes_[static_cast<std::size_t>(n)];
            boxes.name = frameBox(QStringLiteral("txtgname_%1").arg(n),
                                  where + QStringLiteral(" commodity"), widestName, frame);
            // From ten million on a value shows in exponent form, which is wider than any
            // plain seven-digit value; a box that cut it would show a different number.
            boxes.value =
                frameBox(QStringLiteral("txtvalue_%1").arg(n), where + QStringLiteral(" payoff"),
                         QStringLiteral("9.999999E+07"), frame);
            boxes.value->setAlignment(Qt::AlignRight);
            boxes.cpm = frameBox(QStringLiteral("txtcpm_%1").arg(n), where + QStringLiteral(" CPM"),
                                 QStringLiteral("999999"), frame);
            boxes.cpm->setAlignment(Qt::AlignRight);
            rows->addWidget(boxes.name, k - 1, 0);
            rows->addWidget(boxes.value, k - 1, 1);
            rows->addWidget(boxes.cpm, k - 1, 2);
            tabOrder.insert(tabOrder.end(), {boxes.name, boxes.value, boxes.cpm});
        }
        // Five frames across and four down fit a 1280 x 800 screen; the scroll area keeps every
        // box reachable on a smaller one.
        framesGrid->addWidget(frame, (f - 1) / kFrameColumns, (f - 1) % kFrameColumns);
    }
    chainTabOrder(tabOrder);
    scroll->setWidget(framesHolder);
    scroll->setWidgetResizable(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pickerRow_);
    layout->addWidget(ageRow_);
    layout->addWidget(scroll, 1);

    // Open showing every frame where the screen allows it.
    const QSize wanted = framesHolder->sizeHint() + QSize(40, 110);
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(wanted.width(), screen.width()), std::min(wanted.height(), screen.height()));

    connect(pickerRow_->getButton(), &QPushButton::clicked, this, &AllPayoffsWindow::showReport);
}

void AllPayoffsWindow::showReport() {
    const auto destination = pickerRow_->picker()->chosenTradingPost();
    if (!destination)
        return;
    const auto view = allPayoffsTo(context_.data, context_.platform.clock, *destination,
                                   localeDecimalSeparator());
    if (!view)
        return;
    ageRow_->render(view->age);
    for (int n = 1; n <= kAllPayoffsBoxes; ++n) {
        const AllPayoffsRowView& row = view->rows[static_cast<std::size_t>(n)];
        const Boxes& boxes = boxes_[static_cast<std::size_t>(n)];
        boxes.cpm->setText(qtText(row.cpm));
        if (row.value)
            boxes.value->setText(qtText(*row.value));
        if (row.name)
            boxes.name->setText(qtText(*row.name));
        paintBackground(boxes.value, bandRgb(row.valueColour));
        paintBackground(boxes.cpm, bandRgb(row.cpmColour));
    }
}

}  // namespace ledgerly

#include "reports/ranking_rows_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include "app/text_of.h"
#include "app/trading_post_picker.h"
#include "core/catalogue.h"

namespace ledgerly {
namespace {

constexpr int kRowsPerColumn = 20;

QLabel* fixedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// Leaves the control alone when the report says nothing about it.
void applyText(QLabel* label, const std::optional<std::string>& text) {
    if (label && text)
        label->setText(qtText(*text));
}

void applyText(QLineEdit* box, const std::optional<std::string>& text) {
    if (box && text)
        box->setText(qtText(*text));
}

// The widest names a row can show in this font, so that no town or commodity is cut off.
QString widestOf(const QFontMetrics& metrics, const QStringList& candidates) {
    QString found;
    for (const QString& candidate : candidates) {
        if (metrics.horizontalAdvance(candidate) > metrics.horizontalAdvance(found)) {
            found = candidate;
        }
    }
    return found;
}

QStringList townNames() {
    QStringList towns;
    for (int tp = 1; tp <= kTradingPostCount; ++tp)
        towns << qtText(tradingPost(tp).townName);
    return towns;
}

}  // namespace

QString widestCommodityName(const QFontMetrics& metrics) {
    QStringList names;
    for (int c = 0; c <= kCommodityCount; ++c)
        names << qtText(commodityName(c));
    return widestOf(metrics, names);
}

QLineEdit* readOnlyBox(const QString& name, const QString& widest, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    // Room for the frame and the text margins on top of the text itself.
    constexpr int kFrameAndMargins = 14;
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(widest) + kFrameAndMargins);
    return box;
}

QColor bandQColor(BandColour colour) {
    return QColor::fromRgb(bandRgb(colour));
}

void paintBand(QLineEdit* box, BandColour colour) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, bandQColor(colour));
    // Black on pure blue is hard to read; every other band is light enough for black.
    palette.setColor(QPalette::Text, colour == BandColour::Blue ? Qt::white : Qt::black);
    box->setPalette(palette);
    box->setAutoFillBackground(true);
}

RankingRowsPanel::RankingRowsPanel(const RankingRowsOptions& options, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("RankingRowsPanel"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);

    // Columns of one half: number, name, value, [after value], trading post, [To, destination].
    const bool afterValue = !options.labelAfterValue.isEmpty();
    const int columnsPerHalf = 4 + (afterValue ? 1 : 0) + (options.withDestination ? 2 : 0);
    const int gapColumn = columnsPerHalf;
    grid->setColumnMinimumWidth(gapColumn, fontMetrics().averageCharWidth() * 3);

    const QString widestTown = widestOf(fontMetrics(), townNames());
    const QString widestName = widestCommodityName(fontMetrics());
    for (int r = 1; r <= kRankingRows; ++r) {
        const bool left = r <= kRowsPerColumn;
        const int gridRow = left ? r - 1 : r - 1 - kRowsPerColumn;
        int column = left ? 0 : gapColumn + 1;
        const QString n = QString::number(r);
        Row& row = rows_[r];

        row.number = fixedLabel(QStringLiteral("Label%1").arg(left ? r + 1 : r + 3),
                                QStringLiteral("%1.").arg(r), this);
        row.number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(row.number, gridRow, column++);

        row.name = fixedLabel(QStringLiteral("Label22_%1").arg(r), QStringLiteral("Good"), this);
        row.name->setMinimumWidth(fontMetrics().horizontalAdvance(widestName));
        grid->addWidget(row.name, gridRow, column++);

        // Room for the largest figure a row can hold, so that no value is shown cut short.
        row.value = readOnlyBox(QStringLiteral("txtbestvalue_%1").arg(r),
                                QStringLiteral("2147483647"), this);
        row.value->setAlignment(Qt::AlignRight);
        row.value->setAccessibleName(QStringLiteral("Row %1 %2").arg(n, options.valueMeaning));
        grid->addWidget(row.value, gridRow, column++);

        if (afterValue) {
            grid->addWidget(fixedLabel(QStringLiteral("lblAfterValue_%1").arg(r),
                                       options.labelAfterValue, this),
                            gridRow, column++);
        }

        row.tradingPost = readOnlyBox(QStringLiteral("txttp_%1").arg(r), widestTown, this);
        row.tradingPost->setAccessibleName(
            QStringLiteral("Row %1 %2").arg(n, options.tradingPostMeaning));
        grid->addWidget(row.tradingPost, gridRow, column++);

        if (options.withDestination) {
            grid->addWidget(
                fixedLabel(QStringLiteral("lblTo_%1").arg(r), QStringLiteral("To"), this), gridRow,
                column++);
            row.destination = readOnlyBox(QStringLiteral("txtto_%1").arg(r), widestTown, this);
            row.destination->setAccessibleName(QStringLiteral("Row %1 destination").arg(n));
            grid->addWidget(row.destination, gridRow, column++);
        }
    }

    // Tab through the rows in reading order: row 1 to 40, each row left to right.
    QWidget* previous = nullptr;
    for (int r = 1; r <= kRankingRows; ++r) {
        for (QWidget* box :
             {static_cast<QWidget*>(rows_[r].value), static_cast<QWidget*>(rows_[r].tradingPost),
              static_cast<QWidget*>(rows_[r].destination)}) {
            if (!box)
                continue;
            if (previous)
                setTabOrder(previous, box);
            previous = box;
        }
    }
}

QWidget* RankingRowsPanel::firstInTabOrder() const {
    return rows_[1].value;
}

QWidget* RankingRowsPanel::lastInTabOrder() const {
    const Row& last = rows_[kRankingRows];
    if (last.destination)
        return last.destination;
    return last.tradingPost;
}

void RankingRowsPanel::render(const RankingReportView& view) {
    for (int r = 1; r <= kRankingRows; ++r) {
        const RankedRowView& shown = view.rows[r];
        Row& row = rows_[r];
        row.value->setText(qtText(shown.value));
        applyText(row.name, shown.name);
        applyText(row.tradingPost, shown.tradingPost);
        applyText(row.destination, shown.destination);
    }
    for (int r = 1; r <= kRankingRows; ++r)
        paintBand(rows_[r].value, view.rows[r].colour);
}

AgeOfValuesRow::AgeOfValuesRow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AgeOfValuesRow"));
    auto* valued = fixedLabel(QStringLiteral("Label23"), QStringLiteral("Valued"), this);
    ageBox_ = readOnlyBox(QStringLiteral("Text1"), QStringLiteral("999999.99"), this);
    ageBox_->setAccessibleName(QStringLiteral("Valued hours ago"));
    valued->setBuddy(ageBox_);
    auto* hoursAgo = fixedLabel(QStringLiteral("Label44"), QStringLiteral("hours ago."), this);

    auto* line = new QHBoxLayout(this);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(valued);
    line->addWidget(ageBox_);
    line->addWidget(hoursAgo);
    line->addStretch(1);
}

void AgeOfValuesRow::render(const AgeView& age) {
    ageBox_->setText(qtText(age.text));
    paintBand(ageBox_, age.colour);
}

PickerRow::PickerRow(const QString& prompt, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PickerRow"));
    auto* label = fixedLabel(QStringLiteral("Label1"), prompt, this);
    picker_ = new TradingPostPicker(this);
    picker_->setObjectName(QStringLiteral("Combo1"));
    label->setBuddy(picker_);
    getButton_ = new QPushButton(QStringLiteral("Get"), this);
    getButton_->setObjectName(QStringLiteral("Command1"));
    getButton_->setEnabled(picker_->chosenTradingPost().has_value());
    connect(picker_, &TradingPostPicker::tradingPostChosen, getButton_, &QPushButton::setEnabled);

    auto* line = new QHBoxLayout(this);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(label);
    line->addWidget(picker_);
    line->addWidget(getButton_);
    line->addStretch(1);
    setTabOrder(picker_, getButton_);
}

}  // namespace ledgerly

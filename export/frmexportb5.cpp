#include "frmexportb5.h"

#include <QGridLayout>
#include <QLabel>

#include "app/text_of.h"
#include "app/trading_post_picker.h"
#include "export/export_box.h"
#include "export/export_lines.h"

namespace ledgerly {

frmexportb5::frmexportb5(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("frmexportb5"));
    setWindowTitle(QStringLiteral("Top 5 non-cpk"));

    auto* label1 = new QLabel(QStringLiteral("To"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    to_ = new TradingPostPicker(this);
    to_->setObjectName(QStringLiteral("Combo1"));
    to_->setAccessibleName(QStringLiteral("To trading post"));
    label1->setBuddy(to_);

    auto* get = makeGetButton({to_}, this);
    line_ = makeExportLineBox(this);
    auto* put = makePutIntoClipboardButton(line_, context_.platform.clipboard, this);
    connect(get, &QPushButton::clicked, this, &frmexportb5::getLine);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label1, 0, 0);
    layout->addWidget(to_, 1, 0);
    layout->addWidget(get, 1, 1, Qt::AlignLeft);
    layout->addWidget(line_, 2, 0, 1, 2);
    layout->addWidget(put, 3, 0, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(1, 1);

    setTabOrder(to_, get);
    setTabOrder(get, line_);
    setTabOrder(line_, put);
}

void frmexportb5::getLine() {
    const auto to = to_->chosenTradingPost();
    if (!to)
        return;  // "Get" is disabled then; nothing to rank
    const auto line = topFiveExportLine(context_.data, context_.platform.clock, *to);
    if (line)
        showLine(line_, qtText(*line));
}

}  // namespace ledgerly

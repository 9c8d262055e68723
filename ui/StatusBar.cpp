#include "ui/StatusBar.h"

#include "ui/ByteCodec.h"

#include <QLabel>
#include <QStatusBar>
#include <cstddef>

namespace quorvel::ui {

StatusBar::StatusBar(QWidget* parent) : QObject(parent), bar_(new QStatusBar(parent)) {
    bar_->setObjectName(QStringLiteral("状态条1"));
    for (std::size_t pane = 0; pane < panes_.size(); ++pane) {
        auto* label = new QLabel(bar_);
        label->setTextFormat(Qt::PlainText);
        label->setFixedWidth(kPaneWidths[pane]);
        bar_->addWidget(label);
        panes_[pane] = label;
    }
}

StatusBar::~StatusBar() {
    delete bar_;
}

QStatusBar* StatusBar::widget() const {
    return bar_;
}

void StatusBar::WritePane(int pane, const Text& text) {
    if (pane < 0 || pane >= static_cast<int>(panes_.size())) {
        return;
    }
    const auto at = static_cast<std::size_t>(pane);
    texts_[at] = text;
    panes_[at]->setText(DecodeForDisplay(text));
}

Text StatusBar::ReadPane(int pane) const {
    if (pane < 0 || pane >= static_cast<int>(panes_.size())) {
        return {};
    }
    return texts_[static_cast<std::size_t>(pane)];
}

} // namespace quorvel::ui

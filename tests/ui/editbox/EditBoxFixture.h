#pragma once

#include "ui/EditBox.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace quorvel::ui::testing {

// An edit box filling a shown window, with its TextChanged events counted.
class EditBoxFixture : public ::testing::Test {
public:
    EditBoxFixture() {
        window_.resize(400, 300);
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(box_.widget());
        QObject::connect(&box_, &EditBox::TextChanged, [this] { ++events_; });
        window_.show();
    }

    QPlainTextEdit* Edit() { return box_.widget(); }

    // Writes the text and forgets the event of the write.
    void Start(const Text& text) {
        box_.WriteText(text);
        events_ = 0;
    }

    void PlaceCaret(std::int32_t offset) { box_.SelectRange(offset, offset); }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Edit(), key, modifiers);
    }

    QWidget window_;
    EditBox box_{&window_};
    int events_ = 0;
};

} // namespace quorvel::ui::testing

#include "editor/EditHistory.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quorvel::editor {
namespace {

Text Numbered(int n) {
    return "text " + std::to_string(n);
}

// Seeds with "" and appends texts "text 1" to "text count", caret n for entry n.
void AppendNumbered(EditHistory& history, int count) {
    for (int n = 1; n <= count; ++n) {
        history.Append(Numbered(n), n);
    }
}

TEST(EditHistory, StartsWithOneEmptyEntryAtPositionZeroNotRecording) {
    EditHistory history;
    history.Append("stale", 5);
    history.InitHistory();

    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.Position(), 0);
    EXPECT_FALSE(history.IsRecording());
    EXPECT_EQ(history.Entry(1).text, "");
    EXPECT_EQ(history.Entry(1).caret, 0);
    EXPECT_FALSE(history.StepBack().has_value());
}

TEST(EditHistory, ThreeEditsStepBackToTheSeedAndNoFurther) {
    EditHistory history;
    history.SeedHistory("seed");
    EXPECT_EQ(history.Position(), 1);
    EXPECT_TRUE(history.IsRecording());
    history.Append("seeda", 5);
    history.Append("seedab", 6);
    history.Append("seedabc", 7);
    EXPECT_EQ(history.Count(), 4);
    EXPECT_EQ(history.Position(), 4);

    const std::vector<std::pair<Text, int>> expected{{"seedab", 6}, {"seeda", 5}, {"seed", 0}};
    for (const auto& [text, caret] : expected) {
        const std::optional<HistoryEntry> entry = history.StepBack();
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->text, text);
        EXPECT_EQ(entry->caret, caret);
    }
    EXPECT_EQ(history.Position(), 1);
    EXPECT_FALSE(history.StepBack().has_value());
    EXPECT_EQ(history.Position(), 1);
}

TEST(EditHistory, StepForwardRightAfterAnAppendDoesNothing) {
    EditHistory history;
    history.SeedHistory("a");
    history.Append("ab", 2);
    EXPECT_FALSE(history.StepForward().has_value());
    EXPECT_EQ(history.Position(), 2);
}

TEST(EditHistory, StepForwardRetracesTheStepsBack) {
    EditHistory history;
    history.SeedHistory("");
    AppendNumbered(history, 3);
    history.StepBack();
    history.StepBack();
    const std::optional<HistoryEntry> entry = history.StepForward();
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->text, Numbered(2));
    EXPECT_EQ(entry->caret, 2);
    EXPECT_EQ(history.Position(), 3);
}

TEST(EditHistory, TheHundredAndFirstEntryRemovesTheTwentyOldest) {
    EditHistory history;
    history.SeedHistory("seed");
    AppendNumbered(history, 99);
    EXPECT_EQ(history.Count(), 100);
    EXPECT_EQ(history.Position(), 100);

    history.Append(Numbered(100), 100);
    EXPECT_EQ(history.Count(), 81);
    EXPECT_EQ(history.Position(), 81);
    // The seed and texts 1 to 19 are gone; entry 1 is now text 20.
    EXPECT_EQ(history.Entry(1).text, Numbered(20));
    EXPECT_EQ(history.Entry(81).text, Numbered(100));

    int steps = 0;
    std::optional<HistoryEntry> last;
    while (auto entry = history.StepBack()) {
        last = entry;
        ++steps;
    }
    EXPECT_EQ(steps, 80);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->text, Numbered(20));
    EXPECT_EQ(last->caret, 20);
}

TEST(EditHistory, AnAppendAfterSteppingBackGoesToTheEnd) {
    EditHistory history;
    history.SeedHistory("a");
    history.Append("ab", 2);
    history.Append("abc", 3);
    history.Append("abcd", 4);
    history.StepBack();
    history.StepBack();
    ASSERT_EQ(history.Position(), 2);

    history.Append("abX", 3);
    EXPECT_EQ(history.Count(), 5);
    EXPECT_EQ(history.Position(), 5);
    // The entries stepped over stay: the next step back brings the text before the first one.
    const std::optional<HistoryEntry> entry = history.StepBack();
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->text, "abcd");
    EXPECT_EQ(entry->caret, 4);
}

TEST(EditHistory, AnUnchangedTextIsStillAnEntry) {
    EditHistory history;
    history.SeedHistory("same");
    history.Append("same", 0);
    history.Append("same", 2);
    EXPECT_EQ(history.Count(), 3);
    EXPECT_EQ(history.StepBack()->caret, 0);
    EXPECT_EQ(history.StepBack()->text, "same");
}

// A random edit of text: an insertion, a deletion, a replacement, a rewrite or nothing, with
// bytes of every value.
Text RandomEdit(const Text& text, std::mt19937& random) {
    const auto pick = [&](std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound)(random);
    };
    const auto bytes = [&](std::size_t count) {
        Text result;
        for (std::size_t i = 0; i < count; ++i) {
            result.push_back(static_cast<char>(pick(255)));
        }
        return result;
    };
    Text result = text;
    const std::size_t at = pick(text.size());
    const std::size_t span = pick(text.size() - at);
    switch (pick(5)) {
    case 0:
        return result.insert(at, bytes(1 + pick(3)));
    case 1:
        return result.erase(at, span);
    case 2:
        return result.replace(at, span, bytes(pick(8)));
    case 3:
        return bytes(pick(64));
    case 4:
        // Repeats make common prefixes and suffixes overlap.
        return result.insert(at, result.substr(at, span));
    default:
        return result;
    }
}

// The history against a plain list of whole copies that follows the same rules.
TEST(EditHistory, EveryEntryMatchesAListOfWholeCopies) {
    std::mt19937 random(20240531);
    EditHistory history;
    history.SeedHistory("the seed");
    std::vector<HistoryEntry> copies{{"the seed", 0}};
    int position = 1;

    for (int step = 0; step < 3000; ++step) {
        const int action = std::uniform_int_distribution<int>(0, 9)(random);
        if (action < 6) {
            const Text text = RandomEdit(copies.back().text, random);
            const auto caret = static_cast<std::int32_t>(text.size() / 2);
            history.Append(text, caret);
            copies.push_back({text, caret});
            if (copies.size() > 100) {
                copies.erase(copies.begin(), copies.begin() + 20);
            }
            position = static_cast<int>(copies.size());
        } else {
            const bool back = action < 8;
            const std::optional<HistoryEntry> entry =
                back ? history.StepBack() : history.StepForward();
            const bool moves = back ? position > 1 : position < static_cast<int>(copies.size());
            ASSERT_EQ(entry.has_value(), moves) << "step " << step;
            if (moves) {
                position += back ? -1 : 1;
                const HistoryEntry& copy = copies[static_cast<std::size_t>(position - 1)];
                ASSERT_EQ(entry->text, copy.text) << "step " << step;
                ASSERT_EQ(entry->caret, copy.caret) << "step " << step;
            }
        }
        ASSERT_EQ(history.Count(), static_cast<int>(copies.size())) << "step " << step;
        ASSERT_EQ(history.Position(), position) << "step " << step;
        if (step % 97 == 0) {
            for (int k = 1; k <= history.Count(); ++k) {
                const HistoryEntry& copy = copies[static_cast<std::size_t>(k - 1)];
                ASSERT_EQ(history.Entry(k).text, copy.text) << "step " << step << " entry " << k;
                ASSERT_EQ(history.Entry(k).caret, copy.caret) << "step " << step << " entry " << k;
            }
        }
    }
}

TEST(EditHistory, OneCharacterEditsOfALargeTextHoldAboutOneCopy) {
    constexpr std::size_t kMiB = 1024 * 1024;
    Text text(kMiB, 'x');
    for (std::size_t i = 0; i < text.size(); i += 61) {
        text[i] = '\n';
    }
    EditHistory history;
    history.SeedHistory(text);
    std::mt19937 random(7);
    for (int edit = 0; edit < 1000; ++edit) {
        const std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size())(random);
        if (edit % 2 == 0) {
            text.insert(at, 1, 'a');
        } else {
            text.erase(std::min(at, text.size() - 1), 1);
        }
        history.Append(text, static_cast<std::int32_t>(at));
    }
    EXPECT_LT(history.StoredBytes(), kMiB * 22 / 10);

    // Stepping back keeps one rebuilt copy besides the newest text, and no more.
    for (int step = 0; step < 50; ++step) {
        ASSERT_TRUE(history.StepBack().has_value());
    }
    for (int step = 0; step < 20; ++step) {
        ASSERT_TRUE(history.StepForward().has_value());
    }
    EXPECT_LT(history.StoredBytes(), kMiB * 22 / 10);
    EXPECT_EQ(history.Entry(history.Count()).text, text);
}

} // namespace
} // namespace quorvel::editor

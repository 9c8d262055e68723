#include "store/Path.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace quorvel::store {
namespace {

struct BaseNameCase {
    CodePage codePage;
    Text path;
    Text expected;
};

const BaseNameCase kBaseNameCases[] = {
    {CodePage::Utf8, "/home/user/work.txt", "work"},
    {CodePage::Utf8, "/x/a.b.txt", "a.b"},     // only the last extension goes
    {CodePage::Utf8, "/x/.txt", ""},           // a dot-file is all extension
    {CodePage::Utf8, "/x.d/README", "README"}, // a dot in a folder is not an extension
    {CodePage::Utf8, "work.txt", "work"},
    {CodePage::Utf8, "/x/笔记.txt", "笔记"},
    {CodePage::Utf8, "/x/", ""},
    {CodePage::Utf8, "", ""},
    // A lone continuation byte is one character: the "/" after it separates.
    {CodePage::Utf8, "/a\x81/b.txt", "b"},
    // Code page 936: a lead byte takes the next byte with it, so neither the "/" nor the "."
    // behind one is a separator.
    {CodePage::Gbk, "/a\x81/b.txt", "a\x81/b"},
    {CodePage::Gbk, "/x/ab\x81.txt", "ab\x81.txt"},
    {CodePage::Gbk, "/x/\xb9\xa4\xd7\xf7.txt", "\xb9\xa4\xd7\xf7"},
};

TEST(DocumentBaseName, LastComponentWithoutItsLastExtension) {
    for (const BaseNameCase& c : kBaseNameCases) {
        text::SetActiveCodePage(c.codePage);
        EXPECT_EQ(DocumentBaseName(c.path), c.expected) << c.path;
    }
    text::SetActiveCodePage(CodePage::Utf8);
}

} // namespace
} // namespace quorvel::store

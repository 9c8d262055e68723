#pragma once

#include "text/CodePage.h"

namespace quorvel::testing {

// Makes a code page active for the life of the object and puts UTF-8 back afterwards.
class CodePageScope {
public:
    explicit CodePageScope(CodePage codePage) { text::SetActiveCodePage(codePage); }
    CodePageScope(const CodePageScope&) = delete;
    CodePageScope& operator=(const CodePageScope&) = delete;
    ~CodePageScope() { text::SetActiveCodePage(CodePage::Utf8); }
};

} // namespace quorvel::testing

#pragma once

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace quorvel::testing {

// Names each instance of a parameterised test after the `name` field of its case, so that a
// case reads Suite/Test/LastSectionWithoutBreak rather than Suite/Test/3. GoogleTest refuses a
// name that repeats within an instantiation or holds anything but letters, digits and '_'.
// Use: INSTANTIATE_TEST_SUITE_P(Cases, SomeTest, ::testing::ValuesIn(kCases), CaseName());
struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return std::string(info.param.name);
    }
};

// A test name made of any text, for parameters that are plain values (a file name, a string):
// every byte but an ASCII letter, digit or '_' becomes '_', and empty text reads "Empty".
inline std::string SafeName(std::string_view text) {
    if (text.empty()) {
        return "Empty";
    }
    std::string name(text);
    for (char& c : name) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !digit) {
            c = '_';
        }
    }
    return name;
}

} // namespace quorvel::testing

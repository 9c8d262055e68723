#include "app/Arguments.h"

#include <climits>
#include <string_view>
#include <unistd.h>

namespace quorvel::app {

std::optional<Text> DocumentArgument(const std::vector<std::string>& arguments,
                                     const store::Path& workingDirectory) {
    if (arguments.empty()) {
        return std::nullopt;
    }
    std::string_view argument = arguments.front();
    if (argument.empty() || argument.front() == '/' || workingDirectory.empty()) {
        return Text(argument);
    }
    while (argument.starts_with("./")) {
        argument.remove_prefix(2);
        while (argument.starts_with('/')) {
            argument.remove_prefix(1);
        }
    }
    if (argument == ".") {
        argument = {};
    }
    Text absolute = workingDirectory;
    if (absolute.back() != '/') {
        absolute += '/';
    }
    absolute += argument;
    return absolute;
}

store::Path CurrentWorkingDirectory() {
    std::string buffer(PATH_MAX, '\0');
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        return {};
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

} // namespace quorvel::app

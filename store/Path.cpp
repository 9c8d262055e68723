#include "store/Path.h"

#include "text/TextOps.h"

namespace quorvel::store {

Path DirectoryOf(const Path& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == Path::npos) {
        return ".";
    }
    return slash == 0 ? Path("/") : path.substr(0, slash);
}

Path FileNameOf(const Path& path) {
    const std::size_t slash = path.rfind('/');
    return slash == Path::npos ? path : path.substr(slash + 1);
}

SplitPathResult SplitPath(const Path& path) {
    const std::size_t slash = text::FindLastChar(path, '/');
    if (slash == std::string_view::npos) {
        return {Path(), path};
    }
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

Text DocumentBaseName(const Path& path) {
    const Text name = SplitPath(path).fileName;
    const std::size_t dot = text::FindLastChar(name, '.');
    return dot == Text::npos ? name : name.substr(0, dot);
}

} // namespace quorvel::store

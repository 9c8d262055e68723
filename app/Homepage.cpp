#include "app/Homepage.h"

#include "ui/ByteCodec.h"

#include <QFile>
#include <QUrl>

#ifndef QUORVEL_GUIDE_INSTALL_PATH
#define QUORVEL_GUIDE_INSTALL_PATH ""
#endif
#ifndef QUORVEL_GUIDE_SOURCE_PATH
#define QUORVEL_GUIDE_SOURCE_PATH ""
#endif

namespace quorvel::app {

store::Path ChooseGuidePath(const store::Path& installedGuide, const store::Path& sourceGuide) {
    if (!installedGuide.empty() && store::FileExists(installedGuide)) {
        return installedGuide;
    }
    return sourceGuide;
}

Text FileUrl(const store::Path& path) {
    const QUrl url = QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
    return ui::EncodeFromDisplay(url.toString());
}

Text HomepageAddress() {
    return FileUrl(ChooseGuidePath(QUORVEL_GUIDE_INSTALL_PATH, QUORVEL_GUIDE_SOURCE_PATH));
}

} // namespace quorvel::app

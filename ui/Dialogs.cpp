#include "ui/Dialogs.h"

#include "text/Words.h"

namespace quorvel::ui {

const Text& DefaultMessageTitle() {
    return text::InterfaceText("信息：");
}

} // namespace quorvel::ui

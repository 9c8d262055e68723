#include "ui/QtDialogs.h"

#include "ui/ByteCodec.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace quorvel::ui {
namespace {

QString Decode(const Text& text) {
    return DecodeForDisplay(text);
}

std::optional<std::string> AskFile(QWidget* parent, const Text& title,
                                   const std::string& startDirectory,
                                   QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, Decode(title));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("文本文件(*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (!startDirectory.empty()) {
        dialog.setDirectory(QFile::decodeName(
            QByteArray(startDirectory.data(), static_cast<qsizetype>(startDirectory.size()))));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(files.front()).toStdString();
}

} // namespace

MessageAnswer QtDialogs::ShowMessage(const Text& text, const Text& title, MessageStyle style) {
    QMessageBox box(parent_);
    box.setWindowTitle(Decode(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(Decode(text));
    switch (style) {
    case MessageStyle::YesNoQuestion:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    case MessageStyle::YesNoCancelQuestion:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel; // Esc and the title bar's close button too
        }
    case MessageStyle::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageStyle::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageStyle::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

std::optional<Text> QtDialogs::AskText(const Text& prompt, const Text& initialText) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(QGuiApplication::applicationDisplayName());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(Decode(prompt));
    dialog.setTextValue(Decode(initialText));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return EncodeFromDisplay(dialog.textValue());
}

std::optional<std::string> QtDialogs::AskOpenFile(const Text& title,
                                                  const std::string& startDirectory) {
    return AskFile(parent_, title, startDirectory, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::AskSaveFile(const Text& title,
                                                  const std::string& startDirectory) {
    // Replacing an existing file is confirmed by the dialog itself.
    return AskFile(parent_, title, startDirectory, QFileDialog::AcceptSave);
}

} // namespace quorvel::ui

#include "platform/guard.h"

#include "base/cp932.h"

#include <exception>
#include <string>

namespace telvara {

namespace {

const char kUnknownFailure[] = "不明なエラーが発生しました";

unsigned char lastByteInCp932(std::string_view utf8) {
    std::string bytes;
    try {
        bytes = utf8ToCp932(utf8);
    } catch (const std::exception&) {
        // Not representable: its last character is not ASCII, and so is
        // every byte of its UTF-8 form.
        bytes.assign(utf8);
    }
    return static_cast<unsigned char>(bytes.back());
}

} // namespace

QString errorBoxText(std::string_view utf8Message) {
    QString text = QString::fromUtf8(utf8Message.data(), qsizetype(utf8Message.size()));
    if (!utf8Message.empty() && lastByteInCp932(utf8Message) > '.')
        text += QLatin1Char('.');
    return text;
}

bool runGuarded(MessageService& messages, const std::function<void()>& handler) {
    std::string failure;
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = kUnknownFailure;
    }
    try {
        messages.showError(errorBoxText(failure));
    } catch (...) {
        // The report itself failed; there is nothing left to tell the user with.
    }
    return false;
}

} // namespace telvara

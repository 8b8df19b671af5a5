#pragma once
// The one guard every UI event handler runs behind: a failure ends the
// handler, is shown in the error box and the program goes on with the next
// event. No exception ever passes through Qt.
#include "platform/services.h"

#include <QString>

#include <functional>
#include <string_view>
#include <utility>

namespace telvara {

// The text of the error box: the message, plus "." when its last character
// sorts after "." in byte order (its last byte in code page 932).
QString errorBoxText(std::string_view utf8Message);

// Runs the handler; any exception is reported through the message service.
// Returns false when the handler failed.
bool runGuarded(MessageService& messages, const std::function<void()>& handler);

// A slot that runs fn behind the guard, for connect().
template <typename Fn> auto guarded(MessageService& messages, Fn fn) {
    return [&messages, fn = std::move(fn)](auto&&... args) {
        runGuarded(messages, [&] { fn(std::forward<decltype(args)>(args)...); });
    };
}

} // namespace telvara

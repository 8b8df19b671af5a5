#include "platform/services_scripted.h"

namespace telvara {

namespace {

template <typename T> T takeAnswer(std::deque<T>& answers, int& unscripted, const T& cancelled) {
    if (answers.empty()) {
        ++unscripted;
        return cancelled;
    }
    const T answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

void ScriptedMessages::record(BoxKind kind, const QString& text,
                              std::optional<ConfirmButtons> buttons) {
    asked.push_back({kind, boxTitle(kind), text, buttons});
    if (onAsk)
        onAsk(asked.back());
}

void ScriptedMessages::showMessage(const QString& text) {
    record(BoxKind::Message, text, std::nullopt);
}

void ScriptedMessages::showWarning(const QString& text) {
    record(BoxKind::Warning, text, std::nullopt);
}

void ScriptedMessages::showError(const QString& text) {
    record(BoxKind::Error, text, std::nullopt);
}

BoxAnswer ScriptedMessages::confirm(const QString& text, ConfirmButtons buttons) {
    record(BoxKind::Confirm, text, buttons);
    return takeAnswer(answers, unscripted, BoxAnswer::Closed);
}

std::vector<QString> ScriptedMessages::texts() const {
    std::vector<QString> all;
    for (const AskedBox& box : asked)
        all.push_back(box.text);
    return all;
}

std::optional<QString> ScriptedInput::inputBox(const QString& caption, const QString& prompt,
                                               const QString& initial) {
    asked.push_back({caption, prompt, initial});
    return takeAnswer<std::optional<QString>>(answers, unscripted, std::nullopt);
}

std::optional<QString> ScriptedDirectories::chooseDirectory(const QString& startFolder,
                                                            int helpContext) {
    asked.push_back({startFolder, helpContext});
    return takeAnswer<std::optional<QString>>(answers, unscripted, std::nullopt);
}

std::optional<TColor> ScriptedColors::chooseColor(TColor initial) {
    asked.push_back(initial);
    return takeAnswer<std::optional<TColor>>(answers, unscripted, std::nullopt);
}

std::optional<QString> ScriptedFiles::chooseSaveFile(const SaveFileRequest& request) {
    asked.push_back(request);
    return takeAnswer<std::optional<QString>>(answers, unscripted, std::nullopt);
}

std::optional<QString> ScriptedFiles::chooseOpenFile(const SaveFileRequest& request) {
    return chooseSaveFile(request);
}

std::uint32_t ScriptedRandom::next(std::uint32_t range) {
    ranges.push_back(range);
    if (range == 0 || values.empty())
        return 0;
    const std::uint32_t value = values.front();
    values.pop_front();
    return value % range;
}

} // namespace telvara

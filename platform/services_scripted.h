#pragma once
// Platform services for tests: every question is recorded word for word and
// answered from a script. An unscripted question gets the "cancelled"
// answer and is counted in `unscripted`.
#include "platform/services.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace telvara {

struct AskedBox {
    BoxKind kind;
    QString title;
    QString text;
    std::optional<ConfirmButtons> buttons; // confirmations only
};

class ScriptedMessages : public MessageService {
public:
    std::vector<AskedBox> asked;
    std::deque<BoxAnswer> answers; // for confirmations, in order
    int unscripted = 0;
    // Called while a box is "open", e.g. to look at the focus at that moment.
    std::function<void(const AskedBox&)> onAsk;

    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    void showError(const QString& text) override;
    BoxAnswer confirm(const QString& text, ConfirmButtons buttons) override;

    // Texts of all boxes asked so far, in order.
    std::vector<QString> texts() const;

private:
    void record(BoxKind kind, const QString& text, std::optional<ConfirmButtons> buttons);
};

class ScriptedInput : public InputService {
public:
    struct Asked {
        QString caption, prompt, initial;
    };
    std::vector<Asked> asked;
    std::deque<std::optional<QString>> answers;
    int unscripted = 0;

    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;
};

class ScriptedDirectories : public DirectoryChooser {
public:
    struct Asked {
        QString startFolder;
        int helpContext;
    };
    std::vector<Asked> asked;
    std::deque<std::optional<QString>> answers;
    int unscripted = 0;

    std::vector<QString> remembered;

    std::optional<QString> chooseDirectory(const QString& startFolder, int helpContext) override;
    void rememberFolder(const QString& folder) override { remembered.push_back(folder); }
};

class ScriptedColors : public ColorChooser {
public:
    std::vector<TColor> asked; // the preselected colour of each opening
    std::deque<std::optional<TColor>> answers;
    int unscripted = 0;

    std::optional<TColor> chooseColor(TColor initial) override;
};

class ScriptedFiles : public FileSaveChooser {
public:
    std::vector<SaveFileRequest> asked;
    std::deque<std::optional<QString>> answers;
    int unscripted = 0;
    QString dataFolder;

    std::optional<QString> chooseSaveFile(const SaveFileRequest& request) override;
    // Recorded and answered with the save dialogs, in one order.
    std::optional<QString> chooseOpenFile(const SaveFileRequest& request) override;
    void setDataFolder(const QString& folder) override { dataFolder = folder; }
};

class ScriptedHelp : public HelpService {
public:
    struct Shown {
        QString file;
        std::optional<int> context; // set for a context
        QString topic;              // set for a topic
    };
    QString file;
    std::vector<Shown> shown;

    QString helpFile() const override { return file; }
    void setHelpFile(const QString& f) override { file = f; }
    void showContext(int context) override { shown.push_back({file, context, {}}); }
    void showTopic(const QString& topic) override { shown.push_back({file, std::nullopt, topic}); }
};

class ScriptedRandom : public RandomSource {
public:
    int seeds = 0;
    std::vector<std::uint32_t> ranges; // the range of each draw
    std::deque<std::uint32_t> values;  // taken modulo the range; 0 when empty

    void seedFromClock() override { ++seeds; }
    std::uint32_t next(std::uint32_t range) override;
};

struct ScriptedServices {
    ScriptedMessages messages;
    ScriptedInput input;
    ScriptedDirectories directories;
    ScriptedColors colors;
    ScriptedFiles files;
    ScriptedHelp help;
    ScriptedRandom random;

    Services services() {
        return Services{messages, input, directories, colors, files, help, random};
    }
};

} // namespace telvara

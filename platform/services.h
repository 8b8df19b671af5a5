#pragma once
// What the windows expect from the platform, behind small interfaces, so the
// program uses the Qt dialogs and the tests answer from a script.
#include "base/colors.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace telvara {

// Title of the program's task-bar entry, of plain messages and of error boxes.
inline const QString kApplicationTitle = QStringLiteral("Telvara");
inline const QString kWarningTitle = QStringLiteral("警告");
inline const QString kConfirmTitle = QStringLiteral("確認");

// Button captions of every box.
inline const QString kOkCaption = QStringLiteral("OK");
inline const QString kCancelCaption = QStringLiteral("キャンセル");
inline const QString kYesCaption = QStringLiteral("はい(&Y)");
inline const QString kNoCaption = QStringLiteral("いいえ(&N)");
inline const QString kHelpCaption = QStringLiteral("ヘルプ(&H)");

enum class BoxKind { Message, Warning, Error, Confirm };
enum class ConfirmButtons { YesNo, OkCancel, YesNoCancel };
// Closed: the box was closed (close box, Esc without a cancel button) without a choice.
enum class BoxAnswer { Ok, Cancel, Yes, No, Closed };

// The caption a box of that kind carries.
QString boxTitle(BoxKind kind);

class MessageService {
public:
    virtual ~MessageService() = default;
    // Plain message: application title, the text, OK.
    virtual void showMessage(const QString& text) = 0;
    // Warning: "警告", warning icon, OK.
    virtual void showWarning(const QString& text) = 0;
    // Failure report of the handler guard: application title, error icon, OK.
    virtual void showError(const QString& text) = 0;
    // Confirmation: "確認", question icon, the given buttons.
    virtual BoxAnswer confirm(const QString& text, ConfirmButtons buttons) = 0;
};

class InputService {
public:
    virtual ~InputService() = default;
    // The typed text, or nothing when the box was cancelled.
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                            const QString& initial) = 0;
};

class DirectoryChooser {
public:
    virtual ~DirectoryChooser() = default;
    // The data-folder dialog: the chosen folder (created when it did not exist),
    // or nothing when the dialog was cancelled.
    virtual std::optional<QString> chooseDirectory(const QString& startFolder, int helpContext) = 0;
    // The chosen folder's store opened: the next start begins there. A folder
    // whose store could not be opened is never remembered.
    virtual void rememberFolder(const QString& folder) = 0;
};

class ColorChooser {
public:
    virtual ~ColorChooser() = default;
    // The picked colour, or nothing when the dialog was cancelled.
    virtual std::optional<TColor> chooseColor(TColor initial) = 0;
};

struct SaveFileRequest {
    QString caption;           // empty: the platform's caption
    QString filterDescription; // e.g. "ﾋﾞｯﾄﾏｯﾌﾟ　ﾌｧｲﾙ"
    QString filterPattern;     // e.g. "*.bmp"
    QString defaultExtension;  // without the dot, e.g. "bmp"
    bool askBeforeOverwrite = false;
    // Further file types offered after the first, each "description (*.ext)";
    // choosing one makes its ending the one added to a bare name.
    QStringList moreFilters;
};

class FileSaveChooser {
public:
    virtual ~FileSaveChooser() = default;
    // The confirmed file name, or nothing when the dialog was cancelled.
    virtual std::optional<QString> chooseSaveFile(const SaveFileRequest& request) = 0;
    // The same dialog for an existing file to read.
    virtual std::optional<QString> chooseOpenFile(const SaveFileRequest& request) = 0;
    // The store's folder, where the dialogs start until a file is chosen;
    // then they start in the folder of the last file chosen.
    virtual void setDataFolder(const QString& folder) = 0;
};

// The application's help file and the viewer that opens it.
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual QString helpFile() const = 0;
    virtual void setHelpFile(const QString& file) = 0;
    // Opens the current help file at a numeric help context.
    virtual void showContext(int context) = 0;
    // Opens the current help file at a topic's jump identifier ("目次").
    virtual void showTopic(const QString& topic) = 0;
};

// The run-time pseudo-random generator.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    // A value in [0, range); 0 when range is 0.
    virtual std::uint32_t next(std::uint32_t range) = 0;
};

// The bundle every window receives.
struct Services {
    MessageService& messages;
    InputService& input;
    DirectoryChooser& directories;
    ColorChooser& colors;
    FileSaveChooser& files;
    HelpService& help;
    RandomSource& random;
};

} // namespace telvara

#pragma once
// Input box, colour dialog and file-save dialog on the Qt standard dialogs.
#include "platform/services.h"

namespace telvara {

class QtInputService : public InputService {
public:
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;
};

class QtColorChooser : public ColorChooser {
public:
    std::optional<TColor> chooseColor(TColor initial) override;
};

// Qt's file dialog, in Japanese: folders are "フォルダー" and dates are
// written the Japanese way whatever the environment's language. It starts
// in the store's folder, later in the folder of the last file chosen.
class QtFileSaveChooser : public FileSaveChooser {
public:
    std::optional<QString> chooseSaveFile(const SaveFileRequest& request) override;
    std::optional<QString> chooseOpenFile(const SaveFileRequest& request) override;
    void setDataFolder(const QString& folder) override { dataFolder_ = folder; }

private:
    std::optional<QString> chooseFile(const SaveFileRequest& request, bool save);

    QString dataFolder_;
    QString lastFolder_;
};

} // namespace telvara

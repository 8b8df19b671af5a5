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

class QtFileSaveChooser : public FileSaveChooser {
public:
    std::optional<QString> chooseSaveFile(const SaveFileRequest& request) override;
    std::optional<QString> chooseOpenFile(const SaveFileRequest& request) override;
};

} // namespace telvara

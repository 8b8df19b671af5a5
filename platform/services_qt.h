#pragma once
// The program's platform services: the Qt dialogs and viewers.
#include "platform/help_viewer.h"
#include "platform/services.h"
#include "platform/services_random.h"
#include "platform/ui_dialogs.h"
#include "platform/ui_directory_dialog.h"
#include "platform/ui_messages.h"

namespace telvara {

class QtServices {
public:
    QtServices()
        : help_(messages_, HelpLocator(HelpLocator::defaultRoots())),
          directories_(messages_, help_) {}

    Services services() {
        return Services{messages_, input_, directories_, colors_, files_, help_, random_};
    }

private:
    QtMessageService messages_;
    QtInputService input_;
    QtHelpService help_;
    QtDirectoryChooser directories_;
    QtColorChooser colors_;
    QtFileSaveChooser files_;
    ClockRandomSource random_;
};

} // namespace telvara

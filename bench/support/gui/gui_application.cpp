#include "support/gui/gui_application.h"

#include "support/german_translation.h"
#include "support/page_rendering.h"

#include <unistd.h>

namespace lexora::bench {

std::unique_ptr<QApplication> startGuiApplication(int &argc, char **argv)
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    auto app = std::make_unique<QApplication>(argc, argv);
    installGermanTranslation();
    renderPagesInSoftware();
    return app;
}

} // namespace lexora::bench

// The veltrin program: the application object, the window layer and Veltrin's resources, then the
// message loop until the main window closes.
#include "app/VeltrinApp.h"
#include "res/veltrin/VeltrinResources.h"

int main() {
    CVeltrinApp app;
    AfxInitUserInterface();
    AddResourceModule(&VeltrinResources());
    AddResourceModule(&VeltrinFrameResources());
    AddResourceModule(&VeltrinTreeResources());
    AddResourceModule(&VeltrinPadResources());
    AddResourceModule(&VeltrinPrintResources());
    AddResourceModule(&VeltrinStatsResources());
    if (!app.InitInstance())
        return app.ExitInstance();
    return app.Run();
}

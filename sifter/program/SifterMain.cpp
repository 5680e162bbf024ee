// Sifter: the file-search program.
#include "platform/framework/app/WinThread.h"
#include "res/sifter/SifterResources.h"
#include "sifter/program/SifterApp.h"

int main() {
    CSifterApp app;
    AfxInitUserInterface();
    AddResourceModule(&SifterResources());
    app.InitInstance();
    return 0;
}

#include "app/pausora_app.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    pausora::CPausoraApp app;
    app.InitInstance();
    return 0;
}

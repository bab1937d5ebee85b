// The installer's entry point.
#include "app/installer_run.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) { app::run_installer(instance, arguments); }

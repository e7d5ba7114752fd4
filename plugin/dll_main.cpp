// The DLL's own entry point does nothing of the plug-in's own: all work begins in init.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}

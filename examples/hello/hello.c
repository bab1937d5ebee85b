/* Hello: the example program the example installer installs. Started plainly it greets;
   started with a file (a .hello document, through the file association) it shows the
   file's first line. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  char text[512] = "Hello from an installer made with qvin!";
  (void)instance;
  (void)previous;
  (void)show;
  if (command_line && *command_line) {
    char path[MAX_PATH];
    int n = 0;
    const char* p = command_line;
    if (*p == '"') {
      ++p;
      while (*p && *p != '"' && n < MAX_PATH - 1) path[n++] = *p++;
    } else {
      while (*p && *p != ' ' && n < MAX_PATH - 1) path[n++] = *p++;
    }
    path[n] = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD got = 0;
      if (ReadFile(file, text, sizeof text - 1, &got, NULL)) {
        DWORD i;
        text[got] = 0;
        for (i = 0; i < got; ++i)
          if (text[i] == '\r' || text[i] == '\n') text[i] = 0;
      }
      CloseHandle(file);
    }
  }
  MessageBoxA(NULL, text, "Hello", MB_OK | MB_ICONINFORMATION);
  return 0;
}

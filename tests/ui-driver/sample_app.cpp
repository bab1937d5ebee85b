// A small dialog program for the driver's own test: a list whose selection relabels the
// OK button, an edit field, a message box, and exit codes that tell what was chosen.
#include <string>

#include "core/win/windows.h"

namespace {

const char* const kEntries[] = {"Apple", "Banana", "Cherry"};
std::string chosen;

INT_PTR CALLBACK sample_procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      for (const char* entry : kEntries) SendDlgItemMessageA(dialog, 1017, LB_ADDSTRING, 0, (LPARAM)entry);
      SendDlgItemMessageA(dialog, 1017, LB_SETCURSEL, 0, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(w) == 1017 && HIWORD(w) == LBN_SELCHANGE) {
        LRESULT index = SendDlgItemMessageA(dialog, 1017, LB_GETCURSEL, 0, 0);
        if (index >= 0 && index < 3) SetDlgItemTextA(dialog, 1001, (std::string("Take ") + kEntries[index]).c_str());
      } else if (LOWORD(w) == 1001 || LOWORD(w) == 1003) {
        LRESULT index = SendDlgItemMessageA(dialog, 1017, LB_GETCURSEL, 0, 0);
        char note[64] = "";
        GetDlgItemTextA(dialog, 1015, note, sizeof(note));
        chosen = std::string(index >= 0 && index < 3 ? kEntries[index] : "?") + "\r\nNote:\t" + note;
        EndDialog(dialog, LOWORD(w));
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INT_PTR answer = DialogBoxParamA(instance, "SAMPLEDLG", nullptr, sample_procedure, 0);
  if (answer != 1001) ExitProcess(0x10002);  // beyond the low 8 bits a shell would see
  std::string text = "You chose:\r\n" + chosen;
  int button = MessageBoxA(nullptr, text.c_str(), "Sample Question", MB_YESNO | MB_ICONQUESTION);
  ExitProcess(button == IDYES ? 40 : 41);
}

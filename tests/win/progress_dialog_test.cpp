// The progress dialog from its template: controls, titles for installing and removing,
// the bar in the frame's place, status and progress, the cancel button and its question;
// the minimum status time; the centring of windows.
#include "ui/progress_dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "archive/settings.h"
#include "core/win/windows.h"
#include "ui/message_pump.h"
#include "ui/resource_ids.h"
#include "ui/run_state.h"
#include "win/dialog_test_support.h"

namespace ui {
namespace {

using test_support::class_of;
using test_support::item_text;
using test_support::ModalScript;
using test_support::window_text;

class ProgressDialog : public testing::Test {
 protected:
  void SetUp() override { test_support::reset_run_state(); }
  void TearDown() override {
    close_progress_dialog();
    test_support::pump();
  }
  test_support::OwnerWindow owner_;
};

TEST_F(ProgressDialog, ControlsAndTitles) {
  struct Case {
    bool uninstalling;
    int32_t language;
    const char* caption;
    const char* heading;
    const char* cancel;
    bool cancel_enabled;
    const char* screenshot;
  };
  const Case cases[] = {
      {false, 0, "Installation", "Installing Sample Product", "Cancel", true, "progress-en"},
      {false, 1, "Installation", "Sample Product wird installiert", "Abbrechen", true, "progress-de"},
      {true, 0, "Removal", "Removing Sample Product", "Cancel", false, "progress-removal-en"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screenshot);
    run_state().uninstalling = c.uninstalling;
    run_state().settings.languages.set_current_language(c.language);
    open_progress_dialog();
    HWND dialog = run_state().progress_dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(owner_window(), dialog);  // message boxes belong to it now
    EXPECT_EQ(window_text(dialog), c.caption);
    // The system adds sibling clipping and the 3-D look to every dialog.
    EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & ~(WS_CLIPSIBLINGS | DS_3DLOOK), static_cast<LONG>(0x90C800C0));
    EXPECT_EQ(item_text(dialog, IDC_HEADING), c.heading);
    EXPECT_EQ(item_text(dialog, IDC_CANCEL), c.cancel);
    EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDC_CANCEL)) != FALSE, c.cancel_enabled);

    const struct {
      int id;
      const char* window_class;
      LONG style;
    } controls[] = {{IDC_HEADING, "static", 0x50020000},
                    {IDC_PROGRESS_FRAME, "static", 0x50000007},
                    {IDC_STATUS, "static", 0x50020000},
                    {IDC_CANCEL, "button", 0x50010000}};
    for (const auto& control : controls) {
      SCOPED_TRACE(control.id);
      HWND item = GetDlgItem(dialog, control.id);
      ASSERT_NE(item, nullptr);
      EXPECT_STRCASEEQ(class_of(item).c_str(), control.window_class);
      EXPECT_EQ(GetWindowLongA(item, GWL_STYLE) & ~WS_DISABLED, control.style);
    }

    // The bar lies over the frame, one pixel beyond it on every side.
    HWND bar = run_state().progress_bar;
    ASSERT_NE(bar, nullptr);
    EXPECT_STRCASEEQ(class_of(bar).c_str(), "msctls_progress32");
    EXPECT_EQ(GetParent(bar), dialog);
    RECT frame, placed;
    GetWindowRect(GetDlgItem(dialog, IDC_PROGRESS_FRAME), &frame);
    GetWindowRect(bar, &placed);
    EXPECT_EQ(placed.left, frame.left - 1);
    EXPECT_EQ(placed.top, frame.top - 1);
    EXPECT_EQ(placed.right, frame.right + 2);
    EXPECT_EQ(placed.bottom, frame.bottom + 2);

    EXPECT_FALSE(set_status_and_progress(archive::text_id::StatusLoading, 40));
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(item_text(dialog, IDC_STATUS), c.language == 0 ? "Loading..." : "Laden...");
    // A path with conversions in it is shown as written.
    EXPECT_FALSE(set_status_text("C:\\100% sure\\%s%d.txt"));
    EXPECT_EQ(item_text(dialog, IDC_STATUS), "C:\\100% sure\\%s%d.txt");
    test_support::save_window_screenshot(dialog, c.screenshot);

    close_progress_dialog();
    EXPECT_EQ(run_state().progress_dialog, nullptr);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(owner_window(), owner_.handle());
  }
  // Without a dialog the routines only pump.
  EXPECT_FALSE(set_status_text("nobody sees this"));
  EXPECT_FALSE(set_progress(50));
}

TEST_F(ProgressDialog, CancelAsksUnlessDisabled) {
  open_progress_dialog();
  HWND dialog = run_state().progress_dialog;
  ASSERT_NE(dialog, nullptr);
  HWND cancel = GetDlgItem(dialog, IDC_CANCEL);
  {
    ModalScript script({{0, [](HWND box) { ModalScript::click(box, IDNO); }}});
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_EQ(script.seen()[0].caption, "Warning");
    EXPECT_EQ(script.seen()[0].text, "Do you really want to cancel the installation?");
  }
  // The close box's command has no control window; with cancel disabled even the
  // button's command is ignored. Neither asks anything.
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CANCEL, BN_CLICKED), 0);
  run_state().settings.flags = archive::flag::DisableCancel;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
  test_support::pump();
  EXPECT_TRUE(IsWindow(dialog));
  close_progress_dialog();

  open_progress_dialog();
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(run_state().progress_dialog, IDC_CANCEL)));
}

TEST_F(ProgressDialog, MinimumStatusTime) {
  // In automatic mode nothing waits.
  run_state().automatic = true;
  mark_time();
  DWORD start = GetTickCount();
  wait_minimum(5000);
  EXPECT_LT(GetTickCount() - start, 5000u);

  // Otherwise at least the time since the last status change.
  run_state().automatic = false;
  mark_time();
  wait_minimum(300);
  EXPECT_GE(GetTickCount() - run_state().marked_tick, 300u);
  // A status already shown long enough costs one round.
  start = GetTickCount();
  wait_minimum(300);
  EXPECT_LT(GetTickCount() - start, 300u);
}

TEST_F(ProgressDialog, MinimumStatusTimeStopsOnAQuit) {
  mark_time();
  PostQuitMessage(0);
  DWORD start = GetTickCount();
  wait_minimum(10000);
  EXPECT_LT(GetTickCount() - start, 10000u);
}

TEST(CenterWindow, CentresAndClamps) {
  int screen_width = GetSystemMetrics(SM_CXSCREEN);
  int screen_height = GetSystemMetrics(SM_CYSCREEN);
  struct Case {
    int width;
    int height;
    int x;  // expected; -1: centred
    int y;
    int final_width;  // -1: one more than the window
    int final_height;
  };
  const Case cases[] = {
      {301, 201, -1, -1, -1, -1},
      {screen_width + 500, screen_height + 300, 0, 0, screen_width, screen_height},
      {screen_width + 500, 100, 0, -1, screen_width, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, c.width, c.height, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    center_window(window);
    RECT box;
    GetWindowRect(window, &box);
    int width = c.final_width >= 0 ? c.final_width : c.width + 1;
    int height = c.final_height >= 0 ? c.final_height : c.height + 1;
    EXPECT_EQ(box.right - box.left, width);
    EXPECT_EQ(box.bottom - box.top, height);
    EXPECT_EQ(box.left, c.x >= 0 ? c.x : (screen_width - width) >> 1);
    EXPECT_EQ(box.top, c.y >= 0 ? c.y : (screen_height - height) >> 1);
    DestroyWindow(window);
  }
}

}  // namespace
}  // namespace ui

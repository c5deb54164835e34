// The main dialog as a person sees it, and the menu and system-menu texts
// as the executable carries them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "paths.h"
#include "utf8.h"
#include "utility_test.h"

namespace e2e {
namespace {

TEST_F(UtilityTest, MainDialogIsATaskbarWindowWithCaptionMenuAndIcons) {
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog, Spy::On));

  EXPECT_EQ(TextOf(dialog), kUtilityCaption);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr) << "the main dialog has no parent";
  const auto exStyle = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
  EXPECT_NE(exStyle & WS_EX_APPWINDOW, 0) << "needs its own taskbar button";
  const auto style = GetWindowLongPtrW(dialog, GWL_STYLE);
  for (const auto& [bit, name] : {std::pair{WS_CAPTION, "caption"}, {WS_SYSMENU, "system menu"},
                                 {WS_MINIMIZEBOX, "minimise box"}}) {
    EXPECT_NE(style & bit, 0) << "no " << name;
  }
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0) << "a fixed-size dialog";
  EXPECT_NE(GetMenu(dialog), nullptr) << "the menu bar is missing";
  // Wine does not pass WM_GETICON on from another process: the spy asked inside.
  const std::optional<SpyEvent> icons = WaitForSpyEvent(L"icons", dialog);
  ASSERT_TRUE(icons.has_value()) << "window_spy.dll did not see the main dialog show";
  EXPECT_EQ(icons->text, L"small=1;big=1") << "the window icons when the dialog first shows";
}

TEST_F(UtilityTest, MainDialogHasDefaultOkButtonAndHelpButton) {
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog));

  const HWND ok = GetDlgItem(dialog, IDOK);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(TextOf(ok), L"OK");
  const LRESULT defaultId = SendWithTimeout(dialog, DM_GETDEFID);
  EXPECT_EQ(HIWORD(defaultId), DC_HASDEFID);
  EXPECT_EQ(LOWORD(defaultId), IDOK) << "Enter should press OK";

  const HWND help = GetDlgItem(dialog, kHelpButtonId);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(TextOf(help), L"Help...");
  for (const HWND button : {ok, help}) {
    EXPECT_EQ(ClassNameOf(button), L"Button");
    EXPECT_TRUE(IsWindowVisible(button) && IsWindowEnabled(button)) << TextOf(button);
  }
}

// Every dialog is built with "Segoe UI" and the template size value 0xFFF2,
// which the dialog manager reads as -14 points: the font's height is then
// -MulDiv(-14, dpi, 72), +19 at 96 dpi. Wine substitutes the face but
// reports the one asked for. The font handle means nothing outside the
// process, so the spy reads it inside.
TEST_F(UtilityTest, MainDialogFontIsSegoeUiAtSizeValueFFF2) {
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog, Spy::On));

  const std::optional<SpyEvent> font = WaitForSpyEvent(L"font", dialog);
  ASSERT_TRUE(font.has_value()) << "the main dialog has no font";
  const size_t separator = font->text.find(L';');
  ASSERT_NE(separator, std::wstring::npos) << font->text;
  EXPECT_EQ(font->text.substr(0, separator), L"Segoe UI");
  const WindowDc screen{{nullptr, GetDC(nullptr)}};
  const int dpi = GetDeviceCaps(screen.get().dc, LOGPIXELSY);
  constexpr auto kSizeValue = static_cast<short>(0xFFF2);
  EXPECT_EQ(font->text.substr(separator + 1), std::to_wstring(-MulDiv(kSizeValue, dpi, 72)))
      << "height at " << dpi << " dpi";
}

// Menus of another process cannot be read under Wine, so the menu is checked
// where it comes from: the executable's resources.
class ExecutableResources : public testing::Test {
 protected:
  void SetUp() override {
    module_.reset(LoadLibraryExW(UtilityPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module_) << "cannot open VornixUtility64.exe as a data file";
  }

  [[nodiscard]] HMODULE module() const { return module_.get(); }

 private:
  Module module_;
};

struct MenuItem {
  UINT id = 0;
  std::wstring text;
  friend bool operator==(const MenuItem&, const MenuItem&) = default;
  friend void PrintTo(const MenuItem& item, std::ostream* out) {
    *out << item.id << " \"" << Utf8(item.text) << '"';
  }
};

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[256]{};
  GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
  return text;
}

// The command items of a drop-down menu; separators carry no behaviour.
std::vector<MenuItem> CommandItems(HMENU menu) {
  std::vector<MenuItem> items;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    const auto at = static_cast<UINT>(position);
    if ((GetMenuState(menu, at, MF_BYPOSITION) & MF_SEPARATOR) == 0)
      items.push_back({GetMenuItemID(menu, position), ItemText(menu, at)});
  }
  return items;
}

TEST_F(ExecutableResources, MainMenuHasFileExitAndHelpItems) {
  const Menu owned{LoadMenuW(module(), MAKEINTRESOURCEW(145))};
  ASSERT_TRUE(owned) << "menu 145 is missing";
  const HMENU menu = owned.get();
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(ItemText(menu, 0), L"&File");
  EXPECT_EQ(CommandItems(GetSubMenu(menu, 0)), (std::vector<MenuItem>{{kFileExitCommand, L"Exit"}}));
  EXPECT_EQ(ItemText(menu, 1), L"&Help");
  EXPECT_EQ(CommandItems(GetSubMenu(menu, 1)),
            (std::vector<MenuItem>{{kHelpContentsCommand, L"Help..."},
                                   {kHelpAboutCommand, L"About Vornix Utility..."}}));
}

TEST_F(ExecutableResources, SystemMenuAboutTextIsString101) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module(), 101, reinterpret_cast<wchar_t*>(&text), 0);
  ASSERT_GT(length, 0) << "string 101 is missing or empty";
  EXPECT_EQ(std::wstring(text, static_cast<size_t>(length)), L"&About Vornix Utility...");
}

}  // namespace
}  // namespace e2e

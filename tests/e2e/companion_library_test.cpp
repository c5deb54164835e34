// The companion dialog library: what the user sees when it is missing, and
// its start-up message while the main dialog initialises. The start-up
// message lives only milliseconds, so it is watched from inside the program
// by window_spy.dll.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "standard_icon.h"
#include "utility_test.h"

namespace e2e {
namespace {

constexpr wchar_t kMissingLibraryText[] =
    L"Couldn't find dll file: \nQLDXDialogsOEM64.dll\n\nPlease check software installation.";

// Message boxes are known by their text control, the static 0xFFFF.
std::set<HWND> MessageBoxesCreated(const std::vector<SpyEvent>& events) {
  std::set<HWND> boxes;
  for (const SpyEvent& event : events) {
    if (event.kind == L"create" && IsStatic(event) && event.controlId == kMessageBoxTextId)
      boxes.insert(event.root);
  }
  return boxes;
}

// The icon control of a message box: a visible static of icon type.
HWND MessageBoxIcon(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if (ClassNameOf(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child))
      return child;
  }
  return nullptr;
}

TEST_F(UtilityTest, MissingCompanionLibraryIsReportedOnceBeforeTheMainDialog) {
  ASSERT_NO_FATAL_FAILURE(StartUtility(Companion::Missing, Spy::On));

  const HWND box = WaitFor(kWindowTimeout, [&] { return FindMessageBox(process().id()); });
  ASSERT_NE(box, nullptr) << "no message box within " << kWindowTimeout.count() << " ms";
  EXPECT_EQ(FindMainDialog(process().id()), nullptr) << "the main dialog came before the box";
  EXPECT_EQ(MessageBoxText(box), kMissingLibraryText);
  EXPECT_EQ(TextOf(box), L"Error");
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box has no owner";
  const HWND icon = MessageBoxIcon(box);
  ASSERT_NE(icon, nullptr) << "the box shows no icon";
  std::optional<StandardIcon> shown;
  WaitFor(kScreenTimeout, [&] {
    shown = StandardIconShownBy(icon);
    return shown == StandardIcon::Error;
  });
  EXPECT_EQ(shown, StandardIcon::Error) << "the error icon";
  const HWND ok = GetDlgItem(box, IDOK);
  ASSERT_NE(ok, nullptr) << "the box has no OK button";

  PostMessageW(ok, BM_CLICK, 0, 0);

  const HWND dialog = WaitForMainDialog();
  ASSERT_NE(dialog, nullptr) << "no main dialog after the box was answered";
  EXPECT_EQ(FindMessageBox(process().id()), nullptr);
  ASSERT_TRUE(WaitForSpyEvent(L"show", dialog).has_value()) << "the spy missed the main dialog";
  const std::vector<SpyEvent> events = SpyEvents();
  EXPECT_EQ(MessageBoxesCreated(events), std::set<HWND>{box}) << "exactly one message box";
  EXPECT_LT(FirstIndex(events, L"destroy", box), FirstIndex(events, L"create", dialog))
      << "the box goes before the main dialog is made";
  EXPECT_EQ(WindowShowingText(events, kStartUpText), nullptr)
      << "no start-up message without the library";
}

// The start-up message: created while the main dialog initialises, shown
// with its text, and gone before the main dialog first shows.
TEST_F(UtilityTest, StartUpMessageShowsDuringInitialisationAndGoesBeforeTheMainDialog) {
  ASSERT_NO_FATAL_FAILURE(StartUtility(Companion::Installed, Spy::On));
  const HWND dialog = WaitForMainDialog();
  ASSERT_NE(dialog, nullptr) << "no main dialog within " << kWindowTimeout.count() << " ms";
  ASSERT_TRUE(WaitForSpyEvent(L"show", dialog).has_value()) << "the spy missed the main dialog";

  const std::vector<SpyEvent> events = SpyEvents();
  ASSERT_FALSE(events.empty()) << "window_spy.dll recorded nothing in the utility";
  EXPECT_TRUE(MessageBoxesCreated(events).empty()) << "the library was found: no message box";
  const HWND message = WindowShowingText(events, kStartUpText);
  ASSERT_NE(message, nullptr) << "no window ever showed \"Starting application...\"";
  ASSERT_NE(message, dialog);

  const size_t dialogCreated = FirstIndex(events, L"create", dialog);
  const size_t messageCreated = FirstIndex(events, L"create", message);
  const size_t messageShown = FirstIndex(events, L"show", message);
  const size_t messageDestroyed = FirstIndex(events, L"destroy", message);
  const size_t dialogInitialised = FirstIndex(events, L"initdialog", dialog);
  const size_t dialogShown = FirstIndex(events, L"show", dialog);
  ASSERT_LT(messageShown, events.size()) << "the start-up message was never shown";
  ASSERT_LT(messageDestroyed, events.size()) << "the start-up message was never destroyed";
  ASSERT_LT(dialogShown, events.size());

  EXPECT_LT(dialogCreated, messageCreated) << "made during the main dialog's initialisation";
  EXPECT_LT(messageCreated, messageShown);
  EXPECT_LT(messageShown, messageDestroyed);
  EXPECT_LT(FirstStaticWithText(events, kStartUpText), messageDestroyed);
  EXPECT_LT(messageDestroyed, dialogInitialised) << "removed within the initialisation";
  EXPECT_LT(messageDestroyed, dialogShown) << "removed before the main dialog shows";

  const SpyEvent& destroyed = events[messageDestroyed];
  EXPECT_EQ(destroyed.root, message) << "the start-up message is a top-level window";
  EXPECT_EQ(destroyed.text, kUtilityCaption) << "its title";
}

}  // namespace
}  // namespace e2e

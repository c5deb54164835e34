#include "standard_icon.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

#include "picture_file.h"
#include "win_handles.h"

namespace e2e {
namespace {

const std::pair<StandardIcon, const wchar_t*> kStandardIcons[] = {
    {StandardIcon::Error, IDI_ERROR},
    {StandardIcon::Warning, IDI_WARNING},
    {StandardIcon::Information, IDI_INFORMATION},
    {StandardIcon::Question, IDI_QUESTION},
};

std::uint64_t Difference(const Picture& a, const Picture& b) {
  std::uint64_t sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const COLORREF p = a.PixelAt(x, y);
      const COLORREF q = b.PixelAt(x, y);
      sum += static_cast<std::uint64_t>(std::abs(GetRValue(p) - GetRValue(q)) +
                                        std::abs(GetGValue(p) - GetGValue(q)) +
                                        std::abs(GetBValue(p) - GetBValue(q)));
    }
  }
  return sum;
}

}  // namespace

void PrintTo(StandardIcon icon, std::ostream* out) {
  constexpr const char* kNames[] = {"error", "warning", "information", "question"};
  *out << kNames[static_cast<int>(icon)];
}

std::optional<StandardIcon> StandardIconShownBy(HWND iconControl) {
  RECT client{};
  POINT origin{};
  if (!GetClientRect(iconControl, &client) || !ClientToScreen(iconControl, &origin)) return {};
  const Picture shown(client.right, client.bottom);
  const WindowDc screen{{nullptr, GetDC(nullptr)}};
  if (!screen || !shown.CopyFrom(screen.get().dc, origin.x, origin.y)) return {};

  // The icons' corners are transparent: the top-left pixel is the background.
  const COLORREF background = shown.PixelAt(0, 0);
  std::optional<StandardIcon> closest;
  std::uint64_t smallest = std::numeric_limits<std::uint64_t>::max();
  for (const auto& [icon, resource] : kStandardIcons) {
    const Picture drawn(shown.width(), shown.height());
    SetDCBrushColor(drawn.dc(), background);
    FillRect(drawn.dc(), &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    DrawIconEx(drawn.dc(), 0, 0, LoadIconW(nullptr, resource), shown.width(), shown.height(), 0,
               nullptr, DI_NORMAL);
    const std::uint64_t difference = Difference(shown, drawn);
    if (difference < smallest) {
      smallest = difference;
      closest = icon;
    }
  }
  return closest;
}

}  // namespace e2e

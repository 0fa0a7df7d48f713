#include "e2e/window_capture.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <ostream>
#include <thread>
#include <utility>

#include "e2e/unique_handle.h"

namespace tesmirol::e2e {
namespace {

constexpr auto kPaintTimeout = std::chrono::seconds(5);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

constexpr std::array<std::pair<COLORREF, TextColour>, 5> kPureColours = {{
    {0x00FF0000, TextColour::kBlue},
    {0x000000FF, TextColour::kRed},
    {0x0000FFFF, TextColour::kYellow},
    {0x0000FF00, TextColour::kGreen},
    {0x00000000, TextColour::kBlack},
}};

// One DIB pixel as a COLORREF: a 32-bit DIB pixel holds B, G, R, unused in
// memory order, a COLORREF R, G, B.
COLORREF FromDibPixel(std::uint32_t pixel) { return RGB((pixel >> 16U) & 0xFFU, (pixel >> 8U) & 0xFFU, pixel & 0xFFU); }

}  // namespace

std::size_t Capture::Count(COLORREF colour) const {
  return static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), colour));
}

std::optional<Capture> CaptureWindow(HWND window) {
  RECT rect{};
  if (IsWindow(window) == FALSE || GetWindowRect(window, &rect) == FALSE) {
    return std::nullopt;
  }
  Capture capture;
  capture.width = rect.right - rect.left;
  capture.height = rect.bottom - rect.top;
  if (capture.width <= 0 || capture.height <= 0) {
    return std::nullopt;
  }

  const WindowDc screen(nullptr);
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (screen.Get() == nullptr || !memory || !bitmap || bits == nullptr) {
    return std::nullopt;
  }
  {
    const SelectedObject selected(memory.get(), bitmap.get());
    if (BitBlt(memory.get(), 0, 0, capture.width, capture.height, screen.Get(), rect.left, rect.top, SRCCOPY) ==
        FALSE) {
      return std::nullopt;
    }
  }
  GdiFlush();

  const auto count = static_cast<std::size_t>(capture.width) * static_cast<std::size_t>(capture.height);
  std::vector<std::uint32_t> raw(count);
  std::memcpy(raw.data(), bits, count * sizeof(std::uint32_t));
  capture.pixels.reserve(count);
  std::transform(raw.begin(), raw.end(), std::back_inserter(capture.pixels), FromDibPixel);
  return capture;
}

TextColour TextColourIn(const Capture& capture) {
  TextColour found = TextColour::kNone;
  for (const auto& [value, colour] : kPureColours) {
    if (capture.Count(value) == 0) {
      continue;
    }
    if (found != TextColour::kNone) {
      return TextColour::kMixed;
    }
    found = colour;
  }
  return found;
}

TextColour WaitForTextColour(HWND window, TextColour expected) {
  const auto deadline = std::chrono::steady_clock::now() + kPaintTimeout;
  while (true) {
    const std::optional<Capture> capture = CaptureWindow(window);
    const TextColour seen = capture ? TextColourIn(*capture) : TextColour::kNone;
    if (seen == expected || std::chrono::steady_clock::now() > deadline) {
      return seen;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

std::ostream& operator<<(std::ostream& out, TextColour colour) {
  switch (colour) {
    case TextColour::kNone:
      return out << "no pure colour";
    case TextColour::kBlue:
      return out << "blue";
    case TextColour::kRed:
      return out << "red";
    case TextColour::kYellow:
      return out << "yellow";
    case TextColour::kGreen:
      return out << "green";
    case TextColour::kBlack:
      return out << "black";
    case TextColour::kMixed:
      return out << "several pure colours";
  }
  return out << "?";
}

}  // namespace tesmirol::e2e

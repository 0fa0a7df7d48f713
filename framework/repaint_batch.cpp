#include "framework/repaint_batch.h"

#include <array>

namespace tesmirol {
namespace {

// What is invalidated: the area, erased, with the children in it.
constexpr UINT kRepaintFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN;

// The child's window rectangle in its parent's client coordinates.
RECT AreaInParent(HWND child, HWND parent) noexcept {
  RECT window{};
  GetWindowRect(child, &window);
  std::array<POINT, 2> corners{{{window.left, window.top}, {window.right, window.bottom}}};
  MapWindowPoints(nullptr, parent, corners.data(), static_cast<UINT>(corners.size()));
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

RepaintBatch::RepaintBatch(HWND parent) noexcept : m_parent(parent), m_area(CreateRectRgn(0, 0, 0, 0)) {}

RepaintBatch::~RepaintBatch() {
  if (!m_empty) {
    RedrawWindow(m_parent, nullptr, m_area.Get(), kRepaintFlags);
  }
}

void RepaintBatch::Add(HWND child) noexcept {
  const RECT area = AreaInParent(child, m_parent);
  const UniqueRegion childArea(CreateRectRgnIndirect(&area));
  if (m_area.Get() == nullptr || childArea.Get() == nullptr ||
      CombineRgn(m_area.Get(), m_area.Get(), childArea.Get(), RGN_OR) == ERROR) {
    InvalidateWithParentArea(child);
    return;
  }
  m_empty = false;
}

void InvalidateWithParentArea(HWND child) noexcept {
  HWND parent = GetParent(child);
  const RECT area = AreaInParent(child, parent);
  RedrawWindow(parent, &area, nullptr, kRepaintFlags);
}

}  // namespace tesmirol

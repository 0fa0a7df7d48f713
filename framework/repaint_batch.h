#pragma once
// RepaintBatch: the areas of a window's children that a run of changes
// leaves to repaint, gathered and invalidated with one call when the batch
// ends. Under Wine every invalidation is a round trip to its server, and a
// keystroke changes five labels.

#include <windows.h>

#include "framework/unique_gdi_object.h"

namespace tesmirol {

class RepaintBatch {
 public:
  explicit RepaintBatch(HWND parent) noexcept;
  RepaintBatch(const RepaintBatch&) = delete;
  RepaintBatch& operator=(const RepaintBatch&) = delete;
  RepaintBatch(RepaintBatch&&) = delete;
  RepaintBatch& operator=(RepaintBatch&&) = delete;
  // Invalidates what was gathered: the parent's background there, erased,
  // and the children that lie in it.
  ~RepaintBatch();

  // Gathers the child's rectangle. Should the area not be gathered (no
  // memory for the region), the child is invalidated with the parent's
  // area under it at once.
  void Add(HWND child) noexcept;

 private:
  HWND m_parent;
  UniqueRegion m_area;
  bool m_empty = true;
};

// Invalidates the child and the parent's area under it, erased, at once.
void InvalidateWithParentArea(HWND child) noexcept;

}  // namespace tesmirol

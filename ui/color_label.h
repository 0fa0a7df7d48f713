#pragma once
// CColorLabel: a static control of the dialog template taken over so that it
// draws its window text itself, in a colour the dialog sets at run time and
// with a font of its own, optionally transparent over the dialog.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "framework/static_control.h"
#include "framework/unique_cursor.h"
#include "ui/label_colors.h"
#include "ui/label_font.h"

namespace tesmirol {

class CColorLabel : public CStatic {
 public:
  // Green text on black, "宋体" 12 pixels high, not bold, not transparent, no
  // cursor of its own.
  CColorLabel() noexcept = default;
  CColorLabel(const CColorLabel&) = delete;
  CColorLabel& operator=(const CColorLabel&) = delete;
  CColorLabel(CColorLabel&&) = delete;
  CColorLabel& operator=(CColorLabel&&) = delete;
  ~CColorLabel() override;

  // Stores the text colour; it shows at the next paint, nothing is redrawn now.
  void SetLabelColor(COLORREF color) noexcept;

  // Stores whether the label leaves its background to the dialog; nothing is
  // redrawn now.
  void SetTransparent(bool transparent) noexcept;

  // Sets the window text, whose repaint joins the batch; the label is
  // repainted even when the text stays. Does nothing while the label has no
  // window.
  void SetLabelText(const std::wstring& text, RepaintBatch& batch);

  // Draws the text into dc: the paint and WM_PRINTCLIENT share it.
  void PaintContent(HDC dc) const;

 protected:
  // Paint, erase background and set cursor (and WM_PRINTCLIENT).
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Everything else goes to the static control; a new text is stored with
  // redrawing off and then repaints the label and what lies under it.
  LRESULT DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Begins and ends the paint around PaintContent.
  LRESULT OnPaint();

  // Fills the background unless the label is transparent.
  LRESULT OnEraseBkgnd(HDC dc) const;

  // Shows the label's own cursor when it has one.
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);

  // WM_SETTEXT: stores the text, then invalidates the label (and, when
  // transparent, the dialog's background under it).
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

  // A character cell 12 pixels high at 96 DPI (negative: the field keeps the
  // sign of a character height; only its absolute value is used).
  static constexpr std::int32_t kDefaultFontHeight = -12;

  LabelFaceName m_faceName = kSongTiFaceName;
  COLORREF m_textColor = kLabelGreen;
  COLORREF m_backColor = kLabelBlack;
  std::int32_t m_fontHeight = kDefaultFontHeight;
  std::int32_t m_bold = 0;
  std::int32_t m_transparent = 0;
  UniqueCursor m_cursor;
};

}  // namespace tesmirol

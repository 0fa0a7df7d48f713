#include "ui/color_label.h"

#include "framework/dc_state_scope.h"
#include "framework/message_params.h"
#include "framework/paint_dc.h"
#include "framework/unique_gdi_object.h"
#include "ui/label_text_format.h"

namespace tesmirol {
namespace {

// The gap between the label's left edge and its text, at 96 DPI.
constexpr int kTextIndent = 5;

}  // namespace

// The cursor, if one was set, goes with m_cursor.
CColorLabel::~CColorLabel() = default;

// Stores the colour.
void CColorLabel::SetLabelColor(COLORREF color) noexcept { m_textColor = color; }

// Stores the flag.
void CColorLabel::SetTransparent(bool transparent) noexcept { m_transparent = transparent ? 1 : 0; }

// WM_SETTEXT through the window, so that the text is stored and repainted.
void CColorLabel::SetLabelText(const std::wstring& text, RepaintBatch& batch) { SetTextInBatch(text, batch); }

// The label's font, colour and text flags over the client area, the text
// indented from the left edge. The scopes put the DC back as they found it
// and the font is deleted after it has been selected out.
void CColorLabel::PaintContent(HDC dc) const {
  RECT rect = GetClientRect();
  const std::wstring text = GetText();
  const UINT dpi = GetDpi();

  const LOGFONTW logFont = LabelLogFont(m_faceName, m_fontHeight, m_bold, dpi);
  const UniqueFont font(CreateFontIndirectW(&logFont));
  const SelectObjectScope selectFont(dc, font.Get());
  const BkModeScope bkMode(dc, TRANSPARENT);
  const TextColorScope textColor(dc, m_textColor);

  const UINT format = LabelTextFormat(GetStyle());
  rect.left += ScaleForDpi(kTextIndent, dpi);
  DrawTextW(dc, text.c_str(), -1, &rect, format);
}

// The label's message map.
std::optional<LRESULT> CColorLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_PRINTCLIENT:
      PaintContent(DcFromParam(wParam));
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBkgnd(DcFromParam(wParam));
    case WM_SETCURSOR:
      return OnSetCursor(wParam, lParam);
    default:
      return std::nullopt;
  }
}

// WM_SETTEXT is the label's own; the rest is the static control's.
LRESULT CColorLabel::DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) {
    return OnSetText(wParam, lParam);
  }
  return CStatic::DefaultWindowProc(message, wParam, lParam);
}

// Paints through PaintContent.
LRESULT CColorLabel::OnPaint() {
  const PaintDc dc(GetSafeHwnd());
  if (dc.Get() != nullptr) {
    PaintContent(dc.Get());
  }
  return 0;
}

// Reports the background as erased in every case, so that a transparent
// label shows the dialog beneath it.
LRESULT CColorLabel::OnEraseBkgnd(HDC dc) const {
  if (m_transparent == 0) {
    const UniqueBrush brush(CreateSolidBrush(m_backColor));
    const RECT rect = GetClientRect();
    FillRect(dc, &rect, brush.Get());
  }
  return TRUE;
}

// The label's cursor, or the default handling when it has none.
LRESULT CColorLabel::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  if (m_cursor.Get() != nullptr) {
    SetCursor(m_cursor.Get());
    return TRUE;
  }
  return DefaultWindowProc(WM_SETCURSOR, wParam, lParam);
}

// The static control would repaint the old way at once: the label stores
// the text without it, as the system's default handling does for any
// window, then has itself repainted, and when transparent the parent's area
// under it with it, where the old text's pixels must go.
LRESULT CColorLabel::OnSetText(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(GetSafeHwnd(), WM_SETTEXT, wParam, lParam);
  RequestRepaint(m_transparent != 0);
  return result;
}

}  // namespace tesmirol

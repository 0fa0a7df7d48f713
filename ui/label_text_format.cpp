#include "ui/label_text_format.h"

namespace tesmirol {
namespace {

// Styles that draw a single line or cut the text short, so the text must not
// wrap: the ellipsis styles, centre image, and the type bits that the
// no-wrap types (SS_SIMPLE, SS_LEFTNOWORDWRAP) carry.
constexpr DWORD kNoWrapStyles = SS_ELLIPSISMASK | SS_CENTERIMAGE | 0x000CU;

}  // namespace

// Maps alignment, centre image, no prefix and ellipsis styles to DT_ flags.
UINT LabelTextFormat(DWORD style) noexcept {
  UINT format = DT_LEFT;
  if ((style & SS_CENTER) != 0) {
    format |= DT_CENTER;
  }
  if ((style & SS_RIGHT) != 0) {
    format |= DT_RIGHT;
  }
  if ((style & SS_CENTERIMAGE) != 0) {
    format |= DT_VCENTER | DT_SINGLELINE;
  }
  if ((style & SS_NOPREFIX) != 0) {
    format |= DT_NOPREFIX;
  }
  if ((style & SS_ELLIPSISMASK) != 0) {
    format |= DT_WORD_ELLIPSIS;
    if ((style & SS_ENDELLIPSIS) != 0) {
      format |= DT_END_ELLIPSIS;
    }
    if ((style & SS_PATHELLIPSIS) != 0) {
      format |= DT_PATH_ELLIPSIS;
    }
  }
  if ((style & kNoWrapStyles) == 0) {
    format |= DT_WORDBREAK;
  }
  return format;
}

}  // namespace tesmirol

// Sizing an edit or combo on a toolbar while customizing: the cursor within
// a few pixels inside the left or right edge of the selected edit arms the
// drag, a press captures the mouse, an inverted frame follows the new width
// and the release stores it as the link's own width.
#include "dxBar.h"
#include "dxBarEdits.h"

#include "dxBarCommon.h"

#include "Forms.h"

#include <algorithm>

namespace {

constexpr int kEdgeZone = 7;
constexpr int kMinWidth = 20;

// Four inverted 2-pixel bars just inside the rectangle, on the screen:
// drawn twice they leave no trace.
void InvertFrame(const TRect& R) {
  HDC dc = GetDC(nullptr);
  const RECT bars[] = {{R.left, R.top, R.right, R.top + 2},
                       {R.left, R.bottom - 2, R.right, R.bottom},
                       {R.left, R.top + 2, R.left + 2, R.bottom - 2},
                       {R.right - 2, R.top + 2, R.right, R.bottom - 2}};
  for (const RECT& bar : bars)
    PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, DSTINVERT);
  ReleaseDC(nullptr, dc);
}

} // namespace

bool TdxBarControl::ArmEditWidthDrag(POINT ClientPoint) {
  FEditDrag.Armed = false;
  if (!IsCustomizing()) return false;
  auto* edit = dynamic_cast<TdxBarEditControl*>(GetSelectedControl());
  if (!edit || !edit->GetLink()) return false;
  const TRect r = edit->GetLink()->ItemRect;
  if (ClientPoint.y < r.top || ClientPoint.y >= r.bottom) return false;
  if (ClientPoint.x >= r.left && ClientPoint.x < r.left + kEdgeZone)
    FEditDrag.RightEdge = false;
  else if (ClientPoint.x < r.right && ClientPoint.x >= r.right - kEdgeZone)
    FEditDrag.RightEdge = true;
  else
    return false;
  // Where inside the edge the cursor took it: the edge keeps that distance.
  FEditDrag.Grab = FEditDrag.RightEdge ? r.right - ClientPoint.x : ClientPoint.x - r.left;
  FEditDrag.Armed = true;
  return true;
}

bool TdxBarControl::StartEditWidthDrag() {
  if (!FEditDrag.Armed || !dynamic_cast<TdxBarEditControl*>(GetSelectedControl())) return false;
  FEditDrag.Active = true;
  FEditDrag.FrameShown = false;
  FEditDrag.Width = GetSelectedControl()->GetLink()->GetWidth();
  SetCapture(GetHandle());
  return true;
}

bool TdxBarControl::EditWidthDragMove(POINT ClientPoint) {
  if (!FEditDrag.Active) return false;
  auto* edit = dynamic_cast<TdxBarEditControl*>(GetSelectedControl());
  if (!edit || GetCapture() != GetHandle()) return true;
  const TRect r = edit->GetLink()->ItemRect;
  const int span = FEditDrag.Grab + (FEditDrag.RightEdge ? ClientPoint.x - r.left : r.right - ClientPoint.x);
  const int width = std::max(kMinWidth, span - edit->GetCaptionWidth());
  if (width == FEditDrag.Width) return true;
  if (FEditDrag.FrameShown)
    InvertFrame(FEditDrag.Frame);
  else
    edit->Repaint();
  FEditDrag.Width = width;
  const int outer = width + edit->GetCaptionWidth();
  TRect frame = r;
  if (FEditDrag.RightEdge)
    frame.right = frame.left + outer;
  else
    frame.left = frame.right - outer;
  const TPoint topLeft = ClientToScreen(TPoint(frame.left, frame.top));
  FEditDrag.Frame = TRect(topLeft.x, topLeft.y, topLeft.x + frame.Width(), topLeft.y + frame.Height());
  InvertFrame(FEditDrag.Frame);
  FEditDrag.FrameShown = true;
  return true;
}

bool TdxBarControl::EndEditWidthDrag() {
  if (!FEditDrag.Active) return false;
  FEditDrag.Active = false;
  if (FEditDrag.FrameShown) InvertFrame(FEditDrag.Frame);
  FEditDrag.FrameShown = false;
  if (auto* edit = dynamic_cast<TdxBarEditControl*>(GetSelectedControl())) {
    TdxBarItemLink* link = edit->GetLink();
    if (FEditDrag.Width != link->GetWidth())
      link->SetUserWidth(std::max(kMinWidth, FEditDrag.Width));
    else
      edit->Repaint();
  }
  if (IsBarControlAlive(this) && GetCapture() == GetHandle()) ReleaseCapture();
  return true;
}

void TdxBarControl::CancelEditWidthDrag() {
  if (!FEditDrag.Active) return;
  FEditDrag.Active = false;
  if (FEditDrag.FrameShown) InvertFrame(FEditDrag.Frame);
  FEditDrag.FrameShown = false;
  if (TdxBarItemControl* control = GetSelectedControl()) control->Repaint();
}

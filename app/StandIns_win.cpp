#include "StandIns.h"

TStandInLargeButton::TStandInLargeButton(TComponent* AOwner) : TdxBarButton(AOwner) {
  // The class joins the bars library's registry with the first button made
  // after the library started (it empties the registry when it ends); it is
  // no class for a designer to offer.
  if (!GetItemControlClass(this))
    RegisterBarItemClass(
        ClassInfo(),
        [](TdxBarItemLink* link) -> TObject* { return new TdxBarButtonControl(link, link->GetBarControl()); },
        false);
  SetPaintStyle(psCaptionGlyph);
}

TdxBarItemClass TStandInLargeButton::ClassInfo() {
  return MakeBarItemClassInfo<TStandInLargeButton>("TStandInLargeButton");
}

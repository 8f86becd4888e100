#include "dxBarCommon.h"

// ---- Fonts ----

HFONT CloneFontHandle(HFONT Font) {
  LOGFONTA lf{};
  GetObjectA(Font, sizeof(lf), &lf);
  return CreateFontIndirectA(&lf);
}

void CreateMenuFont(TFont* Font, HFONT& Handle, bool UseSystem) {
  if (Handle) DeleteObject(Handle);
  if (!UseSystem) {
    Handle = CloneFontHandle(Font->GetHandle());
    return;
  }
  LOGFONTA lf{};
  GetObjectA(Font->GetHandle(), sizeof(lf), &lf);
  LOGFONTA iconTitle{};
  SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0);
  lf.lfHeight = iconTitle.lfHeight >= -10 ? -11 : iconTitle.lfHeight;
  Handle = CreateFontIndirectA(&lf);
}

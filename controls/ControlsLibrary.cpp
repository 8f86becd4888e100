#include "ControlsLibrary.h"

#include "cxBrushCache.h"
#include "cxClasses.h"
#include "cxContainer.h"
#include "cxControls.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

namespace {

int StartCount = 0;

} // namespace

void StartControlsLibrary() {
  if (StartCount++ > 0) return;
  dxUxThemeInitialize();
  dxThemeManagerInitialize();
  cxLookAndFeelsInitialize();
  cxLookAndFeelPaintersInitialize();
  cxControlsInitialize();
  cxPopupsInitialize();
  cxContainerInitialize();
  cxBrushCacheInitialize();
}

void EndControlsLibrary() {
  if (StartCount == 0 || --StartCount > 0) return;
  cxBrushCacheFinalize();
  cxContainerFinalize();
  cxPopupsFinalize();
  cxControlsFinalize();
  cxLookAndFeelPaintersFinalize();
  cxLookAndFeelsFinalize();
  dxThemeManagerFinalize();
  dxUxThemeFinalize();
  cxClassesFinalize();
}

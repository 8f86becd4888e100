// One open theme handle per visual-style class for the whole process, and
// the subscribers told when the user changes the theme.
#pragma once

#include "dxUxTheme.h"

#include "SysUtils.h"

#include "Components.h"

#include <cstdint>
#include <functional>
#include <string>

// Theme classes by index; a set of them is a mask with bit N for index N.
enum TdxThemedObjectType {
  totButton,
  totClock,
  totComboBox,
  totEdit,
  totExplorerBar,
  totHeader,
  totListView,
  totMenu,
  totPage,
  totProgress,
  totRebar,
  totScrollBar,
  totSpin,
  totStartPanel,
  totStatus,
  totTab,
  totTaskBand,
  totTaskBar,
  totToolBar,
  totToolTip,
  totTrackBar,
  totTrayNotify,
  totTreeView,
  totWindow
};
constexpr int dxThemeClassCount = 24;
using TdxThemedObjectTypes = uint32_t;

constexpr TdxThemedObjectTypes ThemeClassMask(TdxThemedObjectType Type) {
  return TdxThemedObjectTypes{1} << Type;
}

struct TdxThemeData {
  HTHEME Handle = nullptr;
  std::wstring Name;
};

// True while themes are active and the library is loaded, and every class
// in Classes opens.
bool ThemesAvailable(TdxThemedObjectTypes Classes = 0);
// The cached handle of the class, or 0; callers never close it. A class
// name, when given, is opened in place of the class's own.
HTHEME OpenThemeHandle(TdxThemedObjectType Index, const std::wstring& ClassName = std::wstring());
void CloseThemeHandle(TdxThemedObjectType Index);
void CloseAllThemeHandles();
// The cache's entry of a class.
const TdxThemeData& ThemeData(TdxThemedObjectType Index);

// A subscriber told after every theme change, once the cached handles are
// closed. Registered only while the library is loaded.
class TdxThemeChangedNotificator : public TObject {
public:
  TdxThemeChangedNotificator();
  ~TdxThemeChangedNotificator() override;
  TdxThemeChangedNotificator(const TdxThemeChangedNotificator&) = delete;
  TdxThemeChangedNotificator& operator=(const TdxThemeChangedNotificator&) = delete;
  std::function<void()> OnThemeSwitched;
};

void dxThemeManagerInitialize();
void dxThemeManagerFinalize();

#include "dxThemeManager.h"

#include "Forms.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const wchar_t* const DefaultClassNames[dxThemeClassCount] = {
    L"Button",   L"Clock",      L"ComboBox", L"Edit",       L"ExplorerBar", L"Header",
    L"ListView", L"Menu",       L"Page",     L"Progress",   L"Rebar",       L"ScrollBar",
    L"Spin",     L"StartPanel", L"Status",   L"Tab",        L"TaskBand",    L"TaskBar",
    L"ToolBar",  L"ToolTip",    L"TrackBar", L"TrayNotify", L"TreeView",    L"Window"};

bool ThemeActive = false;
TdxThemeData ThemeTable[dxThemeClassCount];

// Receives WM_THEMECHANGED in a hidden window of its own.
class TdxThemeChangedEventReceiver : public TObject {
public:
  TdxThemeChangedEventReceiver() : FWindow(AllocateHWnd([this](TMessage& m) { WndProc(m); })) {}
  ~TdxThemeChangedEventReceiver() override {
    ThemeActive = false;
    DeallocateHWnd(FWindow);
  }

private:
  void WndProc(TMessage& Message);
  HWND FWindow;
};

std::unique_ptr<TdxThemeChangedEventReceiver> Receiver;
std::unique_ptr<std::vector<TdxThemeChangedNotificator*>> Subscribers;

void NotifySubscribers() {
  const size_t count = Subscribers->size();
  // A subscriber may free a later one: never read past the shortened list.
  for (size_t i = 0; i < count && i < Subscribers->size(); ++i) {
    TdxThemeChangedNotificator* subscriber = (*Subscribers)[i];
    if (subscriber->OnThemeSwitched) subscriber->OnThemeSwitched();
  }
}

void TdxThemeChangedEventReceiver::WndProc(TMessage& Message) {
  if (Message.Msg != WM_THEMECHANGED) {
    Message.Result = DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  CloseAllThemeHandles();
  DefWindowProcA(FWindow, Message.Msg, Message.WParam, Message.LParam);
  ThemeActive = dxUxTheme::IsThemeActive() != 0;
  Message.Result = 0;
  NotifySubscribers();
}

} // namespace

bool ThemesAvailable(TdxThemedObjectTypes Classes) {
  if (!ThemeActive || !IsVisualStyleLibraryPresent()) return false;
  for (int i = 0; i < dxThemeClassCount; ++i)
    if ((Classes & (TdxThemedObjectTypes{1} << i)) && !OpenThemeHandle(static_cast<TdxThemedObjectType>(i)))
      return false;
  return true;
}

HTHEME OpenThemeHandle(TdxThemedObjectType Index, const std::wstring& ClassName) {
  if (!ThemesAvailable()) return nullptr;
  TdxThemeData& entry = ThemeTable[Index];
  if (entry.Handle) return entry.Handle;
  std::wstring name = ClassName.empty() ? entry.Name : ClassName;
  if (name.empty()) name = DefaultClassNames[Index];
  entry.Handle = dxUxTheme::OpenThemeData(nullptr, name.c_str());
  // A class that failed is tried again on the next call.
  entry.Name = entry.Handle ? name : std::wstring();
  return entry.Handle;
}

void CloseThemeHandle(TdxThemedObjectType Index) {
  TdxThemeData& entry = ThemeTable[Index];
  if (!ThemesAvailable() || !entry.Handle) return;
  dxUxTheme::CloseThemeData(entry.Handle);
  entry.Handle = nullptr;
  entry.Name.clear();
}

void CloseAllThemeHandles() {
  for (TdxThemeData& entry : ThemeTable) {
    if (!entry.Handle) continue;
    dxUxTheme::CloseThemeData(entry.Handle);
    entry.Handle = nullptr;
  }
}

const TdxThemeData& ThemeData(TdxThemedObjectType Index) {
  return ThemeTable[Index];
}

TdxThemeChangedNotificator::TdxThemeChangedNotificator() {
  if (IsVisualStyleLibraryPresent() && Subscribers) Subscribers->push_back(this);
}

TdxThemeChangedNotificator::~TdxThemeChangedNotificator() {
  if (!IsVisualStyleLibraryPresent() || !Subscribers) return;
  Subscribers->erase(std::remove(Subscribers->begin(), Subscribers->end(), this), Subscribers->end());
}

void dxThemeManagerInitialize() {
  if (!IsVisualStyleLibraryPresent()) return;
  ThemeActive = dxUxTheme::IsThemeActive() != 0;
  Receiver = std::make_unique<TdxThemeChangedEventReceiver>();
  Subscribers = std::make_unique<std::vector<TdxThemeChangedNotificator*>>();
}

void dxThemeManagerFinalize() {
  if (IsVisualStyleLibraryPresent()) {
    Receiver.reset();
    CloseAllThemeHandles();
    Subscribers.reset();
  }
  for (TdxThemeData& entry : ThemeTable)
    entry = TdxThemeData();
}

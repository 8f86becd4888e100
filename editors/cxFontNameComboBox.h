// The font-name combo box's font list: the loader thread that enumerates the
// installed fonts off the GUI thread and hands its sorted list over through
// Synchronize, the most-recently-used names, the font type flags and the
// two type icons.
#pragma once

#include "Collections.h"
#include "Graphics.h"
#include "Sets.h"
#include "StdCtrls.h"
#include "Threads.h"

#include <windows.h>

enum TcxFontType { cxftTTF, cxftRaster, cxftDevice, cxftFixed, cxftSymbol };
using TcxFontTypes = TSet<TcxFontType>;
enum TcxShowFontIconType { ftiShowInCombo, ftiShowInList };
using TcxShowFontIconTypes = TSet<TcxShowFontIconType>;
using TcxDeleteMRUFontEvent = std::function<void(TObject* Sender, const String& DeletedMRUFontName)>;

constexpr TcxFontTypes cxAllFontTypes = {cxftTTF, cxftRaster, cxftDevice, cxftFixed, cxftSymbol};

// The flag word each list item carries: the enumeration's font type bits
// and two of our own.
constexpr unsigned cxFontFlagRaster = RASTER_FONTTYPE;
constexpr unsigned cxFontFlagDevice = DEVICE_FONTTYPE;
constexpr unsigned cxFontFlagTrueType = TRUETYPE_FONTTYPE;
constexpr unsigned cxFontFlagSymbol = 0x100;
constexpr unsigned cxFontFlagFixed = 0x200;

TcxFontTypes FontTypeFlagsToSet(unsigned AFlags);
// Whether a reported font passes the loader's filter.
bool FontMatchesTypes(TcxFontTypes ATypes, const LOGFONTA& ALogFont, DWORD AFontType);
// The flag word of a reported font.
unsigned EnumFontTypeFlags(const LOGFONTA& ALogFont, DWORD AFontType);

class TcxFontLoader;
using TcxFontLoaderEvent = std::function<void(TcxFontLoader* Sender)>;

// Enumerates the fonts of the screen into FoundFonts, sorted, each name once
// with its flag word as object. It frees itself when it has run: in its
// destruction it hands the list to OnFontsLoaded and then reports
// OnLoaderDone, both on the GUI thread. The GUI thread may clear the two
// callbacks at any time; they are tested there, inside the synchronized
// calls, so a cleared callback is never run.
class TcxFontLoader : public TThread {
public:
  explicit TcxFontLoader(TcxFontTypes AFontTypes);
  ~TcxFontLoader() override;

  TStringList* GetFoundFonts() const { return FFoundFonts.get(); }
  TcxFontLoaderEvent OnFontsLoaded;
  TcxFontLoaderEvent OnLoaderDone;

  // Runs in each loader thread before it enumerates; tests hold the
  // enumeration there to make the loading state last.
  static std::function<void()> BeforeEnumerate;

protected:
  void Execute() override;

private:
  static int CALLBACK EnumFontFamilyProc(const LOGFONTA* ALogFont, const TEXTMETRICA*, DWORD AFontType,
                                         LPARAM ALoader);
  void EnumerateFonts();
  void FontFound(const LOGFONTA& ALogFont, DWORD AFontType);

  TcxFontTypes FFontTypes;
  std::unique_ptr<TStringList> FFoundFonts;
};

// Processes the application's messages until the milliseconds have passed
// (or the tick counter wrapped).
void ProcessMessagesFor(DWORD AMilliseconds);

class TcxMRUFontNameItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  void Assign(const TPersistent* Source) override;
  const String& GetFontName() const { return FFontName; }
  void SetFontName(const String& Value);

protected:
  String ClassName() const override { return "TcxMRUFontNameItem"; }

private:
  String FFontName;
};

// The most-recently-used names, most recent first; every change reaches the
// owner's change handler.
class TcxMRUFontNameItems : public TTypedCollection<TcxMRUFontNameItem> {
public:
  TcxMRUFontNameItems(TPersistent* AOwner, std::function<void()> AOwnerChanged);

  TPersistent* GetOwner() const override { return FOwner; }
  // Exact, case-sensitive match.
  TcxMRUFontNameItem* FindFontName(const String& AFontName) const;
  // None for an empty name or one already present.
  TcxMRUFontNameItem* AddMRUFontName(const String& AFontName);
  TcxMRUFontNameItem* InsertMRUFontName(int AIndex, const String& AFontName);
  void Move(int AFromIndex, int AToIndex);

protected:
  void Update(TCollectionItem* Item) override;
  String ClassName() const override { return "TcxMRUFontNameItems"; }

private:
  bool CanAdd(const String& AFontName) const;
  TPersistent* FOwner;
  std::function<void()> FOwnerChanged;
};

enum TcxFontPreviewType { cxfpFontName, cxfpCustom, cxfpFullAlphabet };
enum TcxFontButtonType { cxfbtBold, cxfbtItalic, cxfbtUnderline, cxfbtStrikeOut };
using TcxFontButtonClickEvent = std::function<void(TObject* Sender, TcxFontButtonType ButtonType)>;

// The settings of the preview pane above the font list. Changes made between
// BeginUpdate and EndUpdate end in one notification.
class TcxFontPreview : public TPersistent {
public:
  explicit TcxFontPreview(TPersistent* AOwner) : FOwner(AOwner) {}
  void Assign(const TPersistent* Source) override;
  TPersistent* GetOwner() const { return FOwner; }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  TFontStyles GetFontStyle() const { return FFontStyle; }
  void SetFontStyle(TFontStyles Value) { Set(FFontStyle, Value); }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value) { Set(FVisible, Value); }
  TcxFontPreviewType GetPreviewType() const { return FPreviewType; }
  void SetPreviewType(TcxFontPreviewType Value) { Set(FPreviewType, Value); }
  const String& GetPreviewText() const { return FPreviewText; }
  void SetPreviewText(const String& Value) { Set(FPreviewText, Value); }
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { Set(FAlignment, Value); }
  bool GetShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool Value) { Set(FShowEndEllipsis, Value); }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value) { Set(FColor, Value); }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { Set(FWordWrap, Value); }
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value) { Set(FShowButtons, Value); }

  TcxFontButtonClickEvent OnButtonClick;
  std::function<void()> OnChanged;

protected:
  virtual void Changed();
  String ClassName() const override { return "TcxFontPreview"; }

private:
  template <typename T> void Set(T& AField, const T& AValue) {
    if (AField == AValue) return;
    AField = AValue;
    Changed();
  }
  TPersistent* FOwner;
  int FUpdateCount = 0;
  bool FModified = false;
  TFontStyles FFontStyle;
  bool FVisible = true;
  TcxFontPreviewType FPreviewType = cxfpFontName;
  String FPreviewText;
  TAlignment FAlignment = taCenter;
  bool FShowEndEllipsis = true;
  TColor FColor = clWindow;
  bool FWordWrap = false;
  bool FShowButtons = true;
};

// The type icons of the edit field and the list, loaded with the library.
TBitmap* cxFontTypeIcon(bool ATrueType);
void cxFontNameComboBoxInitialize();
void cxFontNameComboBoxFinalize();

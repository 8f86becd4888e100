#include "cxFontNameComboBox.h"

#include "Forms.h"

#include <memory>

TcxFontTypes FontTypeFlagsToSet(unsigned AFlags) {
  TcxFontTypes result;
  if (AFlags & cxFontFlagTrueType) result.Include(cxftTTF);
  if (AFlags & cxFontFlagRaster) result.Include(cxftRaster);
  if (AFlags & cxFontFlagDevice) result.Include(cxftDevice);
  if (AFlags & cxFontFlagFixed) result.Include(cxftFixed);
  if (AFlags & cxFontFlagSymbol) result.Include(cxftSymbol);
  return result;
}

bool FontMatchesTypes(TcxFontTypes ATypes, const LOGFONTA& ALogFont, DWORD AFontType) {
  return (ATypes.Contains(cxftTTF) && (AFontType & TRUETYPE_FONTTYPE)) ||
         (ATypes.Contains(cxftDevice) && (AFontType & DEVICE_FONTTYPE)) ||
         (ATypes.Contains(cxftRaster) && (AFontType & RASTER_FONTTYPE)) ||
         (ATypes.Contains(cxftFixed) && (ALogFont.lfPitchAndFamily & FIXED_PITCH)) ||
         (ATypes.Contains(cxftSymbol) && ALogFont.lfCharSet == SYMBOL_CHARSET);
}

unsigned EnumFontTypeFlags(const LOGFONTA& ALogFont, DWORD AFontType) {
  unsigned flags = AFontType;
  if (ALogFont.lfCharSet == SYMBOL_CHARSET) flags |= cxFontFlagSymbol;
  // The whole byte, not the pitch bit alone: a fixed-pitch font with a
  // family value passes the filter without the flag.
  if (ALogFont.lfPitchAndFamily == FIXED_PITCH) flags |= cxFontFlagFixed;
  return flags;
}

// TcxFontLoader

std::function<void()> TcxFontLoader::BeforeEnumerate;

TcxFontLoader::TcxFontLoader(TcxFontTypes AFontTypes)
    : TThread(true), FFontTypes(AFontTypes), FFoundFonts(std::make_unique<TStringList>()) {
  FreeOnTerminate = true;
}

TcxFontLoader::~TcxFontLoader() {
  // The callbacks are read on the GUI thread, which is the only one that
  // clears them: a loader stopped meanwhile never hands its list over.
  Synchronize([this] {
    if (OnFontsLoaded) OnFontsLoaded(this);
  });
  FFoundFonts.reset();
  Synchronize([this] {
    if (OnLoaderDone) OnLoaderDone(this);
  });
}

void TcxFontLoader::Execute() {
  FFoundFonts->BeginUpdate();
  FFoundFonts->Clear();
  try {
    if (BeforeEnumerate) BeforeEnumerate();
    EnumerateFonts();
  } catch (...) {
    // A failed enumeration is not reported: the list keeps what was found.
  }
  FFoundFonts->Sort();
  FFoundFonts->EndUpdate();
}

void TcxFontLoader::EnumerateFonts() {
  HDC dc = GetDC(nullptr);
  LOGFONTA logFont{};
  logFont.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(dc, &logFont, EnumFontFamilyProc, reinterpret_cast<LPARAM>(this), 0);
  ReleaseDC(nullptr, dc);
}

int CALLBACK TcxFontLoader::EnumFontFamilyProc(const LOGFONTA* ALogFont, const TEXTMETRICA*, DWORD AFontType,
                                               LPARAM ALoader) {
  auto* loader = reinterpret_cast<TcxFontLoader*>(ALoader);
  loader->FontFound(*ALogFont, AFontType);
  return loader->GetTerminated() ? 0 : 1;
}

void TcxFontLoader::FontFound(const LOGFONTA& ALogFont, DWORD AFontType) {
  // A face comes once per character set; its first report counts.
  const String name = ALogFont.lfFaceName;
  if (FFoundFonts->IndexOf(name) != -1 || !FontMatchesTypes(FFontTypes, ALogFont, AFontType)) return;
  FFoundFonts->AddObject(
      name, reinterpret_cast<void*>(static_cast<uintptr_t>(EnumFontTypeFlags(ALogFont, AFontType))));
}

void ProcessMessagesFor(DWORD AMilliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    Application->ProcessMessages();
    const DWORD now = GetTickCount();
    if (now - start >= AMilliseconds || now < start) return;
  }
}

// The MRU names

void TcxMRUFontNameItem::Assign(const TPersistent* Source) {
  if (auto* item = dynamic_cast<const TcxMRUFontNameItem*>(Source))
    SetFontName(item->FFontName);
  else
    TCollectionItem::Assign(Source);
}

void TcxMRUFontNameItem::SetFontName(const String& Value) {
  if (FFontName == Value) return;
  FFontName = Value;
  Changed(false);
}

TcxMRUFontNameItems::TcxMRUFontNameItems(TPersistent* AOwner, std::function<void()> AOwnerChanged)
    : FOwner(AOwner), FOwnerChanged(std::move(AOwnerChanged)) {}

TcxMRUFontNameItem* TcxMRUFontNameItems::FindFontName(const String& AFontName) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetItem(i)->GetFontName() == AFontName) return GetItem(i);
  return nullptr;
}

bool TcxMRUFontNameItems::CanAdd(const String& AFontName) const {
  return !AFontName.empty() && !FindFontName(AFontName);
}

TcxMRUFontNameItem* TcxMRUFontNameItems::AddMRUFontName(const String& AFontName) {
  return InsertMRUFontName(GetCount(), AFontName);
}

TcxMRUFontNameItem* TcxMRUFontNameItems::InsertMRUFontName(int AIndex, const String& AFontName) {
  if (!CanAdd(AFontName)) return nullptr;
  auto* item = static_cast<TcxMRUFontNameItem*>(Insert(AIndex));
  item->SetFontName(AFontName);
  return item;
}

void TcxMRUFontNameItems::Move(int AFromIndex, int AToIndex) {
  if (AFromIndex == AToIndex) return;
  TcxMRUFontNameItem* old = GetItem(AFromIndex);
  static_cast<TcxMRUFontNameItem*>(Insert(AToIndex))->Assign(old);
  delete old;
}

void TcxMRUFontNameItems::Update(TCollectionItem* Item) {
  TTypedCollection<TcxMRUFontNameItem>::Update(Item);
  if (FOwnerChanged) FOwnerChanged();
}

// The preview settings

void TcxFontPreview::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TcxFontPreview*>(Source);
  if (!source) return TPersistent::Assign(Source);
  BeginUpdate();
  SetVisible(source->FVisible);
  SetFontStyle(source->FFontStyle);
  SetPreviewType(source->FPreviewType);
  SetPreviewText(source->FPreviewText);
  SetAlignment(source->FAlignment);
  SetShowEndEllipsis(source->FShowEndEllipsis);
  SetColor(source->FColor);
  SetWordWrap(source->FWordWrap);
  SetShowButtons(source->FShowButtons);
  EndUpdate();
}

void TcxFontPreview::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FModified) Changed();
}

void TcxFontPreview::Changed() {
  if (FUpdateCount > 0) {
    FModified = true;
    return;
  }
  FModified = false;
  if (OnChanged) OnChanged();
}

// The type icons

namespace {

std::unique_ptr<TBitmap> TrueTypeIcon;
std::unique_ptr<TBitmap> OtherFontIcon;

std::unique_ptr<TBitmap> LoadFontTypeIcon(const char* AName) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, AName, "CXFONTCOMBOICON");
  if (!info) throw EResNotFound(Format("Resource %s not found", String(AName)));
  TMemoryStream stream;
  stream.WriteBuffer(LockResource(LoadResource(module, info)), SizeofResource(module, info));
  stream.SetPosition(0);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromStream(stream);
  bitmap->SetTransparent(true);
  return bitmap;
}

} // namespace

TBitmap* cxFontTypeIcon(bool ATrueType) {
  return ATrueType ? TrueTypeIcon.get() : OtherFontIcon.get();
}

void cxFontNameComboBoxRegister();
void cxFontNameComboBoxUnregister();

void cxFontNameComboBoxInitialize() {
  cxFontNameComboBoxRegister();
  TrueTypeIcon = LoadFontTypeIcon("CXFONTCOMBO_TTF");
  OtherFontIcon = LoadFontTypeIcon("CXFONTCOMBO_NONTTF");
}

void cxFontNameComboBoxFinalize() {
  OtherFontIcon.reset();
  TrueTypeIcon.reset();
  cxFontNameComboBoxUnregister();
}

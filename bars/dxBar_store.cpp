// Stored layouts: the bars, the user's changes of links and the usage of
// personalised menus, written to a registry key or an ini file when the form
// goes and read back when the manager has loaded. A stored layout is input:
// what is read is bounded by the keys or sections present, and a value that
// cannot be read or lies out of range ends the reading of its bar or link.
#include "dxBar.h"

#include "Forms.h"
#include "IniFiles.h"
#include "Registry.h"

#include <algorithm>
#include <map>

// The store of one layout: a registry key, or one manager's sections of an
// ini file. A node is the main node (empty), a bar ("Bar1"), a sub item
// ("SubItem_File") or a link below one of these; values are read from and
// written to the node selected last.
class TdxLayoutStore {
public:
  virtual ~TdxLayoutStore() = default;
  String Child(const String& Node, const String& Name) const {
    return Node.empty() ? Name : Node + Separator() + Name;
  }
  // Whether the node is stored: its key exists, or in an ini file the value
  // of MarkKey is above Absent.
  virtual bool NodeExists(const String& Node, const String& MarkKey, int Absent) = 0;
  virtual void GetChildNames(const String& Node, TStrings& Names) = 0;
  // For reading: false when the node is not there.
  virtual bool Select(const String& Node) = 0;
  // For writing: makes the node when it is missing.
  virtual void Create(const String& Node) = 0;

  // A value the layout always writes: when missing, a bad value in the
  // registry and Default in an ini file.
  virtual int ReadInteger(const String& Name, int Default) = 0;
  // A value that may be missing: Default then.
  virtual int ReadOptionalInteger(const String& Name, int Default) = 0;
  bool ReadBool(const String& Name, bool Default) { return ReadInteger(Name, Default) != 0; }
  bool ReadOptionalBool(const String& Name, bool Default) { return ReadOptionalInteger(Name, Default) != 0; }
  // A missing text is empty in the registry and Default in an ini file.
  virtual String ReadString(const String& Name, const String& Default) = 0;
  // The user-define bits: one byte of binary data, or a decimal number.
  virtual int ReadBits(const String& Name) = 0;
  // Pictures are kept in the registry only.
  virtual bool KeepsPictures() const = 0;
  virtual String ReadBinaryData(const String&) { return String(); }

  virtual void WriteInteger(const String& Name, int Value) = 0;
  void WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
  virtual void WriteString(const String& Name, const String& Value) = 0;
  virtual void WriteBits(const String& Name, int Value) = 0;
  virtual void WriteBinaryData(const String&, const String&) {}

protected:
  virtual char Separator() const = 0;
};

namespace {

const String BarKey = "Bar";
const String LinkKey = "ItemLink";
const String SubItemKey = "SubItem_";
const char* const FloatNames[] = {"FloatLeft", "FloatTop", "FloatClientWidth", "FloatClientHeight"};

class EBadLayoutValue : public Exception {
public:
  using Exception::Exception;
};

template <typename E> E Ordinal(int Value, E Last) {
  if (Value < 0 || Value > static_cast<int>(Last)) throw EBadLayoutValue(Format("%d is out of range", Value));
  return static_cast<E>(Value);
}

bool StartsText(const String& Text, const String& Prefix) {
  return Text.size() >= Prefix.size() && SameText(Text.substr(0, Prefix.size()), Prefix);
}

// The index a node name gives after Prefix, written in decimal without
// padding as the layout writes it; −1 for any other name.
int IndexAfter(const String& Name, const String& Prefix) {
  if (!StartsText(Name, Prefix)) return -1;
  const String digits = Name.substr(Prefix.size());
  if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return -1;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The indices below Count of the nodes after Prefix present below Node, in
// order: a stored count never reads more than what is there.
std::vector<int> StoredIndices(TdxLayoutStore& Store, const String& Node, const String& Prefix, int Count) {
  TStringList names;
  Store.GetChildNames(Node, names);
  std::vector<int> indices;
  for (int k = 0; k < names.GetCount(); ++k) {
    const int index = IndexAfter(names[k], Prefix);
    if (index >= 0 && index < Count) indices.push_back(index);
  }
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  return indices;
}

class TRegistryLayoutStore : public TdxLayoutStore {
public:
  TRegistryLayoutStore(const String& Path, REGSAM Access) : FKey(Path), FRegistry(Access) {
    // The key is taken from the root, with no trailing backslash.
    if (FKey.empty() || FKey[0] != '\\') FKey = "\\" + FKey;
    if (FKey.size() > 1 && FKey.back() == '\\') FKey.pop_back();
  }
  bool NodeExists(const String& Node, const String&, int) override { return FRegistry.KeyExists(Path(Node)); }
  void GetChildNames(const String& Node, TStrings& Names) override {
    Names.Clear();
    if (FRegistry.OpenKey(Path(Node), false)) FRegistry.GetKeyNames(Names);
  }
  bool Select(const String& Node) override { return FRegistry.OpenKey(Path(Node), false); }
  void Create(const String& Node) override {
    if (!FRegistry.OpenKey(Path(Node), true))
      throw ERegistryException(Format("Failed to create key %s", Path(Node)));
  }
  int ReadInteger(const String& Name, int) override { return FRegistry.ReadInteger(Name); }
  int ReadOptionalInteger(const String& Name, int Default) override {
    return FRegistry.ValueExists(Name) ? FRegistry.ReadInteger(Name) : Default;
  }
  String ReadString(const String& Name, const String&) override { return FRegistry.ReadString(Name); }
  int ReadBits(const String& Name) override {
    const String data = FRegistry.ReadBinaryData(Name);
    if (data.size() != 1) throw EBadLayoutValue(Format("Invalid data size for '%s'", Name));
    return static_cast<unsigned char>(data[0]);
  }
  bool KeepsPictures() const override { return true; }
  String ReadBinaryData(const String& Name) override { return FRegistry.ReadBinaryData(Name); }
  void WriteInteger(const String& Name, int Value) override { FRegistry.WriteInteger(Name, Value); }
  void WriteString(const String& Name, const String& Value) override { FRegistry.WriteString(Name, Value); }
  void WriteBits(const String& Name, int Value) override {
    const char byte = static_cast<char>(Value);
    FRegistry.WriteBinaryData(Name, &byte, 1);
  }
  void WriteBinaryData(const String& Name, const String& Data) override {
    FRegistry.WriteBinaryData(Name, Data.data(), static_cast<int>(Data.size()));
  }

  // Opens the key for writing and deletes the layout's own subkeys, the
  // bars' and the sub items', with everything below them; other subkeys of
  // the key hold other settings and stay.
  bool OpenForWriting() {
    if (!FRegistry.OpenKey(FKey, true)) return false;
    TStringList names;
    FRegistry.GetKeyNames(names);
    for (int k = 0; k < names.GetCount(); ++k)
      if (IndexAfter(names[k], BarKey) >= 0 || StartsText(names[k], SubItemKey))
        FRegistry.DeleteKey(names[k]);
    return true;
  }

protected:
  char Separator() const override { return '\\'; }

private:
  String Path(const String& Node) const { return Node.empty() ? FKey : FKey + "\\" + Node; }
  String FKey;
  TRegistry FRegistry;
};

class TIniLayoutStore : public TdxLayoutStore {
public:
  TIniLayoutStore(const String& FileName, String Prefix) : FFile(FileName), FPrefix(std::move(Prefix)) {}
  bool NodeExists(const String& Node, const String& MarkKey, int Absent) override {
    return FFile.ReadInteger(Section(Node), MarkKey, Absent) > Absent;
  }
  void GetChildNames(const String& Node, TStrings& Names) override {
    if (!FChildren) IndexSections();
    Names.Clear();
    const auto found = FChildren->find(LowerCase(Node));
    if (found == FChildren->end()) return;
    for (const String& name : found->second)
      Names.Add(name);
  }
  bool Select(const String& Node) override {
    FSection = Section(Node);
    return true;
  }
  void Create(const String& Node) override { FSection = Section(Node); }
  int ReadInteger(const String& Name, int Default) override {
    return FFile.ReadInteger(FSection, Name, Default);
  }
  int ReadOptionalInteger(const String& Name, int Default) override { return ReadInteger(Name, Default); }
  String ReadString(const String& Name, const String& Default) override {
    return FFile.ReadString(FSection, Name, Default);
  }
  int ReadBits(const String& Name) override { return ReadInteger(Name, 0); }
  bool KeepsPictures() const override { return false; }
  void WriteInteger(const String& Name, int Value) override { FFile.WriteInteger(FSection, Name, Value); }
  void WriteString(const String& Name, const String& Value) override {
    FFile.WriteString(FSection, Name, Value);
  }
  void WriteBits(const String& Name, int Value) override { WriteInteger(Name, Value); }

  // Erases every section of this manager, compared exactly.
  void EraseLayout() {
    TStringList sections;
    FFile.ReadSections(sections);
    for (int k = 0; k < sections.GetCount(); ++k)
      if (sections[k].compare(0, FPrefix.size(), FPrefix) == 0) FFile.EraseSection(sections[k]);
  }
  void UpdateFile() { FFile.UpdateFile(); }

protected:
  char Separator() const override { return '.'; }

private:
  String Section(const String& Node) const { return FPrefix + (Node.empty() ? String("Main") : Node); }
  // The sections of this manager by the node above them, read once: a
  // large file is walked once, not once per node.
  void IndexSections() {
    FChildren = std::make_unique<std::map<String, std::vector<String>>>();
    TStringList sections;
    FFile.ReadSections(sections);
    for (int k = 0; k < sections.GetCount(); ++k) {
      if (!StartsText(sections[k], FPrefix)) continue;
      const String node = sections[k].substr(FPrefix.size());
      const size_t dot = node.rfind('.');
      const String parent = dot == String::npos ? String() : node.substr(0, dot);
      (*FChildren)[LowerCase(parent)].push_back(dot == String::npos ? node : node.substr(dot + 1));
    }
  }
  TMemIniFile FFile;
  String FPrefix;
  String FSection;
  std::unique_ptr<std::map<String, std::vector<String>>> FChildren;
};

String IniPrefix(const TdxBarManager* Manager) {
  return Manager->GetOwnerForm()->GetName() + "." + Manager->GetName() + ".";
}

uint32_t LittleEndian(const String& Data, size_t At, int Bytes) {
  uint32_t value = 0;
  for (int k = Bytes - 1; k >= 0; --k)
    value = value << 8 | static_cast<unsigned char>(Data[At + k]);
  return value;
}

// Whether Data is a whole BMP file image as the class library's bitmap reads
// it: an uncompressed picture of sane size whose rows all lie in the data.
bool IsBitmapImage(const String& Data) {
  const size_t fileHeader = 14, infoHeader = 40, masks = 12;
  if (Data.size() < fileHeader + infoHeader || Data[0] != 'B' || Data[1] != 'M') return false;
  const uint32_t offBits = LittleEndian(Data, 10, 4);
  const uint32_t infoSize = LittleEndian(Data, 14, 4);
  if (infoSize < infoHeader || infoSize > Data.size() || offBits < fileHeader + infoSize ||
      offBits > Data.size())
    return false;
  const auto width = static_cast<int32_t>(LittleEndian(Data, 18, 4));
  const auto height = static_cast<int32_t>(LittleEndian(Data, 22, 4));
  const uint32_t planes = LittleEndian(Data, 26, 2);
  const uint32_t bits = LittleEndian(Data, 28, 2);
  const uint32_t compression = LittleEndian(Data, 30, 4);
  if (width <= 0 || width > 65535 || height == 0 || height > 65535 || height < -65535 || planes != 1)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const bool bitFields = compression == BI_BITFIELDS && (bits == 16 || bits == 32);
  if (compression != BI_RGB && !bitFields) return false;
  if (bitFields && offBits < fileHeader + infoHeader + masks) return false;
  const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  const uint64_t rows = height < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(height)) : height;
  return stride * rows <= Data.size() - offBits;
}

// A stored glyph replaces the user glyph; a missing one leaves it empty.
void ReadGlyph(TdxBarItemLink* Link, TdxLayoutStore& Store) {
  const String data = Store.ReadBinaryData("UserGlyph");
  if (data.empty()) return;
  if (!IsBitmapImage(data)) throw EBadLayoutValue("The user glyph is no bitmap image");
  TMemoryStream stream;
  stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  stream.SetPosition(0);
  TBitmap glyph;
  glyph.LoadFromStream(stream);
  Link->SetUserGlyph(&glyph);
}

void ReadLink(TdxBarItemLink* Link, TdxLayoutStore& Store, bool OfBar, bool Usage) {
  Link->SetBeginGroup(Store.ReadBool("BeginGroup", false));
  const int bits = Store.ReadBits("UserDefine");
  if (bits & ~0x0F) throw EBadLayoutValue(Format("%d are no user-define bits", bits));
  const TdxBarUserDefines defines = TdxBarUserDefines::FromBits(static_cast<uint64_t>(bits));
  Link->SetUserDefine(defines);
  if (defines.Contains(udCaption)) Link->SetUserCaption(Store.ReadString("UserCaption", String()));
  if (defines.Contains(udGlyph) && Store.KeepsPictures()) ReadGlyph(Link, Store);
  if (defines.Contains(udPaintStyle))
    Link->SetUserPaintStyle(Ordinal(Store.ReadInteger("UserPaintStyle", psStandard), psCaptionGlyph));
  if (defines.Contains(udWidth)) Link->SetUserWidth(Store.ReadInteger("UserWidth", 100));
  if (OfBar) Link->PendingVisible = Store.ReadOptionalBool("Visible", true);
  if (!Usage) return;
  Link->PendingUseCount = Store.ReadOptionalInteger("UseCount", 0);
  Link->PendingRecentIndex = Store.ReadOptionalInteger("RecentIndex", -1);
}

// Replaces the links by the stored ones. A link naming no item of the
// manager is dropped; one with a bad value keeps what was read before it.
void ReadLinks(TdxBarItemLinks* Links, TdxLayoutStore& Store, const String& Node, bool OfBar) {
  TdxBarManager* manager = Links->GetBarManager();
  Links->Clear();
  int count = 0;
  try {
    if (Store.Select(Node)) count = Store.ReadOptionalInteger("ItemLinkCount", 0);
  } catch (const Exception&) {
  }
  const bool usage = manager->CanShowRecentItems() && Links->GetUseRecentItems();
  for (int j : StoredIndices(Store, Node, LinkKey, count)) {
    if (!Store.Select(Store.Child(Node, LinkKey + IntToStr(j)))) continue;
    TdxBarItemLink* link = nullptr;
    try {
      TdxBarItem* item = manager->FindItemByName(Store.ReadString("ItemName", String()));
      if (!item) continue;
      link = Links->Add();
      link->SetItem(item);
      ReadLink(link, Store, OfBar, usage);
    } catch (const Exception&) {
      if (link && !link->GetItem()) Links->Delete(link->GetIndex());
    }
  }
  Links->ApplyStoredState(true);
}

// Reads a bar's place and answers its stored visibility.
bool ReadBar(TdxBar* Bar, TdxLayoutStore& Store, const String& Node) {
  TdxBarManager* manager = Bar->GetBarManager();
  if (!Store.Select(Node)) throw EBadLayoutValue("The bar's key went");
  Bar->SetCaption(Store.ReadString("Caption", Bar->GetCaption()));
  Bar->SetDockedDockControl(manager->FindDockControlByPath(Store.ReadString("DockedDockControl", String())));
  Bar->SetDockedDockingStyle(
      Ordinal(Store.ReadInteger("DockedDockingStyle", Bar->GetDockedDockingStyle()), dsBottom));
  Bar->SetDockedLeft(Store.ReadInteger("DockedLeft", Bar->GetDockedLeft()));
  Bar->SetDockedTop(Store.ReadInteger("DockedTop", Bar->GetDockedTop()));
  Bar->OneOnRow = Store.ReadBool("OneOnRow", Bar->OneOnRow);
  Bar->SetRow(Store.ReadInteger("Row", Bar->GetRow()));
  for (int k = 0; k < 4; ++k)
    Bar->SetFloatValue(k + 1, Store.ReadInteger(FloatNames[k], Bar->GetFloatValue(k + 1)));
  Bar->SetDockControl(manager->FindDockControlByPath(Store.ReadString("DockControl", String())));
  Bar->SetDockingStyle(Ordinal(Store.ReadInteger("DockingStyle", Bar->GetDockingStyle()), dsBottom));
  return Store.ReadBool("Visible", false);
}

// Each option only when stored; one that cannot be read stays as it is.
template <typename F> void ReadOption(F&& Apply) {
  try {
    Apply();
  } catch (const Exception&) {
  }
}

void ReadOptions(TdxBarManager* M, TdxLayoutStore& S) {
  if (M->CanShowRecentItems()) {
    ReadOption([&] {
      M->SetMenusShowRecentItemsFirst(
          S.ReadOptionalBool("MenusShowRecentItemsFirst", M->GetMenusShowRecentItemsFirst()));
    });
    ReadOption([&] {
      M->SetShowFullMenusAfterDelay(
          S.ReadOptionalBool("ShowFullMenusAfterDelay", M->GetShowFullMenusAfterDelay()));
    });
  }
  ReadOption([&] { M->SetLargeIcons(S.ReadOptionalBool("LargeIcons", M->GetLargeIcons())); });
  ReadOption([&] {
    M->SetMenuAnimations(Ordinal(S.ReadOptionalInteger("MenuAnimations", M->GetMenuAnimations()), maFade));
  });
  ReadOption([&] { M->SetShowHint(S.ReadOptionalBool("ShowHint", M->GetShowHint())); });
  ReadOption([&] {
    M->SetShowShortCutInHint(S.ReadOptionalBool("ShowShortCutInHint", M->GetShowShortCutInHint()));
  });
}

void WriteLinks(const TdxBarItemLinks* Links, TdxLayoutStore& Store, const String& Node, bool OfBar) {
  const bool usage = Links->GetBarManager()->CanShowRecentItems() && Links->GetUseRecentItems();
  for (int j = 0; j < Links->GetCount(); ++j) {
    TdxBarItemLink* link = Links->GetItem(j);
    if (!link->GetItem() || link->GetItem()->GetName().empty()) continue;
    Store.Create(Store.Child(Node, LinkKey + IntToStr(j)));
    Store.WriteString("ItemName", link->GetItem()->GetName());
    Store.WriteBool("BeginGroup", link->GetBeginGroup());
    const TdxBarUserDefines defines = link->GetUserDefine();
    Store.WriteBits("UserDefine", static_cast<int>(defines.Bits()));
    if (defines.Contains(udCaption)) Store.WriteString("UserCaption", link->GetUserCaption());
    // An empty glyph (one an ini file did not keep) is not written.
    if (defines.Contains(udGlyph) && Store.KeepsPictures() && !link->GetUserGlyph()->GetEmpty()) {
      TMemoryStream stream;
      link->GetUserGlyph()->SaveToStream(stream);
      Store.WriteBinaryData("UserGlyph", String(stream.GetMemory(), static_cast<size_t>(stream.GetSize())));
    }
    if (defines.Contains(udPaintStyle)) Store.WriteInteger("UserPaintStyle", link->GetUserPaintStyle());
    if (defines.Contains(udWidth)) Store.WriteInteger("UserWidth", link->GetUserWidth());
    if (OfBar) Store.WriteBool("Visible", link->GetVisible());
    if (!usage) continue;
    Store.WriteInteger("UseCount", link->UseCount);
    Store.WriteInteger("RecentIndex", link->GetRecentIndex());
  }
}

void WriteBar(const TdxBar* Bar, TdxLayoutStore& Store) {
  const TdxBarManager* manager = Bar->GetBarManager();
  Store.WriteString("Caption", Bar->GetCaption());
  if (Bar->GetDockedDockControl())
    Store.WriteString("DockedDockControl", manager->GetDockControlPath(Bar->GetDockedDockControl()));
  Store.WriteInteger("DockedDockingStyle", Bar->GetDockedDockingStyle());
  Store.WriteInteger("DockedLeft", Bar->GetDockedLeft());
  Store.WriteInteger("DockedTop", Bar->GetDockedTop());
  Store.WriteBool("OneOnRow", Bar->OneOnRow);
  Store.WriteInteger("Row", Bar->GetRow());
  for (int k = 0; k < 4; ++k)
    Store.WriteInteger(FloatNames[k], Bar->GetFloatValue(k + 1));
  if (Bar->GetDockControl())
    Store.WriteString("DockControl", manager->GetDockControlPath(Bar->GetDockControl()));
  Store.WriteInteger("DockingStyle", Bar->GetDockingStyle());
  Store.WriteBool("Visible", Bar->GetVisible());
  Store.WriteInteger("ItemLinkCount", Bar->GetItemLinks()->GetCount());
}

} // namespace

// ---- The manager's side ----

void TdxBarManager::ReadLayout(TdxLayoutStore& Store) {
  if (!Store.Select(String())) return;
  TLockUpdateScope lock(this);
  ReadOptions(this, Store);
  int count = -1;
  ReadOption([&] { count = Store.ReadOptionalInteger("BarCount", -1); });
  if (count >= 0) {
    for (int i = 0; i < FBars->GetCount(); ++i)
      FBars->GetItem(i)->SetVisible(false);
    const bool loading = FBars->FApplyingLoadedState;
    for (int i : StoredIndices(Store, String(), BarKey, count)) {
      const String node = Store.Child(String(), BarKey + IntToStr(i));
      if (!Store.NodeExists(node, "Row", -1000)) continue;
      // A gap in the numbering adds no more than the next bar.
      TdxBar* bar = i < FBars->GetCount() ? FBars->GetItem(i) : FBars->Add();
      ReadLinks(bar->GetItemLinks(), Store, node, true);
      bool visible = true;
      ReadOption([&] { visible = ReadBar(bar, Store, node); });
      FBars->FApplyingLoadedState = true;
      bar->SetVisible(visible);
      FBars->FApplyingLoadedState = loading;
    }
    if (!loading)
      for (TdxDockControl* dock : FDockControls)
        dock->Realign();
  }
  for (TdxBarItem* item : std::vector<TdxBarItem*>(FItems)) {
    auto* subItem = dynamic_cast<TCustomdxBarSubItem*>(item);
    if (!subItem || item->GetName().empty()) continue;
    const String node = Store.Child(String(), SubItemKey + item->GetName());
    if (Store.NodeExists(node, "ItemLinkCount", -1)) ReadLinks(subItem->GetItemLinks(), Store, node, false);
  }
}

void TdxBarManager::WriteLayout(TdxLayoutStore& Store) {
  Store.Create(String());
  if (CanShowRecentItems()) {
    Store.WriteBool("MenusShowRecentItemsFirst", FMenusShowRecentItemsFirst);
    Store.WriteBool("ShowFullMenusAfterDelay", FShowFullMenusAfterDelay);
  }
  Store.WriteBool("LargeIcons", FLargeIcons);
  Store.WriteInteger("MenuAnimations", FMenuAnimations);
  Store.WriteBool("ShowHint", FShowHint);
  Store.WriteBool("ShowShortCutInHint", FShowShortCutInHint);
  Store.WriteInteger("BarCount", FBars->GetCount());
  for (int i = 0; i < FBars->GetCount(); ++i) {
    const TdxBar* bar = FBars->GetItem(i);
    const String node = Store.Child(String(), BarKey + IntToStr(i));
    Store.Create(node);
    WriteBar(bar, Store);
    WriteLinks(bar->GetItemLinks(), Store, node, true);
  }
  for (const TdxBarItem* item : FItems) {
    auto* subItem = dynamic_cast<const TCustomdxBarSubItem*>(item);
    if (!subItem || item->GetName().empty()) continue;
    const String node = Store.Child(String(), SubItemKey + item->GetName());
    Store.Create(node);
    Store.WriteInteger("ItemLinkCount", subItem->GetItemLinks()->GetCount());
    WriteLinks(subItem->GetItemLinks(), Store, node, false);
  }
}

void TdxBarManager::LoadFromRegistry(const String& APath) {
  if (APath.empty()) return;
  TRegistryLayoutStore store(APath, KEY_READ);
  ReadLayout(store);
}

void TdxBarManager::SaveToRegistry(const String& APath) {
  if (APath.empty()) return;
  TRegistryLayoutStore store(APath, KEY_ALL_ACCESS);
  if (store.OpenForWriting()) WriteLayout(store);
}

void TdxBarManager::LoadFromIniFile(const String& AFileName) {
  if (AFileName.empty()) return;
  TIniLayoutStore store(AFileName, IniPrefix(this));
  ReadLayout(store);
}

void TdxBarManager::SaveToIniFile(const String& AFileName) {
  if (AFileName.empty()) return;
  TIniLayoutStore store(AFileName, IniPrefix(this));
  store.EraseLayout();
  WriteLayout(store);
  store.UpdateFile();
}

// ---- Dock control paths ----

String TdxBarManager::GetDockControlPath(const TdxBarDockControl* DockControl) const {
  String path = DockControl->GetName();
  for (TComponent* owner = DockControl->GetOwner(); owner && !owner->GetName().empty();
       owner = owner->GetOwner())
    path = owner->GetName() + "." + path;
  return path;
}

TdxBarDockControl* TdxBarManager::FindDockControlByPath(const String& Path) const {
  if (Path.empty()) return nullptr;
  // A path with a dot starts at the application's form of its first name,
  // one without at the manager's form.
  TComponent* component = GetOwnerForm();
  String rest = Path;
  if (const size_t dot = Path.find('.'); dot != String::npos) {
    component = FindGlobalComponent(Path.substr(0, dot));
    rest = Path.substr(dot + 1);
  }
  for (size_t start = 0; component;) {
    const size_t dot = rest.find('.', start);
    component =
        component->FindComponent(rest.substr(start, dot == String::npos ? String::npos : dot - start));
    if (dot == String::npos) break;
    start = dot + 1;
  }
  if (!component) return nullptr;
  auto* dock = dynamic_cast<TdxBarDockControl*>(component);
  if (!dock) throw EInvalidCast("Invalid class typecast");
  return dock;
}

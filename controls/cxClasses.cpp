#include "cxClasses.h"

std::unique_ptr<TStrings> cxResourceStringsReplacementList;

// ---- TcxComponent ----

void TcxComponent::Loaded() {
  TComponent::Loaded();
  UpdateFakeLinks();
}

void TcxComponent::GetFakeComponentLinks(TList*) {}

void TcxComponent::UpdateFakeLinks() {
  if (!IsDesigning() || IsDestroying() || !GetOwner()) return;
  TList links;
  GetFakeComponentLinks(&links);
  TComponent** fields[] = {&FakeComponentLink1, &FakeComponentLink2, &FakeComponentLink3};
  for (int i = 0; i < 3; ++i)
    *fields[i] = i < links.GetCount() ? static_cast<TComponent*>(links[i]) : nullptr;
}

// ---- TcxRegisteredClasses ----

int TcxRegisteredClasses::IndexOf(std::type_index AClass) const {
  for (int i = 0; i < GetCount(); ++i)
    if (FItems[i].Class.Type == AClass) return i;
  return -1;
}

void TcxRegisteredClasses::Register(const TcxClassRef& AClass, const String& Description) {
  if (IndexOf(AClass.Type) >= 0) return;
  FItems.push_back({AClass, Description});
}

void TcxRegisteredClasses::Unregister(std::type_index AClass) {
  const int index = IndexOf(AClass);
  if (index >= 0) FItems.erase(FItems.begin() + index);
}

// ---- resource strings ----

String LoadLibraryResString(const TResStringRec* ResString) {
  if (cxResourceStringsReplacementList) {
    const int index = cxResourceStringsReplacementList->IndexOfObject(const_cast<TResStringRec*>(ResString));
    if (index >= 0) return cxResourceStringsReplacementList->Get(index);
  }
  char buffer[4096];
  const int length = LoadStringA(ResString->Module, ResString->Identifier, buffer, sizeof(buffer));
  return String(buffer, length > 0 ? length : 0);
}

void cxClassesFinalize() {
  cxResourceStringsReplacementList.reset();
}

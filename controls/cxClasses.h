// Small pieces the control library stands on: an owner-aware persistent
// base, a component base, a registry of classes with descriptions, and the
// one function through which every library message is fetched.
#pragma once

#include "Classes.h"

#include "WinApi.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <typeindex>
#include <vector>

class TcxInterfacedPersistent : public TInterfacedPersistent {
public:
  explicit TcxInterfacedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  virtual TPersistent* GetOwner() const { return FOwner; }

protected:
  String ClassName() const override { return "TcxInterfacedPersistent"; }

private:
  TPersistent* FOwner;
};

// A component that can show up to three links to other components in a
// form designer; with no designer the links stay nil.
class TcxComponent : public TComponent {
public:
  using TComponent::TComponent;
  void Loaded() override;
  TComponent* FakeComponentLink1 = nullptr;
  TComponent* FakeComponentLink2 = nullptr;
  TComponent* FakeComponentLink3 = nullptr;

protected:
  // Descendants add the components they link to.
  virtual void GetFakeComponentLinks(TList* List);
  void UpdateFakeLinks();
  String ClassName() const override { return "TcxComponent"; }
};

// A class reference: the class's exact type and, for classes created with
// an owner, how to make one.
struct TcxClassRef {
  std::type_index Type = typeid(void);
  std::function<TObject*(TPersistent* AOwner)> Create;
};

template <typename T> TcxClassRef cxClassRef() {
  TcxClassRef ref{typeid(T), nullptr};
  if constexpr (std::is_constructible_v<T, TPersistent*>)
    ref.Create = [](TPersistent* AOwner) -> TObject* { return new T(AOwner); };
  return ref;
}

class TcxRegisteredClasses : public TObject {
public:
  // Registering for streaming has nothing to do here: windows are built in
  // code, so the flag changes nothing.
  explicit TcxRegisteredClasses(bool /*RegisterClasses*/ = false) {}
  void Clear() { FItems.clear(); }
  int GetCount() const { return static_cast<int>(FItems.size()); }
  const TcxClassRef& GetClass(int Index) const { return FItems.at(Index).Class; }
  const String& GetDescription(int Index) const { return FItems.at(Index).Description; }
  int IndexOf(std::type_index AClass) const;
  // A class registered before keeps its first description.
  void Register(const TcxClassRef& AClass, const String& Description);
  void Unregister(std::type_index AClass);

private:
  struct Item {
    TcxClassRef Class;
    String Description;
  };
  std::vector<Item> FItems;
};

// A library message: a string-table entry of a module.
struct TResStringRec {
  HINSTANCE Module;
  UINT Identifier;
};

// Replacement texts of library messages: each entry's object is the
// TResStringRec it replaces, matched by identity. Absent unless someone
// installs one; freed at the library's end.
extern std::unique_ptr<TStrings> cxResourceStringsReplacementList;

String LoadLibraryResString(const TResStringRec* ResString);

inline SIZE MakeSize(int cx, int cy) {
  return SIZE{cx, cy};
}

void cxClassesFinalize();

// The persistence and component model of the class library: owners that
// destroy what they own and tell others about removals.
#pragma once

#include "SysUtils.h"

#include <cstdint>
#include <functional>
#include <vector>

class TObject {
public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// The silent exception: the default handler shows nothing for it.
class EAbort : public Exception {
public:
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
};

[[noreturn]] void Abort();

// The application's handler of exceptions that must not travel further (set
// by the application object). Called inside a catch block; unset, the
// exception is dropped.
extern std::function<void(TObject* Sender)> ApplicationHandleException;
// Calls ApplicationHandleException for the exception being handled.
void HandleCurrentException(TObject* Sender);

class TPersistent : public TObject {
public:
  // Raises EConvertError ("Cannot assign a %s to a %s") unless the source
  // can copy itself here.
  virtual void Assign(const TPersistent* Source);

protected:
  virtual void AssignTo(TPersistent* Dest) const;
  virtual String ClassName() const { return "TPersistent"; }
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : uint16_t {
  csLoading = 0x0001,
  csReading = 0x0002,
  csWriting = 0x0004,
  csDestroying = 0x0008,
  csDesigning = 0x0010,
};

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* GetOwner() const { return FOwner; }
  int GetComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* GetComponent(int index) const;
  int GetComponentIndex() const;
  TComponent* FindComponent(const String& name) const;

  const String& GetName() const { return FName; }
  // Raises EComponentError for a duplicate name among the owner's components.
  virtual void SetName(const String& NewName);

  uint16_t GetComponentState() const { return FComponentState; }
  bool IsLoading() const { return (FComponentState & csLoading) != 0; }
  bool IsReading() const { return (FComponentState & csReading) != 0; }
  bool IsDestroying() const { return (FComponentState & csDestroying) != 0; }
  // Set only by a host that designs components (this program never does):
  // the component and, with SetChildren, everything it owns. A component
  // inserted into a designed owner is designed too.
  bool IsDesigning() const { return (FComponentState & csDesigning) != 0; }
  void SetDesigning(bool Value, bool SetChildren = true);

  // Takes ownership of AComponent (removing it from its old owner).
  void InsertComponent(TComponent* AComponent);
  // Gives up ownership without destroying it.
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  // AComponent will tell this component when it is destroyed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Called after all properties have been set by the code that builds a form.
  virtual void Loaded();
  // Marks the component as being read: setters skip their checks until Loaded.
  void BeginLoading();

  int Tag = 0;

protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  String ClassName() const override { return "TComponent"; }
  void SetDestroying() { FComponentState |= csDestroying; }

private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void NotifyAll(TComponent* AComponent, TOperation Operation);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  String FName;
  uint16_t FComponentState = 0;
};

class EComponentError : public Exception {
public:
  using Exception::Exception;
};

// Look-and-feel settings: which look a control draws in, inherited from a
// master and finally from the process-wide root that the application's
// controller edits; the effective values choose the painter.
#pragma once

#include "cxClasses.h"
#include "cxLookAndFeelPainters.h"

#include <vector>

enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat };
enum TcxLookAndFeelValue { lfvKind, lfvNativeStyle };
using TcxLookAndFeelValues = TSet<TcxLookAndFeelValue>;

class TcxLookAndFeel;

// The native painter while the style is asked for and themes are
// available, else the kind's.
TcxCustomLookAndFeelPainterClass PainterForLook(bool ANativeStyle, TcxLookAndFeelKind AKind);

class IcxLookAndFeelListener {
public:
  virtual ~IcxLookAndFeelListener() = default;
  virtual TObject* GetListenerObject() = 0;
  virtual void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) = 0;
  virtual void MasterDestroying(TcxLookAndFeel* Sender) = 0;
};

using TcxLookAndFeelChangedEvent =
    std::function<void(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues)>;

class TcxLookAndFeel : public TcxInterfacedPersistent, public IcxLookAndFeelListener {
public:
  // Attaches itself to the root, when there is one.
  explicit TcxLookAndFeel(TPersistent* AOwner);
  ~TcxLookAndFeel() override;
  TcxLookAndFeel(const TcxLookAndFeel&) = delete;
  TcxLookAndFeel& operator=(const TcxLookAndFeel&) = delete;

  void Assign(const TPersistent* Source) override;
  void Reset() { SetAssignedValues(TcxLookAndFeelValues()); }

  TcxLookAndFeelValues GetAssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues Value);
  TcxLookAndFeelKind GetKind() const { return FKind; }
  void SetKind(TcxLookAndFeelKind Value);
  bool GetNativeStyle() const { return FNativeStyle; }
  void SetNativeStyle(bool Value);
  TcxLookAndFeel* GetMaster() const { return FMaster; }
  void SetMaster(TcxLookAndFeel* Value);
  // nil for the root; the master when set; else the root.
  TcxLookAndFeel* GetMasterLookAndFeel() const;
  // Decided at the moment of drawing: a theme switched off gives the kind's
  // painter without any notification.
  TcxCustomLookAndFeelPainterClass CurrentPainter() const;

  void AddChangeListener(IcxLookAndFeelListener* Listener);
  void RemoveChangeListener(IcxLookAndFeelListener* Listener);
  int GetListenerCount() const { return static_cast<int>(FListeners.size()); }

  TcxLookAndFeelChangedEvent OnChanged;

  // The listener side, towards the master.
  TObject* GetListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) override;
  void MasterDestroying(TcxLookAndFeel* Sender) override;

protected:
  virtual TcxLookAndFeelKind CalculateKind() const;
  virtual bool CalculateNativeStyle() const;
  void Changed(TcxLookAndFeelValues AChangedValues);
  String ClassName() const override { return "TcxLookAndFeel"; }

private:
  friend void cxLookAndFeelsInitialize();
  friend class TcxLookAndFeelController;
  struct RootTag {};
  explicit TcxLookAndFeel(RootTag);
  void SaveState();
  void CheckStateChanges();
  TcxLookAndFeelValues FAssignedValues;
  std::vector<IcxLookAndFeelListener*> FListeners;
  TcxLookAndFeelKind FKind = lfUltraFlat;
  bool FNativeStyle = false;
  TcxLookAndFeelKind FOwnKind = lfUltraFlat;
  bool FOwnNativeStyle = false;
  bool FIsDestroying = false;
  bool FIsRootLookAndFeel = false;
  TcxLookAndFeel* FMaster = nullptr;
  TcxLookAndFeelKind FPrevKind = lfUltraFlat;
  bool FPrevNativeStyle = false;
};

// Edits the root look-and-feel: the application places one on its main
// window. When the last one goes, the root returns to its defaults.
class TcxLookAndFeelController : public TComponent, public IcxLookAndFeelListener {
public:
  explicit TcxLookAndFeelController(TComponent* AOwner);
  ~TcxLookAndFeelController() override;
  TcxLookAndFeelKind GetKind() const;
  void SetKind(TcxLookAndFeelKind Value);
  bool GetNativeStyle() const;
  void SetNativeStyle(bool Value);

  TObject* GetListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues) override {}
  // Marks the form's designer modified; forms have no designer here.
  void MasterDestroying(TcxLookAndFeel*) override {}

protected:
  String ClassName() const override { return "TcxLookAndFeelController"; }
};

// The process-wide root, from the library's start to its end.
TcxLookAndFeel* RootLookAndFeel();
// How many controllers are attached to the root.
int cxLookAndFeelControllerCount();

void cxLookAndFeelsInitialize();
void cxLookAndFeelsFinalize();

// Line-anchored lists for a debugger front end: breakpoints and the
// execution point. Entries sit at the start of a row and move with the text
// as it is edited; an entry whose whole row is deleted goes away.
#pragma once

#include "SyntaxEd_base.h"
#include "SyntaxEd_settings.h"

#include <functional>
#include <memory>
#include <vector>

class TSM_Breakpoints;
class TSM_BreakpointData;
class TCustomSyntaxMemo;

using TBreakpointEvent = std::function<void(TObject* Sender, TSM_BreakpointData* Data)>;

class TSM_BreakpointData : public TObject {
public:
  TSM_BreakpointData(int32_t value, bool active, const String& name, int32_t tag);
  ~TSM_BreakpointData() override;

  bool GetActive() const { return FActive; }
  void SetActive(bool value);
  bool GetAlive() const { return FAlive; }

  int32_t Position = 0; // start of the row the entry belongs to
  int32_t Tag;
  int32_t Value;
  String Name;
  TSM_Breakpoints* Owner = nullptr;
  TBreakpointEvent OnFree;
  TBreakpointEvent OnStateChange;

private:
  bool FAlive = true;
  bool FActive;
};

// The length of the row that starts at a position (0 when there is none),
// as the text is at the moment of the call.
using TRowLengthFunc = std::function<int(int position)>;

class TSM_Breakpoints : public TSM_Base {
public:
  explicit TSM_Breakpoints(TCustomSyntaxMemo* control = nullptr);
  ~TSM_Breakpoints() override;

  // Takes ownership of the entry.
  void Add(std::unique_ptr<TSM_BreakpointData> entry);
  int GetCount() const { return static_cast<int>(FEntries.size()); }
  TSM_BreakpointData* GetEntry(int index) const { return FEntries[index].get(); }
  TSM_BreakpointData* FindEntry(int position);

  virtual void NotifyStateChange(TSM_BreakpointData* data);
  virtual bool GetRowAttributes(int position, int& image, TColor& textColor, TColor& background);
  virtual void AdjustForEdit(int position, int delta);

  String ClassName() const override { return "TSM_Breakpoints"; }

  TCustomSyntaxMemo* Control;
  // Repaints the control when an entry changes state.
  std::function<void()> InvalidateControl;
  // Reads the length of the row at an entry's anchor for deletions.
  TRowLengthFunc RowLength;
  TBreakpointEvent OnStateChangeHandler;
  TBreakpointEvent OnFreeHandler;
  bool Changed = false;
  bool NeedsSort = false;
  int32_t InactiveImage = 12;
  int32_t ActiveImage = 11;
  TColor InactiveTextColor = 0x00FFFF;
  TColor InactiveBackground = 0x008000;
  TColor ActiveTextColor = 0xFFFFFF;
  TColor ActiveBackground = 0x0000FF;

protected:
  // Whether the whole row anchored at a lies inside the deleted range
  // p .. p - delta - 1.
  bool RowDeleted(int a, int p, int delta) const;
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TSM_Breakpoints>(); }

private:
  std::vector<std::unique_ptr<TSM_BreakpointData>> FEntries;
};

class TSM_CodeBreak : public TSM_Breakpoints {
public:
  explicit TSM_CodeBreak(TCustomSyntaxMemo* control = nullptr);

  bool GetRowAttributes(int position, int& image, TColor& textColor, TColor& background) override;
  void AdjustForEdit(int position, int delta) override;
  TSM_BreakpointData& GetExecutionPoint() { return *FExecutionPoint; }

  String ClassName() const override { return "TSM_CodeBreak"; }

  int32_t Image = 12;
  TColor TextColor = 0xFFFFFF;
  TColor Background = 0x800000;

protected:
  std::unique_ptr<TSM_Base> NewInstance() const override { return std::make_unique<TSM_CodeBreak>(); }

private:
  std::unique_ptr<TSM_BreakpointData> FExecutionPoint;
};

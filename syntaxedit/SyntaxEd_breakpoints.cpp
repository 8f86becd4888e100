#include "SyntaxEd_breakpoints.h"

#include <algorithm>

// ---- TSM_BreakpointData

TSM_BreakpointData::TSM_BreakpointData(int32_t value, bool active, const String& name, int32_t tag)
    : Tag(tag), Value(value), Name(name), FActive(active) {}

TSM_BreakpointData::~TSM_BreakpointData() {
  FAlive = false;
  if (OnFree) OnFree(this, this);
}

void TSM_BreakpointData::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  if (Owner) {
    if (Owner->InvalidateControl) Owner->InvalidateControl();
    Owner->Changed = true;
  }
  if (OnStateChange) OnStateChange(this, this);
}

// ---- TSM_Breakpoints

TSM_Breakpoints::TSM_Breakpoints(TCustomSyntaxMemo* control) : Control(control) {}

TSM_Breakpoints::~TSM_Breakpoints() {
  for (auto& entry : FEntries)
    entry.reset();
}

void TSM_Breakpoints::Add(std::unique_ptr<TSM_BreakpointData> entry) {
  entry->Owner = this;
  FEntries.push_back(std::move(entry));
  NeedsSort = true;
}

TSM_BreakpointData* TSM_Breakpoints::FindEntry(int position) {
  if (NeedsSort) {
    std::stable_sort(FEntries.begin(), FEntries.end(),
                     [](const auto& a, const auto& b) { return a->Position < b->Position; });
    NeedsSort = false;
  }
  auto it = std::lower_bound(FEntries.begin(), FEntries.end(), position,
                             [](const auto& entry, int p) { return entry->Position < p; });
  if (it == FEntries.end() || (*it)->Position != position) return nullptr;
  return it->get();
}

void TSM_Breakpoints::NotifyStateChange(TSM_BreakpointData* data) {
  if (OnStateChangeHandler) OnStateChangeHandler(this, data);
  Changed = false;
}

bool TSM_Breakpoints::GetRowAttributes(int position, int& image, TColor& textColor, TColor& background) {
  TSM_BreakpointData* entry = FindEntry(position);
  if (!entry) return false;
  bool active = entry->GetActive();
  image = active ? ActiveImage : InactiveImage;
  textColor = active ? ActiveTextColor : InactiveTextColor;
  background = active ? ActiveBackground : InactiveBackground;
  return true;
}

bool TSM_Breakpoints::RowDeleted(int a, int p, int delta) const {
  int length = RowLength ? RowLength(a) : 0;
  int last = length > 0 ? length - 1 : 0;
  return a + last < p - delta;
}

void TSM_Breakpoints::AdjustForEdit(int position, int delta) {
  if (delta == 0) return;
  for (size_t i = 0; i < FEntries.size();) {
    TSM_BreakpointData& entry = *FEntries[i];
    if (entry.Position < position) {
      ++i;
      continue;
    }
    if (delta > 0) {
      entry.Position += delta;
    } else if (RowDeleted(entry.Position, position, delta)) {
      std::unique_ptr<TSM_BreakpointData> gone = std::move(FEntries[i]);
      FEntries.erase(FEntries.begin() + static_cast<ptrdiff_t>(i));
      if (OnFreeHandler) OnFreeHandler(this, gone.get());
      continue;
    } else if (entry.Position > position) {
      entry.Position += delta;
    }
    ++i;
  }
}

// ---- TSM_CodeBreak

TSM_CodeBreak::TSM_CodeBreak(TCustomSyntaxMemo* control)
    : TSM_Breakpoints(control), FExecutionPoint(std::make_unique<TSM_BreakpointData>(0, false, String(), 0)) {
}

bool TSM_CodeBreak::GetRowAttributes(int position, int& image, TColor& textColor, TColor& background) {
  if (!FExecutionPoint->GetActive() || FExecutionPoint->Position != position) return false;
  image = Image;
  textColor = TextColor;
  background = Background;
  return true;
}

void TSM_CodeBreak::AdjustForEdit(int position, int delta) {
  TSM_BreakpointData& point = *FExecutionPoint;
  if (!point.GetActive() || point.Position < position || delta == 0) return;
  if (delta > 0) {
    point.Position += delta;
  } else if (RowDeleted(point.Position, position, delta)) {
    point.SetActive(false);
  } else if (point.Position > position) {
    point.Position += delta;
  }
}

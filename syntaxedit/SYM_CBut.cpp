#include "SYM_CBut.h"

#include <algorithm>

TColorArrayClass::TColorArrayClass(int xSize, int ySize) : FXSize(xSize), FYSize(ySize) {
  Allocate();
}

void TColorArrayClass::Allocate() {
  // Elements never hold what the memory held before.
  FColors.assign(static_cast<size_t>(std::max(FXSize, 0)) * static_cast<size_t>(std::max(FYSize, 0)), 0);
}

void TColorArrayClass::SetXSize(int value) {
  if (value == FXSize) return;
  FXSize = value;
  Allocate();
}

void TColorArrayClass::SetYSize(int value) {
  if (value == FYSize) return;
  FYSize = value;
  Allocate();
}

size_t TColorArrayClass::Index(int x, int y) const {
  if (x < 1 || x > FXSize || y < 1 || y > FYSize) throw EColorArrayIndexError("Array index out of bounds");
  return static_cast<size_t>(y - 1) * static_cast<size_t>(FXSize) + static_cast<size_t>(x - 1);
}

TColor TColorArrayClass::GetColor(int x, int y) const {
  return FColors[Index(x, y)];
}

void TColorArrayClass::SetColor(int x, int y, TColor value) {
  FColors[Index(x, y)] = value;
}

bool TColorArrayClass::IsEqual(const TColorArrayClass* other) const {
  if (other == this) return true;
  return other && other->FXSize == FXSize && other->FYSize == FYSize && other->FColors == FColors;
}

void TColorArrayClass::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TColorArrayClass*>(Source);
  if (!other) return TPersistent::Assign(Source);
  FXSize = other->FXSize;
  FYSize = other->FYSize;
  FColors = other->FColors;
}

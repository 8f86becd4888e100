// The colour table that the colour button and its palette share.
#pragma once

#include "Components.h"
#include "SyntaxEd_settings.h"

#include <vector>

class EColorArrayIndexError : public Exception {
public:
  using Exception::Exception;
};

// XSize columns by YSize rows of colours, indexed from 1; new tables and
// resized ones start with every element 0.
class TColorArrayClass : public TPersistent {
public:
  TColorArrayClass(int xSize, int ySize);

  int GetXSize() const { return FXSize; }
  int GetYSize() const { return FYSize; }
  void SetXSize(int value);
  void SetYSize(int value);
  TColor GetColor(int x, int y) const;
  void SetColor(int x, int y, TColor value);
  bool IsEqual(const TColorArrayClass* other) const;
  void Assign(const TPersistent* Source) override;

protected:
  String ClassName() const override { return "TColorArrayClass"; }

private:
  size_t Index(int x, int y) const;
  void Allocate();

  int FXSize;
  int FYSize;
  std::vector<TColor> FColors;
};

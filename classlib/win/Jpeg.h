// JPEG pictures through libjpeg: decoded on first use into a bitmap.
#pragma once

#include "Graphics.h"

#include <vector>

class TJPEGImage : public TGraphic {
public:
  TJPEGImage();
  ~TJPEGImage() override;
  // From another JPEG (its data) or from a bitmap (compressed now).
  void Assign(const TPersistent* Source) override;
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int) override;
  void SetHeight(int) override;
  bool GetEmpty() const override { return FData.empty(); }
  // Raises EInvalidGraphic for data that is no JPEG.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  int CompressionQuality = 90;
  bool Grayscale = false;
  // Decodes now; raises EInvalidGraphic for broken data.
  void DIBNeeded();
  // The decoded picture (24-bit).
  TBitmap* GetBitmap();

protected:
  void Draw(TCanvas* canvas, const TRect& rect) override;
  String ClassName() const override { return "TJPEGImage"; }

private:
  void ReadHeader();
  void Compress(TBitmap* source);
  std::vector<unsigned char> FData;
  std::unique_ptr<TBitmap> FBitmap;
  int FWidth = 0;
  int FHeight = 0;
};

#include "About.h"

#include "DialogLayout.h"
#include "ExtCtrls.h"
#include "Jpeg.h"
#include "OpenDocument.h"
#include "cxButtons.h"

TfmAbout* fmAbout = nullptr;

using namespace dialoglayout;

namespace {

// The build gives the address of the product's web page; without one the
// box offers no web button.
const char* const kWebAddress = VELMORA_WEB_ADDRESS;

// The pictures are JPEG data among the program's resources.
void LoadJpegResource(TImage* image, const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, name, RT_RCDATA);
  if (!info) throw EResNotFound(Format("Resource %s not found", name));
  const void* data = LockResource(LoadResource(module, info));
  TMemoryStream stream;
  stream.WriteBuffer(data, SizeofResource(module, info));
  stream.SetPosition(0);
  TJPEGImage jpeg;
  jpeg.LoadFromStream(stream);
  image->GetPicture()->SetGraphic(&jpeg);
}

} // namespace

TfmAbout::TfmAbout(TComponent* AOwner) : TForm(AOwner) {
  fmAbout = this;
  SetUpForm(this, "fmAbout", "About Velmora", poDesktopCenter);
  SetBorderStyle(bsDialog);
  SetColor(clWhite);
  SetClientWidth(214);
  SetClientHeight(260);
  KeyPreview = true;

  auto image = [this](const char* name, const char* resource, int left, int top, int width, int height) {
    auto* picture = new TImage(this);
    picture->SetName(name);
    picture->SetParent(this);
    picture->SetBounds(left, top, width, height);
    LoadJpegResource(picture, resource);
    return picture;
  };
  Image1 = image("Image1", "ABOUTLOGO", kMargin, kMargin, 150, 41);

  lbVersion = new TLabel(this);
  lbVersion->SetName("lbVersion");
  lbVersion->SetParent(this);
  SetBold(lbVersion);
  lbVersion->SetCaption("v1.0");
  // Bold glyphs may reach past the measured text; the label leaves them room
  // while the text ends at the margin.
  const int versionWidth = lbVersion->GetWidth();
  lbVersion->SetAutoSize(false);
  lbVersion->SetBounds(GetClientWidth() - kMargin - versionWidth, kMargin, versionWidth + kMargin / 2,
                       lbVersion->GetHeight());

  // The picture at the bottom with the maker's line above it and a line
  // between them and the buttons.
  Image2 = image("Image2", "ABOUTPICTURE", 7, 201, 200, 51);
  lbMaker = new TLabel(this);
  lbMaker->SetName("lbMaker");
  lbMaker->SetParent(this);
  lbMaker->GetFont()->SetColor(clGray);
  lbMaker->SetCaption("Velmora MySQL schema synchronizer");
  lbMaker->SetAutoSize(false);
  lbMaker->Alignment = taCenter;
  lbMaker->SetBounds(kMargin, Image2->GetTop() - 4 - lbMaker->GetHeight(), GetClientWidth() - 2 * kMargin,
                     lbMaker->GetHeight());
  Bevel1 = new TBevel(this);
  Bevel1->SetName("Bevel1");
  Bevel1->SetParent(this);
  Bevel1->Shape = bsTopLine;
  Bevel1->SetBounds(kMargin, lbMaker->GetTop() - 10, GetClientWidth() - 2 * kMargin, 2);

  // The buttons in the middle, between the logo and that line.
  const bool hasWeb = *kWebAddress != '\0';
  constexpr int kButtonGap = 8;
  const int logoBottom = Image1->GetTop() + Image1->GetHeight();
  const int buttonsHeight = hasWeb ? 2 * kButtonHeight + kButtonGap : kButtonHeight;
  int top = logoBottom + (Bevel1->GetTop() - logoBottom - buttonsHeight) / 2;
  auto button = [&](const char* name, const char* caption) {
    TcxButton* b = AddButton(this, name, caption, (GetClientWidth() - 120) / 2, top, 120);
    top += kButtonHeight + kButtonGap;
    return b;
  };
  butWeb = button("butWeb", "Visit web page");
  butWeb->SetVisible(hasWeb);
  butWeb->OnClick = [this](TObject*) { butWebClick(); };
  if (!hasWeb) top = butWeb->GetTop();
  Button1 = button("Button1", "Close");
  Button1->SetDefault(true);
  Button1->ModalResult = mrCancel;

  OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
}

TfmAbout::~TfmAbout() {
  if (fmAbout == this) fmAbout = nullptr;
}

void TfmAbout::FormKeyDown(WORD& Key, TShiftState) {
  if (Key == VK_ESCAPE) Close();
}

void TfmAbout::butWebClick() {
  OpenDocument(kWebAddress, "", "", SW_SHOWNORMAL);
}

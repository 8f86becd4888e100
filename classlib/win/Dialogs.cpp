#include "Dialogs.h"

#include "ExtCtrls.h"
#include "StdCtrls.h"

#include <algorithm>
#include <cstring>

#include <dlgs.h>

// ---- Message dialogs ----

namespace {

struct ButtonInfo {
  const char* caption;
  TModalResult result;
};

constexpr ButtonInfo kButtons[] = {
    {"&Yes", mrYes},
    {"&No", mrNo},
    {"OK", mrOk},
    {"Cancel", mrCancel},
    {"&Abort", mrAbort},
    {"&Retry", mrRetry},
    {"&Ignore", mrIgnore},
    {"&All", mrAll},
    {"N&o to All", mrNoToAll},
    {"Yes to &All", mrYesToAll},
    {"&Help", mrNone},
};

constexpr const char* kTitles[] = {"Warning", "Error", "Information", "Confirm", nullptr};
const LPCSTR kIcons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION, nullptr};

class TMessageForm : public TForm {
public:
  TMessageForm(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons) : TForm(nullptr) {
    SetBorderStyle(bsDialog);
    Position = poScreenCenter;
    SetCaption(kTitles[type] ? String(kTitles[type]) : Application->Title);
    TCanvas measure;
    HDC dc = GetDC(nullptr);
    measure.SetHandle(dc);
    measure.GetFont()->Assign(GetFont());
    RECT text{0, 0, Screen->GetWidth() / 2, 0};
    DrawTextA(measure.GetHandle(), msg.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    measure.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);

    const int margin = 8, iconSize = kIcons[type] ? 32 : 0, gap = kIcons[type] ? 10 : 0;
    int left = margin;
    if (kIcons[type]) {
      auto* image = new TImage(this);
      image->SetParent(this);
      image->SetBounds(margin, margin, iconSize, iconSize);
      auto icon = std::make_unique<TIcon>();
      icon->SetHandle(CopyIcon(LoadIconA(nullptr, kIcons[type])));
      image->GetPicture()->SetGraphic(icon.get());
      left += iconSize + gap;
    }
    label = new TLabel(this);
    label->SetParent(this);
    label->ShowAccelChar = false;
    label->SetWordWrap(true);
    label->SetBounds(left, margin, text.right, text.bottom);
    label->SetCaption(msg);

    std::vector<const ButtonInfo*> shown;
    for (int b = mbYes; b <= mbHelp; ++b)
      if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) shown.push_back(&kButtons[b]);
    const int buttonWidth = 75, buttonGap = 6;
    const int buttonsWidth = static_cast<int>(shown.size()) * (buttonWidth + buttonGap) - buttonGap;
    const int width = std::max<int>(left + text.right, buttonsWidth) + 2 * margin;
    const int top = margin + std::max<int>(text.bottom, iconSize) + 12;
    int x = (width - buttonsWidth) / 2;
    for (const ButtonInfo* info : shown) {
      auto* button = new TButton(this);
      button->SetParent(this);
      button->SetCaption(info->caption);
      button->ModalResult = info->result;
      button->SetBounds(x, top, buttonWidth, 25);
      // Enter answers the first of OK and Yes; Esc the cancelling one.
      if (!defaultSet && (info->result == mrOk || info->result == mrYes)) {
        button->SetDefault(true);
        defaultSet = true;
      }
      if (info->result == mrCancel || (info->result == mrNo && !buttons.Contains(mbCancel)) ||
          (shown.size() == 1))
        button->Cancel = true;
      x += buttonWidth + buttonGap;
    }
    SetClientSize(width, top + 25 + margin);
  }
  TLabel* label = nullptr;

private:
  bool defaultSet = false;
};

} // namespace

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
  TMessageForm form(Msg, DlgType, Buttons);
  return form.ShowModal();
}

int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int, int X, int Y) {
  TMessageForm form(Msg, DlgType, Buttons);
  form.Position = poDesigned;
  form.SetBounds(X, Y, form.GetWidth(), form.GetHeight());
  return form.ShowModal();
}

void ShowMessage(const String& Msg) {
  MessageDlg(Msg, mtCustom, TMsgDlgButtons{mbOK});
}

// ---- Login ----

namespace {

class TLoginDialog : public TForm {
public:
  explicit TLoginDialog(const String& database) : TForm(nullptr) {
    SetCaption("Database Login");
    SetBorderStyle(bsDialog);
    Position = poScreenCenter;
    SetClientSize(282, 155);
    auto* panel = new TPanel(this);
    panel->SetParent(this);
    panel->SetBounds(8, 7, 266, 106);
    panel->SetBevelInner(bvRaised);
    panel->SetBevelOuter(bvLowered);
    auto label = [&](const char* text, int top) {
      auto* l = new TLabel(this);
      l->SetParent(panel);
      l->SetCaption(text);
      l->SetBounds(10, top, 80, 13);
      return l;
    };
    label("Database:", 12);
    auto* name = label("", 12);
    name->SetLeft(92);
    name->SetCaption(database);
    userLabel = label("&User Name:", 44);
    passwordLabel = label("&Password:", 74);
    userName = new TEdit(this);
    userName->SetParent(panel);
    userName->SetBounds(92, 40, 153, 21);
    userName->SetMaxLength(31);
    userLabel->FocusControl = userName;
    password = new TEdit(this);
    password->SetParent(panel);
    password->SetBounds(92, 70, 153, 21);
    password->SetMaxLength(31);
    password->SetPasswordChar('*');
    passwordLabel->FocusControl = password;
    auto* ok = new TButton(this);
    ok->SetParent(this);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->ModalResult = mrOk;
    ok->SetBounds(109, 122, 75, 25);
    auto* cancel = new TButton(this);
    cancel->SetParent(this);
    cancel->SetCaption("Cancel");
    cancel->Cancel = true;
    cancel->ModalResult = mrCancel;
    cancel->SetBounds(190, 122, 75, 25);
  }
  TLabel* userLabel;
  TLabel* passwordLabel;
  TEdit* userName;
  TEdit* password;
};

} // namespace

bool LoginDialogEx(const String& ADatabaseName, String& AUserName, String& APassword, bool NameReadOnly) {
  TLoginDialog dialog(ADatabaseName);
  dialog.userName->SetText(AUserName);
  dialog.password->SetText(APassword);
  if (NameReadOnly) {
    dialog.userName->SetEnabled(false);
    dialog.SetActiveControl(nullptr);
  }
  if (!AUserName.empty() || NameReadOnly) dialog.userName->SetTabOrder(1);
  if (dialog.ShowModal() != mrOk) return false;
  AUserName = dialog.userName->GetText();
  APassword = dialog.password->GetText();
  return true;
}

// ---- Common dialogs ----

HWND TCommonDialog::OwnerWindow() const {
  if (TCustomForm* form = Screen->GetActiveForm(); form && form->HandleAllocated()) return form->GetHandle();
  if (TCustomForm* main = Application->GetMainForm(); main && main->HandleAllocated())
    return main->GetHandle();
  return GetActiveWindow();
}

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
  return DoExecute(false);
}

bool TOpenDialog::DoExecute(bool save) {
  String filter = Filter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');
  std::vector<char> file(64 * 1024, '\0');
  std::strncpy(file.data(), FileName.c_str(), file.size() - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = OwnerWindow();
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
  static const DWORD flags[] = {OFN_READONLY,
                                OFN_OVERWRITEPROMPT,
                                OFN_HIDEREADONLY,
                                OFN_NOCHANGEDIR,
                                OFN_SHOWHELP,
                                OFN_NOVALIDATE,
                                OFN_ALLOWMULTISELECT,
                                OFN_EXTENSIONDIFFERENT,
                                OFN_PATHMUSTEXIST,
                                OFN_FILEMUSTEXIST,
                                OFN_CREATEPROMPT,
                                OFN_SHAREAWARE,
                                OFN_NOREADONLYRETURN,
                                OFN_NOTESTFILECREATE,
                                OFN_NONETWORKBUTTON,
                                OFN_NOLONGNAMES,
                                0,
                                OFN_NODEREFERENCELINKS,
                                OFN_ENABLEINCLUDENOTIFY,
                                OFN_ENABLESIZING};
  ofn.Flags = OFN_EXPLORER;
  for (int o = ofReadOnly; o <= ofEnableSizing; ++o)
    if (Options.Contains(static_cast<TOpenOption>(o))) ofn.Flags |= flags[o];
  if (OnShow) OnShow(this);
  const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (OnClose) OnClose(this);
  if (!ok) return false;
  FFiles->Clear();
  // Several files: the folder, then each name, separated by NULs.
  const char* p = file.data();
  const String first = p;
  p += first.size() + 1;
  if (Options.Contains(ofAllowMultiSelect) && *p) {
    for (; *p; p += std::strlen(p) + 1)
      FFiles->Add(first + "\\" + p);
  } else {
    FFiles->Add(first);
  }
  FileName = FFiles->Get(0);
  FilterIndex = static_cast<int>(ofn.nFilterIndex);
  return true;
}

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() {
  COLORREF custom[16];
  for (int i = 0; i < 16; ++i) {
    const String value = FCustomColors->GetValue(String("Color") + static_cast<char>('A' + i));
    int64_t number = 0;
    custom[i] =
        !value.empty() && TryStrToInt64("$" + value, number) ? static_cast<COLORREF>(number) : 0xFFFFFF;
  }
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = OwnerWindow();
  cc.rgbResult = ColorToRGB(Color);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  if (Options.Contains(cdFullOpen)) cc.Flags |= CC_FULLOPEN;
  if (Options.Contains(cdPreventFullOpen)) cc.Flags |= CC_PREVENTFULLOPEN;
  if (Options.Contains(cdSolidColor)) cc.Flags |= CC_SOLIDCOLOR;
  if (Options.Contains(cdAnyColor)) cc.Flags |= CC_ANYCOLOR;
  if (OnShow) OnShow(this);
  const BOOL ok = ChooseColorA(&cc);
  if (OnClose) OnClose(this);
  for (int i = 0; i < 16; ++i)
    FCustomColors->SetValue(String("Color") + static_cast<char>('A' + i), IntToHex(custom[i], 6));
  if (!ok) return false;
  Color = static_cast<TColor>(cc.rgbResult);
  return true;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  LOGFONTA lf{};
  GetObjectA(FFont->GetHandle(), sizeof(lf), &lf);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = OwnerWindow();
  cf.lpLogFont = &lf;
  cf.rgbColors = ColorToRGB(FFont->GetColor());
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  if (OnShow) OnShow(this);
  const BOOL ok = ChooseFontA(&cf);
  if (OnClose) OnClose(this);
  if (!ok) return false;
  HFONT font = CreateFontIndirectA(&lf);
  FFont->SetHandle(font);
  DeleteObject(font);
  FFont->SetColor(static_cast<TColor>(cf.rgbColors));
  return true;
}

// ---- Find and replace ----

namespace {

UINT FindMessage() {
  static const UINT message = RegisterWindowMessageA(FINDMSGSTRINGA);
  return message;
}

} // namespace

TFindDialog::TFindDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TFindDialog::~TFindDialog() {
  CloseDialog();
  if (FNotify) DeallocateHWnd(FNotify);
}

void TFindDialog::CloseDialog() {
  if (!FHandle) return;
  if (Application->DialogHandle == FHandle) Application->DialogHandle = nullptr;
  DestroyWindow(FHandle);
  FHandle = nullptr;
}

HWND TFindDialog::CreateDialogWindow(FINDREPLACEA& fr) {
  return ::FindTextA(&fr);
}

bool TFindDialog::Execute() {
  if (FHandle) {
    // A dialog on show takes the text it is opened with again.
    SetDlgItemTextA(FHandle, edt1, FindText.c_str());
    SetForegroundWindow(FHandle);
    return true;
  }
  if (!FNotify) FNotify = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  std::strncpy(FFindBuffer, FindText.c_str(), sizeof(FFindBuffer) - 1);
  std::strncpy(FReplaceText, FReplaceBuffer.c_str(), sizeof(FReplaceText) - 1);
  FRecord = FINDREPLACEA{};
  FRecord.lStructSize = sizeof(FRecord);
  FRecord.hwndOwner = FNotify;
  FRecord.lpstrFindWhat = FFindBuffer;
  FRecord.wFindWhatLen = sizeof(FFindBuffer);
  FRecord.lpstrReplaceWith = FReplaceText;
  FRecord.wReplaceWithLen = sizeof(FReplaceText);
  if (Options.Contains(frDown)) FRecord.Flags |= FR_DOWN;
  if (Options.Contains(frMatchCase)) FRecord.Flags |= FR_MATCHCASE;
  if (Options.Contains(frWholeWord)) FRecord.Flags |= FR_WHOLEWORD;
  if (Options.Contains(frHideMatchCase)) FRecord.Flags |= FR_HIDEMATCHCASE;
  if (Options.Contains(frHideWholeWord)) FRecord.Flags |= FR_HIDEWHOLEWORD;
  if (Options.Contains(frHideUpDown)) FRecord.Flags |= FR_HIDEUPDOWN;
  if (Options.Contains(frDisableMatchCase)) FRecord.Flags |= FR_NOMATCHCASE;
  if (Options.Contains(frDisableUpDown)) FRecord.Flags |= FR_NOUPDOWN;
  if (Options.Contains(frDisableWholeWord)) FRecord.Flags |= FR_NOWHOLEWORD;
  FHandle = CreateDialogWindow(FRecord);
  if (!FHandle) return false;
  Application->DialogHandle = FHandle;
  if (OnShow) OnShow(this);
  return true;
}

void TFindDialog::HandleFindMessage(const FINDREPLACEA& fr) {
  if ((fr.Flags & FR_FINDNEXT) && OnFind) OnFind(this);
}

void TFindDialog::WndProc(TMessage& Message) {
  if (Message.Msg != FindMessage()) {
    Message.Result = DefWindowProcA(FNotify, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  const auto& fr = *reinterpret_cast<const FINDREPLACEA*>(Message.LParam);
  FindText = fr.lpstrFindWhat;
  FReplaceBuffer = fr.lpstrReplaceWith ? fr.lpstrReplaceWith : "";
  auto set = [&](TFindOption option, DWORD flag) {
    if (fr.Flags & flag)
      Options.Include(option);
    else
      Options.Exclude(option);
  };
  set(frDown, FR_DOWN);
  set(frMatchCase, FR_MATCHCASE);
  set(frWholeWord, FR_WHOLEWORD);
  set(frFindNext, FR_FINDNEXT);
  set(frReplace, FR_REPLACE);
  set(frReplaceAll, FR_REPLACEALL);
  if (fr.Flags & FR_DIALOGTERM) {
    if (Application->DialogHandle == FHandle) Application->DialogHandle = nullptr;
    FHandle = nullptr;
    if (OnClose) OnClose(this);
    return;
  }
  HandleFindMessage(fr);
}

HWND TReplaceDialog::CreateDialogWindow(FINDREPLACEA& fr) {
  FReplaceBuffer = ReplaceText;
  std::strncpy(fr.lpstrReplaceWith, ReplaceText.c_str(), fr.wReplaceWithLen - 1);
  return ::ReplaceTextA(&fr);
}

void TReplaceDialog::HandleFindMessage(const FINDREPLACEA& fr) {
  ReplaceText = FReplaceBuffer;
  if (fr.Flags & (FR_REPLACE | FR_REPLACEALL)) {
    if (OnReplace) OnReplace(this);
    return;
  }
  TFindDialog::HandleFindMessage(fr);
}

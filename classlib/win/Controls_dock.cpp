// Docking: dock sites that take controls docked into them by code or by a
// drag, and the dock form a floating control lives on.
#include "Controls.h"

#include "Forms.h"

namespace {

// The dock site at a screen point that may take the client: the first
// control with DockSite on, from the control under the point outwards,
// that is not the client nor inside it.
TWinControl* DockSiteAt(TControl* Client, const TPoint& Pos) {
  TControl* control = FindDragTarget(Pos, false);
  auto* clientWindow = dynamic_cast<TWinControl*>(Client);
  TWinControl* site = dynamic_cast<TWinControl*>(control);
  if (!site && control) site = control->GetParent();
  for (; site; site = site->GetParent()) {
    if (!site->GetDockSite() || site == Client || (clientWindow && clientWindow->ContainsControl(site)))
      continue;
    TRect influence;
    bool canDock = true;
    site->GetSiteInfo(Client, influence, Pos, canDock);
    if (canDock) return site;
  }
  return nullptr;
}

TRect ScreenBounds(TControl* Control) {
  const TPoint topLeft =
      Control->GetParent()
          ? Control->GetParent()->ClientToScreen(TPoint(Control->GetLeft(), Control->GetTop()))
          : TPoint(Control->GetLeft(), Control->GetTop());
  return Bounds(topLeft.x, topLeft.y, Control->GetWidth(), Control->GetHeight());
}

} // namespace

// ---- The client's side ----

void TControl::Dock(TWinControl* NewDockSite, const TRect& ARect) {
  FHostDockSite = NewDockSite;
  if (NewDockSite) NewDockSite->DoAddDockClient(this, ARect);
}

bool TControl::ManualDock(TWinControl* NewDockSite) {
  TDragDockObject source(this);
  source.DockRect = ScreenBounds(this);
  if (!NewDockSite) {
    auto* form = new TCustomDockForm(nullptr);
    form->SetBounds(source.DockRect.left, source.DockRect.top, source.DockRect.Width(),
                    source.DockRect.Height());
    form->SetClientWidth(source.DockRect.Width());
    form->SetClientHeight(source.DockRect.Height());
    form->SetCaption(GetText());
    NewDockSite = form;
  } else {
    bool accept = true;
    const TPoint pos = NewDockSite->ScreenToClient(Mouse->GetCursorPos());
    NewDockSite->DockOver(&source, pos.x, pos.y, dsDragMove, accept);
  }
  TWinControl* old = FHostDockSite;
  if (old) {
    TCMUnDockClient undock{NewDockSite, this};
    old->Perform(CM_UNDOCKCLIENT, 0, reinterpret_cast<LPARAM>(&undock));
  }
  TCMDockClient dock{&source, Mouse->GetCursorPos()};
  NewDockSite->Perform(CM_DOCKCLIENT, 0, reinterpret_cast<LPARAM>(&dock));
  if (old && old != NewDockSite) old->DoRemoveDockClient(this);
  if (auto* form = dynamic_cast<TCustomDockForm*>(NewDockSite)) form->Show();
  return true;
}

// ---- The dock site's side ----

std::vector<TControl*> TWinControl::DockClients() const {
  std::vector<TControl*> clients;
  for (TControl* control : FControls)
    if (control->GetHostDockSite() == this) clients.push_back(control);
  return clients;
}

void TWinControl::DoAddDockClient(TControl* Client, const TRect& ARect) {
  Client->SetParent(this);
  const TPoint topLeft = ScreenToClient(TPoint(ARect.left, ARect.top));
  Client->SetBounds(topLeft.x, topLeft.y, ARect.Width(), ARect.Height());
}

void TWinControl::DockOver(TDragDockObject*, int, int, TDragState, bool& Accept) {
  Accept = true;
}

void TWinControl::GetSiteInfo(TControl*, TRect& InfluenceRect, TPoint, bool&) {
  RECT r;
  GetWindowRect(GetHandle(), &r);
  InfluenceRect = r;
}

void TWinControl::CMDockClient(TMessage& Message) {
  auto* dock = reinterpret_cast<TCMDockClient*>(Message.LParam);
  dock->DockSource->GetControl()->Dock(this, dock->DockSource->DockRect);
  Message.Result = 0;
}

// ---- The drag ----

TDragDockObject::TDragDockObject(TControl* AControl)
    : TBaseDragControlObject(AControl), FStartPos(Mouse->GetCursorPos()) {}

TCursor TDragDockObject::GetDragCursor(bool, int, int) {
  return crDefault;
}

void TDragDockObject::Finished(TObject* Target, int X, int Y, bool Accepted) {
  TBaseDragControlObject::Finished(Target, X, Y, Accepted);
  // A press without a move, or a cancelled drag, docks nothing.
  if (!Dropped || (DragPos.x == FStartPos.x && DragPos.y == FStartPos.y)) return;
  TControl* client = GetControl();
  TWinControl* site = DockSiteAt(client, DragPos);
  if (site && site == client->GetHostDockSite()) return;
  if (site) {
    bool accept = true;
    const TPoint pos = site->ScreenToClient(DragPos);
    site->DockOver(this, pos.x, pos.y, dsDragMove, accept);
    if (!accept) return;
  }
  client->ManualDock(site);
}

// ---- The floating dock form ----

TCustomDockForm::TCustomDockForm(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsSizeToolWin);
  SetDockSite(true);
}

void TCustomDockForm::DoRemoveDockClient(TControl*) {
  if (DockClients().empty()) Release();
}

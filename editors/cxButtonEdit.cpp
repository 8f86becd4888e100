#include "cxButtonEdit.h"

#include "cxEditStringIds.h"

namespace {

const TResStringRec scxSEditRepositoryButtonItem = {nullptr, IDS_scxSEditRepositoryButtonItem};

// The style value of the popup border, which an editor without a popup has
// no use for.
constexpr auto kPopupBorderStyleValue = static_cast<TcxContainerStyleValue>(10);

} // namespace

TcxCustomButtonEditProperties::TcxCustomButtonEditProperties(TPersistent* AOwner)
    : TcxCustomMaskEditProperties(AOwner) {
  GetButtons()->Add()->SetKind(bkEllipsis);
}

TcxClassRef TcxCustomButtonEditProperties::GetContainerClass() const {
  return cxClassRef<TcxButtonEdit>();
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomButtonEdit::CreateProperties() {
  return std::make_unique<TcxButtonEditProperties>(this);
}

// Unlike a text edit's, the button style and transparency are the button
// edit's own.
TcxContainerStyleValues TcxCustomButtonEdit::GetHiddenStyleValues() const {
  return TcxContainerStyleValues{kPopupBorderStyleValue};
}

void cxButtonEditInitialize() {
  EditPropertiesRegistry()->Register(cxClassRef<TcxButtonEditProperties>(),
                                     LoadLibraryResString(&scxSEditRepositoryButtonItem));
}

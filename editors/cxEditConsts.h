// The editor library's messages, fetched through LoadLibraryResString from
// the string table that every executable using the library links in.
#pragma once

#include "cxClasses.h"

extern const TResStringRec cxSEditRepositoryItemNotAcceptable;
extern const TResStringRec cxSEditValidateErrorText;
extern const TResStringRec cxSEditCheckBoxChecked;
extern const TResStringRec cxSEditCheckBoxGrayed;
extern const TResStringRec cxSEditCheckBoxUnchecked;
extern const TResStringRec cxSEditPopupCircularReferencingError;

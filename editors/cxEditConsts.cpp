#include "cxEditConsts.h"

#include "cxEditStringIds.h"

const TResStringRec cxSEditRepositoryItemNotAcceptable = {nullptr, IDS_cxSEditRepositoryItemNotAcceptable};
const TResStringRec cxSEditValidateErrorText = {nullptr, IDS_cxSEditValidateErrorText};
const TResStringRec cxSEditCheckBoxChecked = {nullptr, IDS_cxSEditCheckBoxChecked};
const TResStringRec cxSEditCheckBoxGrayed = {nullptr, IDS_cxSEditCheckBoxGrayed};
const TResStringRec cxSEditCheckBoxUnchecked = {nullptr, IDS_cxSEditCheckBoxUnchecked};
const TResStringRec cxSEditPopupCircularReferencingError = {nullptr,
                                                            IDS_cxSEditPopupCircularReferencingError};

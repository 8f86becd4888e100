#include "cxEditConsts.h"

#include "cxEditStringIds.h"

const TResStringRec cxSEditRepositoryItemNotAcceptable = {nullptr, IDS_cxSEditRepositoryItemNotAcceptable};
const TResStringRec cxSEditValidateErrorText = {nullptr, IDS_cxSEditValidateErrorText};

// Identifiers of the editor library's string table, shared by the table and
// the code that loads from it.
#pragma once

#define IDS_cxSRadioGroupDefaultCaption 65120
#define IDS_scxSEditRepositoryRadioGroupItem 65129
#define IDS_cxSEditRepositoryItemNotAcceptable 65144
#define IDS_cxSEditValidateErrorText 65147
#define IDS_cxSEditCheckBoxChecked 65149
#define IDS_cxSEditCheckBoxGrayed 65150
#define IDS_cxSEditCheckBoxUnchecked 65151
#define IDS_cxSEditValueOutOfBounds 65152
#define IDS_scxSEditRepositoryTextItem 65153
#define IDS_cxSMaskEditInvalidEditValue 65154
#define IDS_cxSMaskEditRegExprErrors 65155
#define IDS_scxSEditRepositoryMaskItem 65156
#define IDS_scxSEditRepositoryProgressBarItem 65290
#define IDS_scxSEditRepositoryMemoItem 65230
#define IDS_scxSEditRepositorySpinItem 65231
#define IDS_scxSEditRepositoryButtonItem 65232
#define IDS_cxSEditNumericValueConvertError 65233
#define IDS_cxSEditPopupCircularReferencingError 65240
#define IDS_scxSEditRepositoryImageComboBoxItem 65310
#define IDS_scxSEditRepositoryColorComboBoxItem 65311
#define IDS_cxSColorComboBoxDefaultDescription 65312

// A field of a picked record.
#include "worksheet/selection_field.h"

#include "engine/util.h"

void DPX_SelectionField::setTypeFromFieldType(int fieldType) { type_ = DPX_Util::DbFieldTypeName(fieldType); }

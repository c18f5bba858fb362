// The dialogs that choose a copy's target start from the context's target:
// the handle takes it with the database password the context keeps for it,
// or, when it is not connected but on the base's server, the base's.
#pragma once

class DPX_CompanyHandle;
class DPX_ConnectionContext;

// True when the context's target is connected.
bool DPX_TakeContextTarget(DPX_ConnectionContext* context, DPX_CompanyHandle& handle);

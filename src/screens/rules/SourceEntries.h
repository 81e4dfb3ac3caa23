#pragma once
// Whether a payer's record holds something the person entered besides the payer's
// own details: deleting such a record loses work, so the screens ask first.
#include "model/ForeignBusiness.h"
#include "model/IncomeSources.h"

namespace kv {

bool holdsEntries(const ThirteenPercentSource& s);
bool holdsEntries(const ThirtyPercentSource& s);
bool holdsEntries(const ThirtyFivePercentSource& s);
bool holdsEntries(const InvestmentPartnership& p);
bool holdsEntries(const ForeignIncome& f);
bool holdsEntries(const BusinessActivity& a);

} // namespace kv

// The demo company of the README: three years of a small trading company with a chart of
// accounts, cost centres, customers and two companies, built the same way on every run.
#pragma once

#include "model/database.h"

namespace jov {

void BuildDemoCompany(Database& database);

}  // namespace jov

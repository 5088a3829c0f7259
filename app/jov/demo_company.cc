#include "demo_company.h"

#include <random>
#include <string>
#include <vector>

#include "analysis/time_scale_list.h"
#include "select/subset_list.h"
#include "shell/calendar.h"

namespace jov {
namespace {

struct Named {
  const char* code;
  const char* text;
};

// Classes, groups and accounts: each code's parent is the longest code that begins it.
constexpr Named kAccounts[] = {{"1", "Assets"},
                               {"15", "Receivables"},
                               {"1510", "Accounts receivable"},
                               {"19", "Cash and bank"},
                               {"1910", "Cash"},
                               {"1930", "Bank account"},
                               {"14", "Inventory"},
                               {"1460", "Goods for resale"},
                               {"2", "Equity and liabilities"},
                               {"24", "Payables"},
                               {"2440", "Accounts payable"},
                               {"26", "VAT"},
                               {"2611", "Output VAT"},
                               {"2641", "Input VAT"},
                               {"27", "Payroll liabilities"},
                               {"2710", "Income tax withheld"},
                               {"3", "Revenue"},
                               {"30", "Sales"},
                               {"3010", "Sales, shop"},
                               {"3020", "Sales, web shop"},
                               {"4", "Cost of goods"},
                               {"4010", "Purchases of goods"},
                               {"5", "Premises"},
                               {"5010", "Rent"},
                               {"5060", "Cleaning"},
                               {"6", "Other external costs"},
                               {"6110", "Office supplies"},
                               {"6210", "Telephone"},
                               {"6570", "Bank charges"},
                               {"7", "Staff"},
                               {"7010", "Salaries"},
                               {"7510", "Social security contributions"}};

constexpr Named kCentres[] = {
    {"SHOP", "Shop"}, {"WEB", "Web shop"}, {"WH", "Warehouse"}, {"ADM", "Office"}};

constexpr Named kCompanies[] = {{"NT", "Nordic Trading Ltd"}, {"NTW", "Nordic Trading Web"}};

constexpr const char* kCustomerNames[] = {
    "Acme Office", "Baltic Foods", "Berg & Son",    "Bright Homes", "Cedar Cafe",
    "City Bikes",  "Delta Clinic", "Eastside Gym",  "Fjord Hotel",  "Green Leaf",
    "Harbour Bar", "Lake School",  "Linden Bakery", "Maple Dental", "North Books",
    "Oak Garage",  "Pine Florist", "Polar Ice",     "River Studio", "Stone Builders",
    "Sun Travel",  "Tide Fishery", "Valley Farm",   "West Pharmacy"};

void AddNamed(Database& db, int dimension, const Named* items, size_t count) {
  for (size_t i = 0; i < count; ++i) db.AddComponent(dimension, items[i].code, items[i].text, "");
}

class CardMaker {
 public:
  explicit CardMaker(Database& db) : db_(db), cards_(db.cards()) {}

  // One voucher: lines of (account, cost centre, customer, amount, quantity).
  void Voucher(
      DayCode day, const std::string& title, const char* company,
      std::initializer_list<std::tuple<const char*, const char*, ComponentRef, double, double>>
          lines) {
    const CardRef card = cards_.CreateCard({day, 0});
    if (card == kNoRecord) return;
    cards_.SetTitle(card, title);
    const ComponentRef company_ref = db_.FindByCode(3, company);
    for (const auto& [account, centre, customer, amount, quantity] : lines) {
      const GroupRef group = cards_.FindOrAddGroup(card, db_.FindByCode(0, account));
      const LineRef line = cards_.CreateLine(group);
      const ComponentRef slots[] = {centre ? db_.FindByCode(1, centre) : ComponentRef{1}, customer,
                                    company_ref};
      cards_.SetComponents(line, slots);
      const double values[] = {amount, quantity};
      cards_.SetValues(line, values);
    }
    cards_.FinishCard(card);
  }

 private:
  Database& db_;
  CardStore& cards_;
};

double Cents(double value) {
  return static_cast<double>(static_cast<long long>(value * 100)) / 100;
}

void AddYear(Database& db, CardMaker& maker, int year, std::mt19937& random,
             const std::vector<ComponentRef>& customers) {
  for (int month = 1; month <= 12; ++month) {
    const int days = DaysInMonth(year, month);
    maker.Voucher(PackDay(year, month, 1),
                  "Rent " + std::to_string(month) + "/" + std::to_string(year), "NT",
                  {{"5010", "SHOP", 2, 18000, 0},
                   {"2641", nullptr, 2, 4500, 0},
                   {"1930", nullptr, 2, -22500, 0}});
    maker.Voucher(PackDay(year, month, 25), "Salaries", "NT",
                  {{"7010", "SHOP", 2, 64000, 0},
                   {"7010", "ADM", 2, 38000, 0},
                   {"7510", nullptr, 2, 32000, 0},
                   {"2710", nullptr, 2, -30600, 0},
                   {"1930", nullptr, 2, -103400, 0}});
    for (int day = 1; day <= days; ++day) {
      const int sales = 2 + static_cast<int>(random() % 5);
      for (int s = 0; s < sales; ++s) {
        const bool web = random() % 3 == 0;
        const ComponentRef customer = customers[random() % customers.size()];
        const double net = Cents(200 + (random() % 900000) / 100.0);
        const double quantity = 1 + random() % 20;
        maker.Voucher(PackDay(year, month, day),
                      "Invoice " + std::string(db.component(customer).text), web ? "NTW" : "NT",
                      {{web ? "3020" : "3010", web ? "WEB" : "SHOP", customer, -net, -quantity},
                       {"2611", nullptr, customer, -Cents(net * 0.25), 0},
                       {"1510", nullptr, customer, Cents(net * 1.25), 0}});
      }
      if (random() % 4 == 0) {
        const double cost = Cents(1000 + (random() % 2000000) / 100.0);
        maker.Voucher(PackDay(year, month, day), "Purchase of goods", "NT",
                      {{"4010", "WH", 2, cost, 0},
                       {"2641", nullptr, 2, Cents(cost * 0.25), 0},
                       {"2440", nullptr, 2, -Cents(cost * 1.25), 0}});
      }
    }
  }
}

// Whole vouchers of web sales above 5,000 net, and the vouchers of the last quarter's purchases
// of goods, but for those with a line of 15,000 or more.
void AddSubsets(Database& db) {
  Subset& large_web = SubsetList::Of(db).Create("Large web sales");
  Selection& web = large_web.AddSelection("Web").selection();
  web.SetComponentExpression(0, "3020");
  web.SetValueCondition(0, "<-5000");
  large_web.SetCombination("cards Web");
  large_web.set_notes("Every line of the vouchers that sell for more than 5,000 in the web shop.");

  Subset& purchases = SubsetList::Of(db).Create("Small purchases 2024 Q4");
  Selection& goods = purchases.AddSelection("Goods").selection();
  goods.SetFrom("2024 Q4");
  goods.SetTo("2024 Q4");
  goods.SetComponentExpression(0, "4010");
  purchases.AddSelection("Big").selection().SetValueCondition(0, ">=15000");
  purchases.SetCombination(
      "cards Goods & \xAC"
      "cards Big");
  purchases.set_notes("Purchase vouchers of the last quarter without a line of 15,000 or more.");
}

}  // namespace

void BuildDemoCompany(Database& db) {
  db.SetValueFieldCount(2);
  db.SetValueFieldName(0, "Amount");
  db.SetValueFieldName(1, "Quantity");
  db.SetCardTitleLabel("Voucher text");
  const char* singular[] = {"Account", "Cost centre", "Customer", "Company"};
  const char* plural[] = {"Accounts", "Cost centres", "Customers", "Companies"};
  for (int d = 0; d < 4; ++d) {
    db.dimension(d).SetSingularName(singular[d]);
    db.dimension(d).SetPluralName(plural[d]);
  }
  db.dimension(2).SetDisplay(DisplayFields::kHT);
  AddNamed(db, 0, kAccounts, std::size(kAccounts));
  AddNamed(db, 1, kCentres, std::size(kCentres));
  AddNamed(db, 3, kCompanies, std::size(kCompanies));
  std::vector<ComponentRef> customers;
  for (size_t i = 0; i < std::size(kCustomerNames); ++i) {
    const std::string code = "C" + std::to_string(1001 + i);
    customers.push_back(db.AddComponent(2, code, kCustomerNames[i], "K" + std::to_string(501 + i)));
  }
  std::mt19937 random(2024);
  CardMaker maker(db);
  for (int year = 2022; year <= 2024; ++year) AddYear(db, maker, year, random, customers);

  TimeScale& quarters = TimeScaleList::Of(db).Create("Fiscal quarters");
  std::vector<TimeScaleEntry> entries;
  for (int year = 2022; year <= 2024; ++year) {
    for (int q = 0; q < 4; ++q) {
      entries.push_back({Date{PackDay(year, 1 + 3 * q, 1), 1},
                         std::to_string(year) + " Q" + std::to_string(q + 1)});
    }
  }
  quarters.SetEntries(entries);
  AddSubsets(db);
  db.FlushChangeFlags();
}

}  // namespace jov

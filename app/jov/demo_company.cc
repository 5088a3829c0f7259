#include "demo_company.h"

#include <array>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analysis/card_analysis.h"
#include "analysis/component_analysis.h"
#include "analysis/component_functions_template.h"
#include "analysis/line_analysis.h"
#include "analysis/time_functions_template.h"
#include "analysis/time_scale_list.h"
#include "files/analysis_template.h"
#include "select/subset_list.h"
#include "shell/calendar.h"

namespace jov {
namespace {

// The dimensions as an accounting file's import lays them out.
constexpr int kCompanyDim = 0, kAccountDim = 1, kCentreDim = 2, kCustomerDim = 3;

struct Named {
  const char* code;
  const char* text;
};

// The four account groups, in the order an import creates them: costs, income, assets, and
// equity and liabilities. An account's code is its group's letter and its number, so that it
// falls under its group; its host code is the number.
constexpr Named kAccountGroups[] = {
    {"K", "Costs"}, {"I", "Income"}, {"T", "Assets"}, {"S", "Equity and liabilities"}};

constexpr Named kAccounts[] = {{"T1510", "Accounts receivable"},
                               {"T1910", "Cash"},
                               {"T1930", "Bank account"},
                               {"S2081", "Share capital"},
                               {"S2440", "Accounts payable"},
                               {"S2611", "Output VAT"},
                               {"S2641", "Input VAT"},
                               {"S2710", "Income tax withheld"},
                               {"I3010", "Sales, shop"},
                               {"I3020", "Sales, web shop"},
                               {"K4010", "Purchases of goods"},
                               {"K5010", "Rent"},
                               {"K5060", "Cleaning"},
                               {"K6110", "Office supplies"},
                               {"K6210", "Telephone"},
                               {"K6570", "Bank charges"},
                               {"K7010", "Salaries"},
                               {"K7510", "Social security contributions"}};

constexpr Named kCentres[] = {
    {"SHOP", "Shop"}, {"WEB", "Web shop"}, {"WH", "Warehouse"}, {"ADM", "Office"}};

// The shop and the web shop are two companies; their codes are the first letters of their names.
constexpr Named kCompanies[] = {{"N", "Nordic Trading Ltd"}, {"B", "Baltic Web Shop Ltd"}};
constexpr int kShop = 0, kWeb = 1;
constexpr int kFirstYear = 2022, kLastYear = 2024;

constexpr const char* kCustomerNames[] = {
    "Acme Office", "Baltic Foods", "Berg & Son",    "Bright Homes", "Cedar Cafe",
    "City Bikes",  "Delta Clinic", "Eastside Gym",  "Fjord Hotel",  "Green Leaf",
    "Harbour Bar", "Lake School",  "Linden Bakery", "Maple Dental", "North Books",
    "Oak Garage",  "Pine Florist", "Polar Ice",     "River Studio", "Stone Builders",
    "Sun Travel",  "Tide Fishery", "Valley Farm",   "West Pharmacy"};

// Amounts are kept in whole cents, so that every voucher balances exactly.
using Cents = int64_t;

struct Entry {
  const char* account;  // host code
  const char* centre = nullptr;
  ComponentRef customer = kNoComponent;
  Cents amount = 0;
  double quantity = 0;
};

class CardMaker {
 public:
  explicit CardMaker(Database& db) : db_(db), cards_(db.cards()) {}

  // One voucher of a company, its lines in one group.
  void Voucher(DayCode day, const std::string& title, int company,
               const std::vector<Entry>& entries) {
    const CardRef card = cards_.CreateCard({day, 0});
    if (card == kNoRecord) return;
    cards_.SetTitle(card, title);
    const GroupRef group =
        cards_.FindOrAddGroup(card, db_.FindByCode(kCompanyDim, kCompanies[company].code));
    for (const Entry& entry : entries) {
      const LineRef line = cards_.CreateLine(group);
      const ComponentRef slots[] = {
          db_.FindByHost(kAccountDim, entry.account),
          entry.centre ? db_.FindByCode(kCentreDim, entry.centre) : ComponentRef{kCentreDim},
          entry.customer != kNoComponent ? entry.customer : ComponentRef{kCustomerDim}};
      cards_.SetComponents(line, slots);
      const double values[] = {static_cast<double>(entry.amount) / 100, entry.quantity};
      cards_.SetValues(line, values);
    }
    cards_.FinishCard(card);
  }

 private:
  Database& db_;
  CardStore& cards_;
};

// What is owed between the vouchers of one company: settled by the payments of the next month
// and the VAT return of the quarter.
struct Open {
  std::map<ComponentRef, Cents> receivable;  // invoiced this month, by customer
  Cents payable = 0;                         // purchases this month
  Cents output_vat = 0;                      // this quarter
  Cents input_vat = 0;
};

// The month's running costs of the shop's company: rent, salaries, the office and the bank.
void AddMonthlyCosts(CardMaker& maker, int year, int month) {
  const std::string period = std::to_string(month) + "/" + std::to_string(year);
  maker.Voucher(PackDay(year, month, 1), "Rent " + period, kShop,
                {{"5010", "SHOP", kNoComponent, 1800000},
                 {"2641", nullptr, kNoComponent, 450000},
                 {"1930", nullptr, kNoComponent, -2250000}});
  maker.Voucher(PackDay(year, month, 5), "Cleaning and telephone " + period, kShop,
                {{"5060", "SHOP", kNoComponent, 320000},
                 {"6210", "ADM", kNoComponent, 89000},
                 {"2641", nullptr, kNoComponent, 102250},
                 {"1930", nullptr, kNoComponent, -511250}});
  maker.Voucher(PackDay(year, month, 25), "Salaries " + period, kShop,
                {{"7010", "SHOP", kNoComponent, 6400000},
                 {"7010", "ADM", kNoComponent, 3800000},
                 {"7510", nullptr, kNoComponent, 3200000},
                 {"2710", nullptr, kNoComponent, -3060000},
                 {"1930", nullptr, kNoComponent, -10340000}});
  if (year > kFirstYear || month > 1) {
    maker.Voucher(
        PackDay(year, month, 12), "Income tax withheld", kShop,
        {{"2710", nullptr, kNoComponent, 3060000}, {"1930", nullptr, kNoComponent, -3060000}});
  }
  const int last = DaysInMonth(year, month);
  for (int company : {kShop, kWeb}) {
    maker.Voucher(PackDay(year, month, last), "Bank charges " + period, company,
                  {{"6570", "ADM", kNoComponent, company == kShop ? 45000 : 125000},
                   {"1930", nullptr, kNoComponent, company == kShop ? -45000 : -125000}});
  }
}

// The customers pay last month's invoices on the 20th, the suppliers are paid the same day.
void AddPayments(CardMaker& maker, int year, int month, std::array<Open, 2>& open) {
  for (int company : {kShop, kWeb}) {
    Open& owed = open[company];
    std::vector<Entry> paid;
    Cents total = 0;
    for (const auto& [customer, amount] : owed.receivable) {
      paid.push_back({"1510", nullptr, customer, -amount});
      total += amount;
    }
    owed.receivable.clear();
    if (total != 0) {
      paid.push_back({"1930", nullptr, kNoComponent, total});
      maker.Voucher(PackDay(year, month, 20), "Customer payments", company, paid);
    }
    if (owed.payable != 0) {
      maker.Voucher(PackDay(year, month, 20), "Supplier payments", company,
                    {{"2440", nullptr, kNoComponent, owed.payable},
                     {"1930", nullptr, kNoComponent, -owed.payable}});
      owed.payable = 0;
    }
  }
}

// The quarter's VAT is cleared on its last day and paid from the bank.
void AddVatReturns(CardMaker& maker, int year, int quarter, std::array<Open, 2>& open) {
  const int month = 3 * quarter;
  for (int company : {kShop, kWeb}) {
    Open& owed = open[company];
    maker.Voucher(PackDay(year, month, DaysInMonth(year, month)),
                  "VAT return " + std::to_string(year) + " Q" + std::to_string(quarter), company,
                  {{"2611", nullptr, kNoComponent, owed.output_vat},
                   {"2641", nullptr, kNoComponent, -owed.input_vat},
                   {"1930", nullptr, kNoComponent, owed.input_vat - owed.output_vat}});
    owed.output_vat = owed.input_vat = 0;
  }
}

void AddYear(Database& db, CardMaker& maker, int year, std::mt19937& random,
             const std::vector<ComponentRef>& customers, std::array<Open, 2>& open) {
  for (int month = 1; month <= 12; ++month) {
    AddPayments(maker, year, month, open);
    AddMonthlyCosts(maker, year, month);
    open[kShop].input_vat += 450000 + 102250;
    const int days = DaysInMonth(year, month);
    for (int day = 1; day <= days; ++day) {
      const int sales = 2 + static_cast<int>(random() % 5);
      for (int s = 0; s < sales; ++s) {
        const int company = random() % 3 == 0 ? kWeb : kShop;
        const ComponentRef customer = customers[random() % customers.size()];
        const Cents net = 20000 + random() % 900000;
        const Cents vat = net / 4;
        const double quantity = 1 + random() % 20;
        Open& owed = open[company];
        owed.receivable[customer] += net + vat;
        owed.output_vat += vat;
        maker.Voucher(PackDay(year, month, day),
                      "Invoice " + std::string(db.component(customer).text), company,
                      {{company == kWeb ? "3020" : "3010", company == kWeb ? "WEB" : "SHOP",
                        customer, -net, -quantity},
                       {"2611", nullptr, customer, -vat},
                       {"1510", nullptr, customer, net + vat}});
      }
      if (random() % 4 == 0) {
        const Cents cost = 4 * (100000 + random() % 2000000);
        const Cents vat = cost / 4;
        open[kShop].payable += cost + vat;
        open[kShop].input_vat += vat;
        maker.Voucher(PackDay(year, month, day), "Purchase of goods", kShop,
                      {{"4010", "WH", kNoComponent, cost},
                       {"2641", nullptr, kNoComponent, vat},
                       {"2440", nullptr, kNoComponent, -(cost + vat)}});
      }
    }
    if (month % 3 == 0) AddVatReturns(maker, year, month / 3, open);
  }
}

// The share capital paid into the bank, on the opening-balance card of the first year.
void AddOpeningBalances(CardMaker& maker) {
  for (int company : {kShop, kWeb}) {
    const Cents capital = company == kShop ? 50000000 : 10000000;
    maker.Voucher(
        PackDay(kFirstYear - 1, 12, 31), "IB", company,
        {{"1930", nullptr, kNoComponent, capital}, {"2081", nullptr, kNoComponent, -capital}});
  }
}

// Whole vouchers of web sales above 5,000 net, and the vouchers of the last quarter's purchases
// of goods, but for those with a line of 60,000 or more.
void AddSubsets(Database& db) {
  Subset& large_web = SubsetList::Of(db).Create("Large web sales");
  Selection& web = large_web.AddSelection("Web").selection();
  web.SetComponentExpression(kAccountDim, "3020");
  web.SetValueCondition(0, "<-5000");
  large_web.SetCombination("cards Web");
  large_web.set_notes("Every line of the vouchers that sell for more than 5,000 in the web shop.");

  Subset& purchases = SubsetList::Of(db).Create("Small purchases 2024 Q4");
  Selection& goods = purchases.AddSelection("Goods").selection();
  goods.SetFrom("2024 Q4");
  goods.SetTo("2024 Q4");
  goods.SetComponentExpression(kAccountDim, "4010");
  purchases.AddSelection("Big").selection().SetValueCondition(0, ">=60000");
  purchases.SetCombination(
      "cards Goods & \xAC"
      "cards Big");
  purchases.set_notes("Purchase vouchers of the last quarter without a line of 60,000 or more.");

  Subset& unapproved = SubsetList::Of(db).Create("Unapproved vouchers");
  unapproved.AddSelection("Unapproved").SetStamp(StampKind::kApproved, "\\", "");
  unapproved.SetCombination("cards Unapproved");
  unapproved.set_notes("The vouchers that nobody has approved yet.");
}

// The accountant approves each month's vouchers on the tenth of the next month; the vouchers
// from `open_from` on are not approved yet.
void ApproveVouchers(Database& db, DayCode open_from) {
  CardStore& cards = db.cards();
  for (CardRef card = cards.FirstCard(); card != kCardSentinel; card = cards.NextCard(card)) {
    const DayCode day = cards.CardId(card).day;
    if (day >= open_from) break;
    const int year = 1900 + static_cast<int>(day / 512);
    const int month = static_cast<int>(day / 32 % 16);
    Stamp approved;
    approved.time = PackStampTime({month == 12 ? year + 1 : year, month % 12 + 1, 10, 16, 30});
    approved.SetSignature("EK");
    cards.Approve(card, approved);
  }
}

// A stored component analysis of the last year: `columns` of "BNPRCEAT" shown, each row the
// total of its subtree, every row expanded, exported as an HTML page.
void Report(ComponentAnalysis& analysis, int dimension, std::string_view columns,
            const char* accounts, const char* notes) {
  ComponentAnalysisOptions& options = analysis.options();
  options.view_dimension = dimension;
  for (int kind = 0; kind < kComponentColumns; ++kind) {
    ColumnOptions& column = options.columns[kind];
    column.visible = columns.find(kColumnLetters[kind]) != std::string_view::npos;
    column.sublevels = true;
  }
  options.expansion = "\\";
  Selection& selection = analysis.selection();
  selection.SetFrom("240101");
  selection.SetTo("241231");
  selection.SetComponentExpression(kAccountDim, accounts);
  TemplateFrame& frame = analysis.frame();
  frame.notes = notes;
  frame.calculate_directly = true;
  ExportSettings& settings = frame.export_settings;
  settings.format = ExportFormat::kHtml;
  settings.include_title = settings.include_notes = settings.include_definition = true;
  settings.include_column_titles = settings.include_header_rows = true;
  settings.include_data_rows = true;
}

// The ledger of accounts receivable: every invoice and payment of the year in date order with
// the running balance from the opening balance, and the year's sums, average balance and
// turnover above the lines.
std::unique_ptr<LineAnalysis> CustomerLedger(Database& db) {
  auto ledger = std::make_unique<LineAnalysis>(db);
  LineAnalysisOptions& options = ledger->options();
  options.SetSummaryLetters("B+-P#CAT");
  options.columns = ListColumns();
  options.columns.dimensions = {};
  options.columns.dimensions[kCustomerDim] = true;
  Selection& selection = ledger->selection();
  selection.SetFrom("240101");
  selection.SetTo("241231");
  selection.SetComponentExpression(kAccountDim, "T1510");
  TemplateFrame& frame = ledger->frame();
  frame.notes =
      "Accounts receivable in 2024: each invoice and payment with the balance after it, the "
      "opening balance, the year's sums, the average balance and how many days a sale waits "
      "for its payment.";
  frame.calculate_directly = true;
  ExportSettings& settings = frame.export_settings;
  settings.include_title = settings.include_notes = settings.include_definition = true;
  settings.include_column_titles = settings.include_header_rows = true;
  settings.include_data_rows = true;
  return ledger;
}

// December's vouchers that wait for approval, each with all its lines, exported as
// tab-separated text that reads as a cards section.
std::unique_ptr<CardAnalysis> UnapprovedVouchers(Database& db) {
  auto vouchers = std::make_unique<CardAnalysis>(db);
  CardAnalysisOptions& options = vouchers->options();
  options.groups = options.lines = DataContents::kAll;
  options.columns.dimensions = {};
  options.columns.dimensions[kCompanyDim] = options.columns.dimensions[kAccountDim] = true;
  options.columns.dimensions[kCentreDim] = true;
  Selection& selection = vouchers->selection();
  selection.SetFrom("241201");
  selection.SetTo("241231");
  selection.SetSubset("Unapproved vouchers");
  TemplateFrame& frame = vouchers->frame();
  frame.notes = "The vouchers of December 2024 that are not approved yet, with all their lines.";
  ExportSettings& settings = frame.export_settings;
  settings.include_title = settings.include_data_rows = true;
  settings.include_header_rows = true;
  return vouchers;
}

void AddTemplates(Database& db) {
  AnalysisTemplates& templates = AnalysisTemplates::Of(db);
  {
    ComponentAnalysis balance(db);
    Report(balance, kAccountDim, "BRE", "T|S",
           "The balance sheet accounts of both companies: the balance on the first day of the "
           "year, the year's movement and the balance at its end.");
    balance.options().column(ComponentColumn::kAtEnd).bold = true;
    balance.options().column(ComponentColumn::kPeriod).bold = false;
    templates.Store(balance.ToTemplate("Balance sheet 2024"));
  }
  {
    ComponentAnalysis result(db);
    Report(result, kAccountDim, "NPR", "K|I",
           "Costs and income of the year: debits, credits and the net of each account.");
    templates.Store(result.ToTemplate("Profit and loss 2024"));
  }
  {
    ComponentAnalysis customers(db);
    Report(customers, kCustomerDim, "RC", "I",
           "Net sales and invoice lines per customer, the largest customer first.");
    customers.options().sort = ComponentSort::kAbsoluteDescending;
    customers.options().filter = RowFilter::kInUse;
    templates.Store(customers.ToTemplate("Sales by customer 2024"));
  }
  {
    ComponentAnalysis centres(db);
    Report(centres, kCentreDim, "R", "K",
           "The year's costs by cost centre, the largest first; costs booked to no centre count "
           "only in the total.");
    centres.options().sort = ComponentSort::kDescending;
    templates.Store(centres.ToTemplate("Costs by cost centre 2024"));
  }
  templates.Store(CustomerLedger(db)->ToTemplate("Customer ledger 2024"));
  templates.Store(UnapprovedVouchers(db)->ToTemplate("Unapproved vouchers 2024-12"));
}

// A variable of a demo report: the measure of the amounts booked to `accounts`, in whole units.
Variable& AddAccountsVariable(FunctionColumns& columns, const char* name, const char* title,
                              const char* accounts, Measure measure) {
  Variable& variable = *columns.AddVariable(name);
  variable.title = title;
  variable.measure = measure;
  variable.selection().SetComponentExpression(kAccountDim, accounts);
  variable.look.decimals = 0;
  return variable;
}

Formula& AddTitledFormula(FunctionColumns& columns, const char* name, const char* title,
                          const char* text, int decimals) {
  Formula& formula = *columns.AddFormula(name);
  formula.title = title;
  formula.look.decimals = decimals;
  columns.SetText(formula, text);
  return formula;
}

// The monthly report of the last year: sales (revenue is credited, so it is measured as -Sum),
// the cost of the goods bought, and the margin in money and as a share of sales.
void AddMonthlySalesTemplate(Database& db) {
  auto body = std::make_unique<TimeFunctionsTemplateBody>(db);
  body->options().SetRange(PackDay(2024, 1, 1), PackDay(2024, 12, 31));
  body->options().period_kind = PeriodKind::kMonths;
  FunctionColumns& columns = body->columns();
  AddAccountsVariable(columns, "sales", "Sales", "I", Measure::kNegativeSum).accumulation =
      Accumulation::kByPeriod;
  AddAccountsVariable(columns, "cost", "Cost of goods", "K4010", Measure::kSum).accumulation =
      Accumulation::kByPeriod;
  AddTitledFormula(columns, "margin", "Margin", "sales - cost", 0);
  AddTitledFormula(columns, "share", "Margin %", "margin / sales * 100", 1);
  columns.Compile();

  AnalysisTemplate stored;
  stored.frame.kind = AnalysisKind::kTimeFunctions;
  stored.frame.name = "Monthly sales and margin";
  ExportSettings& settings = stored.frame.export_settings;
  settings.include_title = settings.include_column_titles = true;
  stored.body = std::move(body);
  AnalysisTemplates::Of(db).Store(std::move(stored));
}

// The margins of the last year per cost centre: the sales and the costs booked to each centre,
// the margin, and the margin as a share of sales. Costs booked to no centre count only at the
// root, so the root's margin is the group's result.
void AddCentreMarginsTemplate(Database& db) {
  auto body = std::make_unique<ComponentFunctionsTemplateBody>(db);
  ComponentFunctionsOptions& options = body->options();
  options.view_dimension = kCentreDim;
  options.include_sublevels = true;
  options.expansion = "\\";
  options.sort = ComponentSort::kDescending;
  options.sort_column = "margin";
  FunctionColumns& columns = body->columns();
  for (Variable* variable :
       {&AddAccountsVariable(columns, "sales", "Sales", "I", Measure::kNegativeSum),
        &AddAccountsVariable(columns, "costs", "Costs", "K", Measure::kSum)}) {
    variable->selection().SetFrom("240101");
    variable->selection().SetTo("241231");
  }
  Formula& margin = AddTitledFormula(columns, "margin", "Margin", "sales - costs", 0);
  margin.look.bold = true;
  margin.look.red_green = true;
  margin.higher_levels = HigherLevels::kSumOfLowerLevels;
  AddTitledFormula(columns, "share", "Margin %", "margin / sales * 100", 1);
  columns.Compile();

  AnalysisTemplate stored;
  stored.frame.kind = AnalysisKind::kComponentFunctions;
  stored.frame.name = "Margins by cost centre 2024";
  stored.frame.notes =
      "Sales, costs and the margin of each cost centre in 2024, the best margin first; the root "
      "row holds the costs booked to no centre too, so its margin is the year's result.";
  ExportSettings& settings = stored.frame.export_settings;
  settings.include_title = settings.include_notes = settings.include_column_titles = true;
  settings.include_header_rows = settings.include_data_rows = true;
  stored.body = std::move(body);
  AnalysisTemplates::Of(db).Store(std::move(stored));
}

}  // namespace

void BuildDemoCompany(Database& db) {
  db.SetValueFieldCount(2);
  db.SetValueFieldName(0, "Amount");
  db.SetValueFieldName(1, "Quantity");
  db.SetCardTitleLabel("Voucher text");
  const char* singular[] = {"Company", "Account", "Cost centre", "Customer"};
  const char* plural[] = {"Companies", "Accounts", "Cost centres", "Customers"};
  for (int d = 0; d < 4; ++d) {
    db.dimension(d).SetSingularName(singular[d]);
    db.dimension(d).SetPluralName(plural[d]);
  }
  for (const Named& company : kCompanies)
    db.AddComponent(kCompanyDim, company.code, company.text, "");
  for (const Named& group : kAccountGroups)
    db.AddComponent(kAccountDim, group.code, group.text, "");
  for (const Named& account : kAccounts) {
    db.AddComponent(kAccountDim, account.code, account.text, account.code + 1);
  }
  for (const Named& centre : kCentres) {
    db.AddComponent(kCentreDim, centre.code, centre.text, centre.code);
  }
  std::vector<ComponentRef> customers;
  for (size_t i = 0; i < std::size(kCustomerNames); ++i) {
    const std::string code = std::to_string(1001 + i);
    customers.push_back(db.AddComponent(kCustomerDim, code, kCustomerNames[i], code));
  }
  std::mt19937 random(2024);
  CardMaker maker(db);
  AddOpeningBalances(maker);
  std::array<Open, 2> open;
  for (int year = kFirstYear; year <= kLastYear; ++year)
    AddYear(db, maker, year, random, customers, open);

  TimeScale& quarters = TimeScaleList::Of(db).Create("Fiscal quarters");
  std::vector<TimeScaleEntry> entries;
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    for (int q = 0; q < 4; ++q) {
      entries.push_back({Date{PackDay(year, 1 + 3 * q, 1), 1},
                         std::to_string(year) + " Q" + std::to_string(q + 1)});
    }
  }
  quarters.SetEntries(entries);
  ApproveVouchers(db, PackDay(kLastYear, 12, 15));
  AddSubsets(db);
  AddTemplates(db);
  AddMonthlySalesTemplate(db);
  AddCentreMarginsTemplate(db);
  db.FlushChangeFlags();
}

}  // namespace jov

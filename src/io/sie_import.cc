#include "io/sie_import.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "files/base_options_section.h"
#include "files/line_source.h"
#include "files/section_registry.h"
#include "io/character_tables.h"
#include "io/script_reader.h"
#include "model/case_tables.h"
#include "platform/text_encoding.h"
#include "shell/number_text.h"
#include "shell/pending_error.h"
#include "shell/progress.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

constexpr int kCompanyDimension = 0;
constexpr int kAccountDimension = 1;
constexpr int kFirstObjectDimension = 2;
constexpr int kMaxSieDimension = 99;
// The account groups, by the type letter of "#KTYP": cost, income, asset, liability.
struct AccountGroup {
  const char* code;
  const char* text;
};
constexpr AccountGroup kAccountGroups[] = {
    {"K", "Kostnader"}, {"I", "Int\xE4kter"}, {"T", "Tillg\xE5ngar"}, {"S", "Skulder"}};
constexpr int kProgressLines = 1024;

std::string TrimmedTrailing(std::string_view text) {
  return std::string(text.substr(0, text.find_last_not_of(' ') + 1));
}

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : TrimmedTrailing(text.substr(first));
}

// A number 1..99 (SIE dimension numbers); nothing for any other text.
std::optional<int> SieDimensionNumber(std::string_view text) {
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != text.npos) {
    return std::nullopt;
  }
  const int number = std::stoi(std::string(text));
  if (number < 1 || number > kMaxSieDimension) return std::nullopt;
  return number;
}

// YYYYMMDD; nothing unless it names a day from 1900 on.
std::optional<DayCode> SieDate(std::string_view text) {
  if (text.size() != 8 || text.find_first_not_of("0123456789") != text.npos) return std::nullopt;
  const int number = std::stoi(std::string(text));
  const int year = number / 10000, month = number / 100 % 100, day = number % 100;
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    return std::nullopt;
  }
  return PackDay(year, month, day);
}

// An amount: a finite number, tiny ones counted as 0; nothing for any other text.
std::optional<double> SieAmount(std::string_view text) {
  const double amount = ParseNumber(text);
  if (!std::isfinite(amount)) return std::nullopt;
  return std::fabs(amount) < kSnapToZeroBelow ? 0.0 : amount;
}

class SieLineReader {
 public:
  SieLineReader(Database& database, std::string_view text)
      : database_(database), cards_(database.cards()), text_(text), lines_(text) {
    dimension_map_.fill(-1);
    for (int d = 0; d < kDimensionCount; ++d) used_before_[d] = database.IsDimensionUsed(d);
    opening_date_ = {PackDay(UnpackDay(Today()).year, 1, 1), 1};
  }

  SieResult Run();

 private:
  // The next line, or the one handed back by Unread. False at the end.
  bool NextLine();
  void Unread() { unread_ = true; }
  void ReadLine();
  void ReadAccount(TokenLine& tokens);
  void ReadDimension(TokenLine& tokens);
  void ReadSubDimension(TokenLine& tokens);
  void ReadObject(TokenLine& tokens);
  void ReadYear(TokenLine& tokens);
  void ReadCompany(TokenLine& tokens);
  void ReadOpeningBalance(TokenLine& tokens);
  void ReadVerification(TokenLine& tokens);
  void ReadTransaction(TokenLine& tokens, GroupRef group);
  // The database dimension for an SIE dimension's name: one of the same name that the database
  // had before this read and that no other SIE dimension took, else the first unused one.
  int DimensionFor(std::string_view name) const;
  // Reads "{" dimension object ... "}" and sets the objects of mapped dimensions.
  void ReadObjectList(TokenLine& tokens, std::string& token);
  ComponentRef Account(std::string_view number) const {
    return database_.FindByHost(kAccountDimension, number);
  }
  void ClearComponents() {
    for (int d = 0; d < kDimensionCount; ++d) components_[d] = database_.dimension(d).root();
  }
  // A line in the group with the components and the amount in value field 0.
  LineRef AddLine(GroupRef group, double amount);
  void Complete(CardRef card);

  Database& database_;
  CardStore& cards_;
  std::string_view text_;
  TextScriptLines lines_;
  std::string_view line_;
  bool unread_ = false;
  uint64_t lines_read_ = 0;
  std::array<int, kMaxSieDimension + 1> dimension_map_;
  std::array<bool, kDimensionCount> used_before_{};
  std::array<bool, kDimensionCount> taken_{};
  ComponentRef company_ = kNoComponent;
  Date opening_date_;
  CardRef opening_card_ = kNoRecord;
  // The components of the line being made, by dimension (roots for none).
  std::array<ComponentRef, kDimensionCount> components_;
  Sequence largest_number_ = 0;
  SieResult result_;
  std::string token_, account_, text_token_;
};

bool SieLineReader::NextLine() {
  if (unread_) {
    unread_ = false;
    return true;
  }
  if (!lines_.Next(&line_)) return false;
  if (++lines_read_ % kProgressLines == 0) {
    ReportProgress(static_cast<int64_t>(line_.data() - text_.data()));
  }
  return true;
}

SieResult SieLineReader::Run() {
  for (const AccountGroup& group : kAccountGroups) {
    database_.AddComponent(kAccountDimension, group.code, group.text, "");
  }
  while (!StopRequested() && NextLine()) ReadLine();
  if (opening_card_ != kNoRecord) Complete(opening_card_);
  result_.done = !StopRequested();
  if (result_.cards > 0) {
    database_.MarkModified();
    database_.SetCardDigits(
        std::max(database_.card_digits(), DigitsForCardNumber(largest_number_)));
  }
  database_.FlushChangeFlags();
  return result_;
}

void SieLineReader::ReadLine() {
  struct LabelReader {
    std::string_view label;
    void (SieLineReader::*read)(TokenLine& tokens);
  };
  static constexpr LabelReader kReaders[] = {
      {"#KONTO", &SieLineReader::ReadAccount},
      {"#DIM", &SieLineReader::ReadDimension},
      {"#UNDERDIM", &SieLineReader::ReadSubDimension},
      {"#OBJEKT", &SieLineReader::ReadObject},
      {"#RAR", &SieLineReader::ReadYear},
      {"#FNAMN", &SieLineReader::ReadCompany},
      {"#IB", &SieLineReader::ReadOpeningBalance},
      {"#VER", &SieLineReader::ReadVerification},
  };
  TokenLine tokens(line_);
  tokens.Next(&token_);
  for (const LabelReader& reader : kReaders) {
    if (TokenIs(token_, reader.label)) return (this->*reader.read)(tokens);
  }
}

// "#KONTO" account name, and when the next line is "#KTYP" account type, the type letter
// before the number makes the JOV-Code, so that the account falls under its group.
void SieLineReader::ReadAccount(TokenLine& tokens) {
  account_ = tokens.Next();
  const std::string name = TrimmedTrailing(tokens.Next());
  std::string code = account_;
  if (NextLine()) {
    TokenLine next(line_);
    if (TokenIs(next.Next(), "#KTYP") && next.Next() == account_) {
      code = next.Next().substr(0, 1) + account_;
    } else {
      Unread();
    }
  }
  database_.AddComponent(kAccountDimension, code, name, account_);
}

// "#DIM" number name.
void SieLineReader::ReadDimension(TokenLine& tokens) {
  const std::optional<int> number = SieDimensionNumber(tokens.Next());
  const std::string name = Trimmed(tokens.Next());
  if (!number || dimension_map_[*number] >= 0 || name.empty()) return;
  const int dimension = DimensionFor(name);
  if (dimension < 0) return;
  dimension_map_[*number] = dimension;
  taken_[dimension] = true;
  database_.dimension(dimension).SetSingularName(name);
  database_.dimension(dimension).SetPluralName(name);
}

int SieLineReader::DimensionFor(std::string_view name) const {
  for (int d = kFirstObjectDimension; d < kDimensionCount; ++d) {
    if (used_before_[d] && !taken_[d] &&
        EqualsIgnoringCase(database_.dimension(d).singular_name(), name)) {
      return d;
    }
  }
  for (int d = kFirstObjectDimension; d < kDimensionCount; ++d) {
    if (!taken_[d] && !database_.IsDimensionUsed(d)) return d;
  }
  return -1;
}

// "#UNDERDIM" number name parent: the objects go to the parent's dimension.
void SieLineReader::ReadSubDimension(TokenLine& tokens) {
  const std::optional<int> number = SieDimensionNumber(tokens.Next());
  tokens.Next();  // the name
  const std::optional<int> parent = SieDimensionNumber(tokens.Next());
  if (!number || !parent || dimension_map_[*number] >= 0 || dimension_map_[*parent] < 0) return;
  dimension_map_[*number] = dimension_map_[*parent];
}

// "#OBJEKT" dimension code name.
void SieLineReader::ReadObject(TokenLine& tokens) {
  const std::optional<int> number = SieDimensionNumber(tokens.Next());
  const std::string code = tokens.Next();
  const std::string name = TrimmedTrailing(tokens.Next());
  if (!number || dimension_map_[*number] < 0) return;
  database_.AddComponent(dimension_map_[*number], code, name, code);
}

// "#RAR" year start end: the current year's opening balances are dated the day before it.
void SieLineReader::ReadYear(TokenLine& tokens) {
  if (tokens.Next() != "0") return;
  const std::optional<DayCode> start = SieDate(tokens.Next());
  if (!start) return;
  const DayCode before = PreviousDay(*start);
  if (before != kNoDay) opening_date_ = {before, 0};
}

// "#FNAMN" name: a company component with the name's first character as its JOV-Code.
void SieLineReader::ReadCompany(TokenLine& tokens) {
  const std::string name = Trimmed(tokens.Next());
  if (name.empty()) return;
  const ComponentRef company =
      database_.AddComponent(kCompanyDimension, name.substr(0, 1), name, "");
  if (company != kNoComponent) company_ = company;
}

// "#IB" year account amount, for the current year only.
void SieLineReader::ReadOpeningBalance(TokenLine& tokens) {
  if (tokens.Next() != "0") return;
  if (opening_card_ == kNoRecord) {
    opening_card_ = cards_.CreateCard(opening_date_);
    if (opening_card_ == kNoRecord) return;
    cards_.SetTitle(opening_card_, "IB");
    largest_number_ = std::max(largest_number_, cards_.card(opening_card_).sequence);
  }
  if (company_ == kNoComponent) return;
  const GroupRef group = cards_.FindOrAddGroup(opening_card_, company_);
  const ComponentRef account = Account(tokens.Next());
  const std::optional<double> amount = SieAmount(tokens.Next());
  if (group == kNoRecord || account == kNoComponent || !amount) return;
  ClearComponents();
  components_[kAccountDimension] = account;
  AddLine(group, *amount);
}

// "#VER" series number date text, then its "#TRANS" lines up to the line that begins with "}".
void SieLineReader::ReadVerification(TokenLine& tokens) {
  tokens.Next();  // the series
  const std::string number = Trimmed(tokens.Next());
  const std::optional<DayCode> date = SieDate(tokens.Next());
  const std::string text = Trimmed(tokens.Next());
  const CardRef card = date ? cards_.CreateCard({*date, 1}) : kNoRecord;
  if (card != kNoRecord) {
    cards_.SetTitle(card, number.empty() ? text : number + ": " + text);
    largest_number_ = std::max(largest_number_, cards_.card(card).sequence);
  }
  // A verification that cannot be dated or has no company still owns its transactions.
  const GroupRef group = card != kNoRecord && company_ != kNoComponent
                             ? cards_.FindOrAddGroup(card, company_)
                             : kNoRecord;
  while (!StopRequested() && NextLine()) {
    TokenLine inside(line_);
    inside.Next(&token_);
    if (token_ == "}") break;
    // A verification whose closing brace is missing ends at the next one.
    if (TokenIs(token_, "#VER")) {
      Unread();
      break;
    }
    if (TokenIs(token_, "#TRANS") && group != kNoRecord) ReadTransaction(inside, group);
  }
  if (card != kNoRecord) Complete(card);
}

// "#TRANS" account {objects} amount date text.
void SieLineReader::ReadTransaction(TokenLine& tokens, GroupRef group) {
  ClearComponents();
  const ComponentRef account = Account(tokens.Next());
  if (account != kNoComponent) components_[kAccountDimension] = account;
  tokens.Next(&token_);
  if (token_.starts_with("{")) {
    ReadObjectList(tokens, token_);
    tokens.Next(&token_);
  }
  const std::optional<double> amount = SieAmount(token_);
  if (!amount) return;
  tokens.Next();  // the transaction date
  text_token_ = TrimmedTrailing(tokens.Next());
  const LineRef line = AddLine(group, *amount);
  if (line != kNoLine && !text_token_.empty()) cards_.SetLineText(line, text_token_);
}

void SieLineReader::ReadObjectList(TokenLine& tokens, std::string& token) {
  std::string dimension;
  bool have_dimension = false;
  for (bool first = true;; first = false) {
    if (!first && !tokens.Next(&token)) return;
    const bool last = token.ends_with("}");
    std::string_view item(token);
    if (first) item.remove_prefix(1);
    if (last && !item.empty()) item.remove_suffix(1);
    if (!item.empty()) {
      if (!have_dimension) {
        dimension = std::string(item);
      } else if (const auto number = SieDimensionNumber(dimension);
                 number && dimension_map_[*number] >= 0) {
        const int mapped = dimension_map_[*number];
        const ComponentRef object = database_.FindByHost(mapped, item);
        if (object != kNoComponent) components_[mapped] = object;
      }
      have_dimension = !have_dimension;
    }
    if (last) return;
  }
}

LineRef SieLineReader::AddLine(GroupRef group, double amount) {
  const LineRef line = cards_.CreateLine(group);
  if (line == kNoLine) return line;
  const int slots = database_.line_layout().slots;
  cards_.SetComponents(line, std::span<const ComponentRef>(components_.data() + 1, slots));
  cards_.SetValues(line, std::span<const double>(&amount, 1));
  ++result_.lines;
  return line;
}

// A card without lines goes.
void SieLineReader::Complete(CardRef card) {
  const size_t cards = cards_.card_count();
  cards_.FinishCard(card);
  if (cards_.card_count() == cards) ++result_.cards;
}

}  // namespace

std::string SieText(std::string_view bytes) {
  TextScriptLines lines(bytes);
  bool pc8 = false;
  for (std::string_view line; lines.Next(&line);) {
    TokenLine tokens(line);
    if (!TokenIs(tokens.Next(), "#FORMAT")) continue;
    pc8 = TokenIs(tokens.Next(), "PC8");
    break;
  }
  if (!pc8) return std::string(bytes);
  if (IsUtf8(bytes)) return Cp1252FromUtf8(bytes);
  ImportSetup oem;
  oem.character_set = CharacterSet::kOem;
  std::string text;
  Translate(bytes, ConversionTable(oem), &text);
  return text;
}

SieResult ReadSie(Database& database, std::string_view bytes) {
  const std::string text = SieText(bytes);
  return SieLineReader(database, text).Run();
}

void RegisterSieImport(SectionRegistry& registry) {
  registry.SetSieReader(
      [](Database& database, std::string_view bytes) { return ReadSie(database, bytes).done; });
}

}  // namespace jov

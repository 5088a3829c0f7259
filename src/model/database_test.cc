#include "model/database.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "model/card_store.h"
#include "model/open_databases.h"
#include "model/string_hash.h"
#include "shell/message_ids.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

struct Change {
  ChangeCode code;
  int argument;
  int argument2;
  bool operator==(const Change&) const = default;
};

class RecordingListener : public DatabaseListener {
 public:
  void OnDatabaseChange(Database&, ChangeCode code, int argument, int argument2) override {
    changes.push_back({code, argument, argument2});
  }
  std::vector<Change> changes;
};

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
    db_.AddListener(&listener_);
  }
  void TearDown() override { ResetProcess(); }

  const std::string& Code(ComponentRef ref) const { return db_.component(ref).code; }
  ComponentRef Parent(ComponentRef ref) const { return db_.component(ref).parent; }
  // Codes of a dimension in pre-order with their levels, as "code/level".
  std::vector<std::string> Walk(int dimension) const {
    std::vector<std::string> out;
    const ComponentRef root = static_cast<ComponentRef>(dimension);
    int level = 0, change = 0;
    for (ComponentRef ref = db_.NextInPreorder(root, &change); ref != root;
         ref = db_.NextInPreorder(ref, &change)) {
      level += change;
      out.push_back(Code(ref) + "/" + std::to_string(level));
    }
    return out;
  }

  RecordingSink sink_;
  RecordingListener listener_;
  Database db_;
};

TEST_F(DatabaseTest, ParentIsTheLongestPrefixInEitherOrder) {
  for (const char* code : {"1000", "10", "1"}) db_.AddComponent(0, code, "", "");
  EXPECT_EQ(Walk(0), (std::vector<std::string>{"1000/1", "10/1", "1/1"}));

  for (const char* code : {"1", "10", "1000"}) db_.AddComponent(1, code, "", "");
  const ComponentRef hundred = db_.AddComponent(1, "100", "", "");
  EXPECT_EQ(Code(Parent(hundred)), "10");
  EXPECT_EQ(Walk(1), (std::vector<std::string>{"1/1", "10/2", "1000/3", "100/3"}));
  EXPECT_EQ(Code(Parent(db_.FindByCode(1, "1000"))), "10");  // stays where it was
}

TEST_F(DatabaseTest, CaseOptionsShapeStoredValuesAndLookups) {
  const ComponentRef upper = db_.AddComponent(0, "ab", " kassa och BANK ", "h1");
  EXPECT_EQ(Code(upper), "AB");
  EXPECT_EQ(db_.component(upper).text, "kassa och BANK");  // trimmed, N keeps the case
  EXPECT_EQ(db_.FindByCode(0, "ab"), upper);
  EXPECT_EQ(db_.FindByHost(0, "H1"), upper);
  EXPECT_EQ(db_.AddComponent(0, "Ab", "other", ""), upper);  // same code returns it unchanged
  EXPECT_EQ(db_.component(upper).text, "kassa och BANK");

  ASSERT_TRUE(db_.dimension(1).SetCaseOption(ComponentField::kCode, CaseOption::kCaseSensitive));
  const ComponentRef lower = db_.AddComponent(1, "ab", "", "");
  const ComponentRef mixed = db_.AddComponent(1, "AB", "", "");
  EXPECT_NE(lower, mixed);
  EXPECT_EQ(db_.FindByCode(1, "ab"), lower);
  EXPECT_EQ(db_.FindByCode(1, "AB"), mixed);
  EXPECT_EQ(db_.FindByCode(1, "aB"), kNoComponent);

  // Latin-1 letters fold through the case table.
  const ComponentRef a_ring = db_.AddComponent(2, "\xE5sa", "", "");
  EXPECT_EQ(Code(a_ring), "\xC5SA");
  EXPECT_EQ(db_.FindByCode(2, "\xE5Sa"), a_ring);
}

TEST_F(DatabaseTest, ChangingACaseOptionRewritesEveryComponent) {
  db_.AddComponent(0, "a1", "north-west sales", "x");
  db_.AddComponent(0, "a2", "SOUTH", "y");
  listener_.changes.clear();
  ASSERT_TRUE(db_.dimension(0).SetCaseOption(ComponentField::kText, CaseOption::kWordCaps));
  EXPECT_EQ(db_.component(db_.FindByCode(0, "A1")).text, "North-West Sales");
  EXPECT_EQ(db_.component(db_.FindByCode(0, "A2")).text, "South");
  // The text is shown (display CT), so analyses hear of it too.
  EXPECT_EQ(listener_.changes,
            (std::vector<Change>{{ChangeCode::kTextCase, 0, 0}, {ChangeCode::kDisplay, 0, 0}}));

  listener_.changes.clear();
  EXPECT_TRUE(db_.dimension(0).SetCaseOption(ComponentField::kHost, CaseOption::kUpper));
  EXPECT_EQ(db_.component(db_.FindByCode(0, "A1")).host, "X");
  EXPECT_EQ(listener_.changes, (std::vector<Change>{{ChangeCode::kHostCase, 0, 0}}));

  EXPECT_FALSE(db_.dimension(0).SetCaseOption(ComponentField::kCode, CaseOption::kWordCaps));
  EXPECT_FALSE(db_.dimension(0).SetCaseOption(ComponentField::kCode, CaseOption::kStandard));
  EXPECT_EQ(db_.dimension(0).case_option(ComponentField::kCode), CaseOption::kUpper);
  EXPECT_TRUE(db_.dimension(0).SetCaseOption(ComponentField::kCode, CaseOption::kLower));
  EXPECT_EQ(db_.FindByCode(0, "a1"), db_.FindByCode(0, "A1"));
  EXPECT_EQ(Code(db_.FindByCode(0, "A1")), "a1");
}

TEST_F(DatabaseTest, TakenHostCodeIsReportedAndDropped) {
  db_.dimension(3).SetSingularName("Customer");
  const ComponentRef first = db_.AddComponent(3, "C1", "", "H-1");
  const ComponentRef second = db_.AddComponent(3, "C2", "", "h-1");
  ASSERT_NE(second, kNoComponent);
  EXPECT_TRUE(db_.component(second).host.empty());
  EXPECT_EQ(db_.FindByHost(3, "H-1"), first);
  ASSERT_EQ(sink_.Texts(),
            (std::vector<std::string>{"Host code \"h-1\" in dimension Customer already defined."}));
}

TEST_F(DatabaseTest, UnresolvedIdentifiersCreateComponents) {
  // By text: "#" ("New components") and #00001.. below it, skipping a taken number.
  db_.AddComponent(4, "#00002", "taken", "");
  for (const char* text : {"Alpha", "Beta", "Gamma"}) {
    db_.ResolveIdentifier(4, text, IdentifierKind::kText);
  }
  const ComponentRef hash = db_.FindByCode(4, "#");
  ASSERT_NE(hash, kNoComponent);
  EXPECT_EQ(db_.component(hash).text, "New components");
  EXPECT_EQ(db_.component(db_.FindByCode(4, "#00001")).text, "Alpha");
  EXPECT_EQ(db_.component(db_.FindByCode(4, "#00003")).text, "Beta");
  EXPECT_EQ(db_.component(db_.FindByCode(4, "#00004")).text, "Gamma");
  EXPECT_EQ(Parent(db_.FindByCode(4, "#00004")), hash);
  // Found by text now, ignoring case.
  EXPECT_EQ(db_.ResolveIdentifier(4, " beta ", IdentifierKind::kText), db_.FindByCode(4, "#00003"));
  EXPECT_EQ(sink_.alerts().size(), 3u);
  EXPECT_EQ(sink_.Texts()[0], "Cannot find text \"Alpha\" in dimension Dim 5.");

  // By host code and by JOV-Code.
  const ComponentRef by_host = db_.ResolveIdentifier(5, "K-77", IdentifierKind::kHost);
  EXPECT_EQ(Code(by_host), "#00001");
  EXPECT_EQ(db_.component(by_host).host, "K-77");
  EXPECT_EQ(db_.ResolveIdentifier(5, "K-77", IdentifierKind::kHost), by_host);
  const ComponentRef by_code = db_.ResolveIdentifier(6, "3010", IdentifierKind::kCode);
  EXPECT_EQ(Code(by_code), "3010");
  EXPECT_EQ(db_.ResolveIdentifier(6, " 3010 ", IdentifierKind::kCode), by_code);
  EXPECT_EQ(sink_.Texts().back(), "Cannot find JOV-code \"3010\" in dimension Dim 7.");

  // Nothing can be added for a blank code, nor for one that would read back as a section
  // header in the saved text: the answer is the dimension's root, never a component of another
  // dimension.
  EXPECT_EQ(db_.ResolveIdentifier(7, "  ", IdentifierKind::kCode), 7u);
  EXPECT_EQ(db_.ResolveIdentifier(7, "##Subset", IdentifierKind::kCode), 7u);
  EXPECT_EQ(db_.AddComponent(7, " ##1", "", ""), kNoComponent);
  EXPECT_NE(db_.AddComponent(7, "#1#", "", ""), kNoComponent);
}

TEST_F(DatabaseTest, NamesComeFromUserTextsOrDefaults) {
  EXPECT_EQ(db_.GetName(1), "Dim 1");
  EXPECT_EQ(db_.GetName(16), "Dim 16");
  EXPECT_EQ(db_.GetName(17), "Dim 1s");
  EXPECT_EQ(db_.GetName(33), "Card Title");
  EXPECT_EQ(db_.GetName(34), "Line Text");
  EXPECT_EQ(db_.GetName(35), "Value");
  EXPECT_EQ(db_.GetName(36), "Value 2");
  EXPECT_EQ(db_.GetName(58), "Value 24");
  EXPECT_EQ(db_.GetName(59), "");
  EXPECT_EQ(db_.GetName(0), "");
  EXPECT_EQ(db_.GetName(99), "");
  EXPECT_EQ(db_.GetName(msg::kCorrupted), "File \"@0\" is corrupted.");

  db_.SetValueFieldName(0, "Amount");
  db_.dimension(0).SetSingularName("Account");
  db_.dimension(0).SetPluralName("Accounts");
  db_.SetCardTitleLabel("Voucher text");
  EXPECT_EQ(db_.GetName(35), "Amount");
  EXPECT_EQ(db_.GetName(1), "Account");
  EXPECT_EQ(db_.GetName(17), "Accounts");
  EXPECT_EQ(db_.GetName(33), "Voucher text");
  EXPECT_TRUE(db_.IsDimensionUsed(0));

  // Storing the default text clears the user text, and only a real change is announced.
  listener_.changes.clear();
  db_.SetValueFieldName(0, "Value");
  db_.SetValueFieldName(0, "Value");
  db_.dimension(0).SetSingularName("Dim 1");
  db_.dimension(0).SetPluralName("Dim 1s");
  EXPECT_TRUE(db_.value_field_name(0).empty());
  EXPECT_TRUE(db_.dimension(0).singular_name().empty());
  EXPECT_EQ(listener_.changes, (std::vector<Change>{{ChangeCode::kValueFieldName, 0, 0},
                                                    {ChangeCode::kSingularName, 0, 0},
                                                    {ChangeCode::kPluralName, 0, 0},
                                                    {ChangeCode::kDimensionUsed, 0, 0}}));
}

TEST_F(DatabaseTest, WidthsStoreZeroForDefaultsAndReadBadValuesAsDefaults) {
  Dimension& dim = db_.dimension(2);
  dim.SetWidth(ComponentField::kCode, 80);
  dim.SetWidth(ComponentField::kText, 160);
  EXPECT_EQ(dim.stored_width(ComponentField::kCode), 0);
  EXPECT_EQ(dim.stored_width(ComponentField::kText), 0);
  EXPECT_FALSE(db_.IsDimensionUsed(2));
  dim.SetWidth(ComponentField::kHost, 120);
  EXPECT_EQ(dim.width(ComponentField::kHost), 120);
  EXPECT_TRUE(db_.IsDimensionUsed(2));
  dim.SetWidth(ComponentField::kHost, 10);
  EXPECT_EQ(dim.stored_width(ComponentField::kHost), 0);
  EXPECT_EQ(dim.width(ComponentField::kHost), 80);
  EXPECT_FALSE(db_.IsDimensionUsed(2));
}

TEST_F(DatabaseTest, SettersAnnounceOnlyRealChangesAndTheUsedState) {
  Dimension& dim = db_.dimension(9);
  dim.SetDisplay(DisplayFields::kCT);  // already the default
  dim.SetMustFill(true);
  dim.SetMustFill(true);
  EXPECT_TRUE(dim.SetOrdering('d'));
  EXPECT_FALSE(dim.SetOrdering('Q'));
  dim.SetDisplay(DisplayFields::kCHT);
  EXPECT_EQ(listener_.changes, (std::vector<Change>{{ChangeCode::kMustFill, 9, 0},
                                                    {ChangeCode::kDimensionUsed, 9, 1},
                                                    {ChangeCode::kOrdering, 9, 0},
                                                    {ChangeCode::kDisplayOption, 9, 0}}));
  EXPECT_TRUE(db_.modified());
  EXPECT_EQ(dim.ordering(), 'D');
}

TEST_F(DatabaseTest, ComponentChangesAreAnnouncedOncePerBatch) {
  db_.AddComponent(0, "1", "", "");
  db_.AddComponent(0, "2", "", "");
  db_.AddComponent(2, "9", "", "");
  EXPECT_EQ(listener_.changes, (std::vector<Change>{{ChangeCode::kDimensionUsed, 0, 1},
                                                    {ChangeCode::kLinesMoving, 0, 0},
                                                    {ChangeCode::kLinesMoved, 0, 0},
                                                    {ChangeCode::kSlotCount, 0, 0},
                                                    {ChangeCode::kDimensionUsed, 2, 1}}));
  listener_.changes.clear();
  db_.FlushChangeFlags();
  db_.FlushChangeFlags();
  EXPECT_EQ(listener_.changes, (std::vector<Change>{{ChangeCode::kComponents, 0, 0},
                                                    {ChangeCode::kComponents, 2, 0}}));
}

TEST_F(DatabaseTest, AncestorsAndDescendants) {
  for (const char* code : {"1", "11", "111", "112", "12", "2"}) db_.AddComponent(0, code, "", "");
  const ComponentRef c111 = db_.FindByCode(0, "111"), c112 = db_.FindByCode(0, "112"),
                     c12 = db_.FindByCode(0, "12"), c11 = db_.FindByCode(0, "11"),
                     c1 = db_.FindByCode(0, "1"), c2 = db_.FindByCode(0, "2");
  EXPECT_TRUE(db_.IsDescendant(c1, c111));
  EXPECT_FALSE(db_.IsDescendant(c12, c111));
  const std::vector<ComponentRef> siblings = {c111, c112};
  EXPECT_EQ(db_.CommonAncestor(0, siblings), c11);
  const std::vector<ComponentRef> cousins = {c111, c12};
  EXPECT_EQ(db_.CommonAncestor(0, cousins), c1);
  const std::vector<ComponentRef> apart = {c111, c2};
  EXPECT_EQ(db_.CommonAncestor(0, apart), 0u);
  EXPECT_EQ(db_.CommonAncestor(0, {}), 0u);
  const std::vector<ComponentRef> one = {c12};
  EXPECT_EQ(db_.CommonAncestor(0, one), c12);
}

TEST_F(DatabaseTest, DeletedSubtreesFreeTheirRecordsForReuse) {
  for (const char* code : {"1", "11", "111", "12", "2", "21"})
    db_.AddComponent(0, code, "t", "h" + std::string(code));
  const size_t pool_size = db_.components().size();
  const std::vector<ComponentRef> doomed = {db_.FindByCode(0, "11"), db_.FindByCode(0, "111"),
                                            db_.FindByCode(0, "2")};
  listener_.changes.clear();
  db_.DeleteComponents(0, doomed);
  EXPECT_EQ(Walk(0), (std::vector<std::string>{"1/1", "12/2"}));
  EXPECT_EQ(db_.FindByCode(0, "111"), kNoComponent);
  EXPECT_EQ(db_.FindByHost(0, "h21"), kNoComponent);
  EXPECT_EQ(listener_.changes, (std::vector<Change>{{ChangeCode::kComponents, 0, 0}}));

  // Re-adding takes records from the free list before the pool grows.
  for (const char* code : {"2", "21", "111", "11"})
    db_.AddComponent(0, code, "", "h" + std::string(code));
  EXPECT_EQ(db_.components().size(), pool_size);
  EXPECT_EQ(Walk(0), (std::vector<std::string>{"1/1", "12/2", "111/2", "11/2", "2/1", "21/2"}));
  EXPECT_EQ(db_.FindByHost(0, "H21"), db_.FindByCode(0, "21"));

  const std::vector<ComponentRef> all = {db_.FindByCode(0, "1"), db_.FindByCode(0, "2")};
  db_.DeleteComponents(0, all);
  EXPECT_FALSE(db_.HasComponents(0));
}

TEST_F(DatabaseTest, IndexKeepsEveryComponentFindableWhileGrowing) {
  // Thousands of components in several dimensions, half with host codes, take the index
  // through several rebuilds; every one must stay findable, by code and host, in any case.
  std::mt19937 random(7);
  std::vector<std::tuple<int, std::string, std::string>> added;
  for (int i = 0; i < 12000; ++i) {
    const int dimension = i % 3;
    std::string code = std::to_string(1000 + random() % 900000);
    if (i % 7 == 0) code += "\xE4x";  // a Latin-1 letter folded by the case table
    const std::string host = i % 2 ? "K" + std::to_string(i) : "";
    if (db_.FindByCode(dimension, code) != kNoComponent) continue;
    ASSERT_NE(db_.AddComponent(dimension, code, "", host), kNoComponent);
    ApplyCaseOption(CaseOption::kUpper, code);
    added.emplace_back(dimension, code, host);
  }
  EXPECT_GT(db_.index().size(), 9833u);
  for (const auto& [dimension, code, host] : added) {
    const ComponentRef ref = db_.FindByCode(dimension, code);
    ASSERT_NE(ref, kNoComponent) << code;
    std::string lower = code;
    ApplyCaseOption(CaseOption::kLower, lower);
    EXPECT_EQ(db_.FindByCode(dimension, lower), ref);
    EXPECT_EQ(db_.FindByCode((dimension + 1) % 3, code) == ref, false);
    if (!host.empty()) {
      EXPECT_EQ(db_.FindByHost(dimension, host), ref);
    }
  }
  EXPECT_LE(db_.index().count(), HashThreshold(db_.index().size()));
}

// Codes of the first dimension that end in a NUL byte probe with the smallest step; several
// of them with one hash must each find a slot of their own.
TEST_F(DatabaseTest, CodesEndingInANulByteAreIndexedLikeOthers) {
  std::vector<ComponentRef> added;
  for (const std::string_view code : {std::string_view("A\0", 2), std::string_view("A\0\0", 3),
                                      std::string_view("A\0\0\0", 4), std::string_view("A", 1)}) {
    added.push_back(db_.AddComponent(0, code, "", ""));
    ASSERT_NE(added.back(), kNoComponent);
  }
  EXPECT_EQ(db_.FindByCode(0, std::string_view("A\0\0", 3)), added[1]);
  EXPECT_EQ(db_.FindByCode(0, std::string_view("A\0\0\0", 4)), added[2]);
  EXPECT_EQ(db_.FindByCode(0, "A"), added[3]);
}

// An object an upper layer keeps with the database.
struct Notebook : DatabaseAttachment {
  explicit Notebook(Database& owner) : database(owner) {}
  Database& database;
  std::vector<std::string> pages;
};

TEST_F(DatabaseTest, AttachmentsAreMadeOnceAndKeptWithTheDatabase) {
  Notebook& notebook = db_.Attached<Notebook>();
  notebook.pages.push_back("first");
  EXPECT_EQ(&db_.Attached<Notebook>(), &notebook);
  EXPECT_EQ(&notebook.database, &db_);
  EXPECT_EQ(db_.Attached<Notebook>().pages.size(), 1u);
}

TEST_F(DatabaseTest, OpenDatabasesAreListedNewestFirstWithUntitledNumbers) {
  OpenDatabases open;
  Database& first = open.Create();
  Database& second = open.Create();
  EXPECT_EQ(first.Title(), "Noname 1.jov");
  EXPECT_EQ(second.Title(), "Noname 2.jov");
  EXPECT_EQ(open.all().front().get(), &second);
  second.SetFileName("/data/Demo.jov");
  EXPECT_EQ(second.Title(), "/data/Demo.jov");
  EXPECT_EQ(open.FindByFileName("/data/Demo.jov"), &second);
  open.Close(second);
  EXPECT_EQ(open.FindByFileName("/data/Demo.jov"), nullptr);
  EXPECT_EQ(open.Create().Title(), "Noname 3.jov");
  EXPECT_EQ(open.all().size(), 2u);
}

TEST_F(DatabaseTest, LinesFollowTheSlotCountAndKeepTheirComponents) {
  const ComponentRef a = db_.AddComponent(0, "A", "", "");
  const ComponentRef b = db_.AddComponent(1, "B", "", "");
  CardStore& cards = db_.cards();
  const CardRef card = cards.CreateCard({PackDay(2024, 3, 1), 1});
  const GroupRef group = cards.FindOrAddGroup(card, a);
  const LineRef line = cards.CreateLine(group);
  const ComponentRef slots[] = {b};
  cards.SetComponents(line, slots);
  EXPECT_EQ(db_.line_layout().slots, 1);
  EXPECT_EQ(db_.line_layout().RecordSize(), 22u);

  listener_.changes.clear();
  const ComponentRef g = db_.AddComponent(6, "G", "", "");
  EXPECT_EQ(db_.line_layout().slots, 6);
  EXPECT_EQ(listener_.changes, (std::vector<Change>{{ChangeCode::kLinesMoving, 0, 0},
                                                    {ChangeCode::kLinesMoved, 0, 0},
                                                    {ChangeCode::kSlotCount, 0, 0},
                                                    {ChangeCode::kDimensionUsed, 6, 1}}));
  EXPECT_EQ(db_.LineComponent(group, line, 0), a);
  EXPECT_EQ(db_.LineComponent(group, line, 1), b);
  for (int d = 2; d <= 6; ++d) EXPECT_EQ(db_.LineComponent(group, line, d), ComponentRef(d));
  EXPECT_EQ(db_.LineComponent(group, line, 9), 9u);  // beyond the slots: no component
  const ComponentRef more[] = {b, 2, 3, 4, 5, g};
  cards.SetComponents(line, more);
  EXPECT_EQ(db_.LineComponent(group, line, 6), g);
}

TEST_F(DatabaseTest, ValueFieldsShrinkAndGrowAcrossEveryLine) {
  CardStore& cards = db_.cards();
  ASSERT_TRUE(db_.SetValueFieldCount(3));
  std::vector<LineRef> lines;
  for (int i = 0; i < 100; ++i) {
    const CardRef card = cards.CreateCard({PackDay(2024, 1, 1 + i % 28), 0});
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, 0));
    const double values[] = {i + 0.5, -i - 0.25, 1e9 + i};
    cards.SetValues(line, values);
    lines.push_back(line);
  }
  listener_.changes.clear();
  ASSERT_TRUE(db_.SetValueFieldCount(1));
  EXPECT_EQ(listener_.changes.back(), (Change{ChangeCode::kValueFieldCount, -2, 0}));
  ASSERT_TRUE(db_.SetValueFieldCount(3));
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(cards.GetValue(lines[i], 0), i + 0.5);
    EXPECT_EQ(cards.GetValue(lines[i], 1), 0.0);
    EXPECT_EQ(cards.GetValue(lines[i], 2), 0.0);
  }
  EXPECT_FALSE(db_.SetValueFieldCount(0));
  EXPECT_FALSE(db_.SetValueFieldCount(25));
  EXPECT_EQ(db_.value_field_count(), 3);
}

TEST_F(DatabaseTest, SlotsWidenToThreeBytesWithLinesPresent) {
  CardStore& cards = db_.cards();
  const ComponentRef first = db_.AddComponent(1, "X0", "", "");
  const CardRef card = cards.CreateCard({PackDay(2024, 1, 1), 1});
  const GroupRef group = cards.FindOrAddGroup(card, 0);
  const LineRef early = cards.CreateLine(group);
  const ComponentRef early_slot[] = {first};
  cards.SetComponents(early, early_slot);
  const double value[] = {42.5};
  cards.SetValues(early, value);

  ComponentRef last = first;
  for (int i = 1; db_.components().size() < 65600; ++i) {
    last = db_.AddComponent(1, "X" + std::to_string(i), "", "");
  }
  EXPECT_EQ(db_.line_layout().slot_width, 3);
  ASSERT_GT(last, 65535u);
  const LineRef late = cards.CreateLine(group);
  const ComponentRef late_slot[] = {last};
  cards.SetComponents(late, late_slot);
  EXPECT_EQ(db_.LineComponent(group, early, 1), first);
  EXPECT_EQ(cards.GetValue(early, 0), 42.5);
  EXPECT_EQ(db_.LineComponent(group, late, 1), last);
  EXPECT_EQ(cards.lines().slot(cards.CreateLine(group), 1), 1u);  // a new line holds the root
}

}  // namespace
}  // namespace jov

// A registry, and a holder that leaves it in its destructor. The order in which a map of
// attachments by type takes them down follows their type names, so the test takes two pairs,
// named so that the registry sorts first in one and last in the other.
namespace jov::attachment_order_test {

template <int kPair>
struct Registry : DatabaseAttachment {
  explicit Registry(Database&) {}
  ~Registry() override { gone = true; }
  bool OutlivesOtherAttachments() const override { return true; }
  static inline bool gone = false;
};

template <int kPair>
struct Holder : DatabaseAttachment {
  ~Holder() override { left_a_live_registry = !Registry<kPair>::gone; }
  static inline bool left_a_live_registry = false;
};

struct AaRegistry : Registry<1> {
  using Registry::Registry;
};
struct ZzHolder : Holder<1> {
  explicit ZzHolder(Database& database) { database.Attached<AaRegistry>(); }
};
struct ZzRegistry : Registry<2> {
  using Registry::Registry;
};
struct AaHolder : Holder<2> {
  explicit AaHolder(Database& database) { database.Attached<ZzRegistry>(); }
};

TEST(DatabaseAttachmentTest, RegistriesOutliveTheAttachmentsThatLeaveThem) {
  {
    Database database;
    database.Attached<ZzHolder>();
  }
  {
    Database database;
    database.Attached<AaHolder>();
  }
  EXPECT_TRUE(Holder<1>::left_a_live_registry);
  EXPECT_TRUE(Holder<2>::left_a_live_registry);
}

}  // namespace jov::attachment_order_test

// The in-memory multidimensional database: file identity, labels and value-field names, the 16
// dimensions with their component trees and the component index, and the change notifications
// that keep windows and analyses in step. Cards, groups and lines are added by the card store.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "model/card_store.h"
#include "model/change_code.h"
#include "model/component_index.h"
#include "model/component_pool.h"
#include "model/dimension.h"

namespace jov {

// Ids of GetName: 1-16 singular dimension names, 17-32 plural ones, 33 card-title label,
// 34 line-text label, 35-58 value-field names, 100 and up message ids.
namespace name_id {
constexpr int kFirstSingular = 1;
constexpr int kFirstPlural = 17;
constexpr int kCardTitle = 33;
constexpr int kLineText = 34;
constexpr int kFirstValueField = 35;
constexpr int kFirstMessage = 100;
}  // namespace name_id

// Objects that upper layers keep with a database (time scales, import setups, subsets, macros,
// templates): the database owns them and frees them with itself, without knowing their kinds.
// A kind derives from DatabaseAttachment and is constructed from the Database.
class DatabaseAttachment {
 public:
  virtual ~DatabaseAttachment() = default;
  // A registry that objects held by other attachments leave in their destructors: the database
  // takes it down after every other attachment.
  virtual bool OutlivesOtherAttachments() const { return false; }
};

// One component as an edit copy writes it into its dimension (Database::WriteComponents).
struct ComponentWrite {
  ComponentRef ref = kNoComponent;  // kNoComponent: a new component
  int parent = -1;                  // the parent's entry, earlier in the list; -1: the root
  std::string code;                 // stored forms, as StoredForm gives them
  std::string text;
  std::string host;
};

// Which identifier cards use to refer to components of a dimension.
enum class IdentifierKind : int { kCode = 0, kHost = 1, kText = 2 };

class Database {
 public:
  static constexpr int kMaxValueFields = 24;
  static constexpr int kDefaultCardDigits = 3;
  static constexpr int kDefaultValueDecimals = 2;
  // Card-title and line-text labels and value-field names keep at most this many characters.
  static constexpr size_t kMaxLabelLength = 64;

  explicit Database(int untitled_number = 1);
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  // --- File identity
  const std::string& file_name() const { return file_name_; }
  void SetFileName(std::string_view name);  // ChangeCode::kFileName
  int untitled_number() const { return untitled_number_; }
  // The file name, or "Noname <n>.jov" while the database has none.
  std::string Title() const;
  bool modified() const { return modified_; }
  void MarkModified() { modified_ = true; }
  void ClearModified() { modified_ = false; }
  // The 32-bit value of the file header and the "##Creator" section, kept unchanged.
  uint32_t creator_value() const { return creator_value_; }
  void set_creator_value(uint32_t value) { creator_value_ = value; }

  // --- Base options
  int card_digits() const { return card_digits_; }
  void SetCardDigits(int digits);  // 0..6; ChangeCode::kCardDigits
  int value_decimals() const { return value_decimals_; }
  void SetValueDecimals(int decimals);  // ChangeCode::kValueDecimals

  // --- Labels: every label is fetched by GetName; empty when the id names nothing.
  std::string GetName(int id) const;
  void SetCardTitleLabel(std::string_view label);            // ChangeCode::kCardTitleLabel
  void SetLineTextLabel(std::string_view label);             // ChangeCode::kLineTextLabel
  void SetValueFieldName(int field, std::string_view name);  // field 0..23; kValueFieldName
  std::string DefaultValueFieldName(int field) const;
  const std::string& card_title_label() const { return card_title_label_; }  // empty: default
  const std::string& line_text_label() const { return line_text_label_; }
  const std::string& value_field_name(int field) const { return value_field_names_[field]; }

  // --- Dimensions and components
  Dimension& dimension(int index) { return *dimensions_[index]; }
  const Dimension& dimension(int index) const { return *dimensions_[index]; }
  const Component& component(ComponentRef ref) const { return pool_[ref]; }
  const ComponentPool& components() const { return pool_; }
  int DimensionOf(ComponentRef ref) const { return pool_.DimensionOf(ref); }
  bool HasComponents(int dimension) const;
  // The dimension whose singular or plural name (its own or the default) is `name`, ignoring
  // case; -1 when none is.
  int FindDimension(std::string_view name) const;
  // Has components or any setting other than the defaults; only used dimensions are saved.
  bool IsDimensionUsed(int dimension) const;

  // Adds a component under the longest-prefix rule, or returns the existing one with that code.
  // Reports msg::kHostTaken when the host code is taken (the component is added without it).
  // Returns kNoComponent when the code cannot be stored (IsStorableCode) or memory ran out.
  ComponentRef AddComponent(int dimension, std::string_view code, std::string_view text,
                            std::string_view host);
  // A code, text or host code as AddComponent stores it: blanks and tabs trimmed, the
  // dimension's case option for the field applied.
  std::string StoredForm(int dimension, ComponentField field, std::string_view value) const;
  // Whether a code in its stored form can be a component's: not empty, and not beginning with
  // "##", which at the start of a line in the saved section text ends the dimension's section.
  static bool IsStorableCode(std::string_view stored_code);
  ComponentRef FindByCode(int dimension, std::string_view code) const;
  ComponentRef FindByHost(int dimension, std::string_view host) const;
  ComponentRef FindByText(int dimension, std::string_view text) const;
  // Finds the component a card refers to; a missing one is reported (msg::kCodeNotFound,
  // kHostNotFound, kTextNotFound) and created, under "#" with a generated code for host codes and
  // texts. Returns the dimension's root when nothing could be added.
  ComponentRef ResolveIdentifier(int dimension, std::string_view text, IdentifierKind kind);
  // Adds a component with the dimension's next free generated code, "#" and five digits, below
  // the component "#" (added with the text of 3300 the first time a dimension needs it), with
  // `text` as its host code (kHost) or its text (kText). The counter lives as long as the
  // database. kNoComponent when nothing could be added.
  ComponentRef GeneratedComponent(int dimension, const std::string& text, IdentifierKind kind);

  ComponentRef NextInPreorder(ComponentRef ref, int* depth_change = nullptr) const {
    return pool_.NextInPreorder(ref, depth_change);
  }
  bool IsDescendant(ComponentRef ancestor, ComponentRef ref) const {
    return pool_.IsDescendant(ancestor, ref);
  }
  // The deepest component that is an ancestor of, or equal to, every member; the root when
  // there are none or no deeper one.
  ComponentRef CommonAncestor(int dimension, std::span<const ComponentRef> members) const;
  // Removes each member with its whole subtree, rebuilds the index and notifies.
  void DeleteComponents(int dimension, std::span<const ComponentRef> members);
  // Makes the dimension's tree `tree`, given in pre-order: new components are made first (false,
  // with nothing changed, when memory runs out), then every entry is set to its values and
  // appended to its parent in the list's order, then the `removed` components are deleted with
  // their subtrees. Existing components keep their numbers, so lines keep referring to them.
  // One kComponents notifies the change. Entries must be live components of the dimension
  // or new, `removed` must not be in use, and together they must cover the dimension.
  bool WriteComponents(int dimension, std::span<ComponentWrite> tree,
                       std::span<const ComponentRef> removed);
  // Total bytes of all component codes, texts and host codes (cached).
  size_t ComponentTextBytes() const;
  // Sizes the index for `count` entries (before a file fills the database).
  void PresizeIndex(uint64_t count) { index_.RebuildFor(count); }
  const ComponentIndex& index() const { return index_; }

  // --- Reference point (R): the date analyses measure from. kReferencePoint.
  Date reference_point() const { return reference_point_; }
  void SetReferencePoint(Date date);

  // --- Cards and lines
  CardStore& cards() { return cards_; }
  const CardStore& cards() const { return cards_; }
  const LineLayout& line_layout() const { return cards_.lines().layout(); }
  int value_field_count() const { return line_layout().values; }
  // Sets V (1..24) for every line: new fields are 0, dropped fields are lost (callers ask the
  // user first, msg::kReduceValueFields). Change codes kLinesMoving, kLinesMoved and
  // kValueFieldCount (new minus old count). False, with
  // nothing changed, when memory runs out.
  bool SetValueFieldCount(int count);
  // The components of a line in dimension order: the group's component for dimension 0, then
  // the slots; a dimension without a slot yields its root.
  ComponentRef LineComponent(GroupRef group, LineRef line, int dimension) const;

  // The memory the database's records, texts and lists occupy, by its own count.
  size_t MemoryBytes() const;

  // --- Attachments: the database's object of kind T, made on first use.
  template <typename T>
  T& Attached() {
    return static_cast<T&>(AttachmentSlot<T>());
  }
  // For readers: an object not made yet is made here in its first state, so that reading a
  // database never meets a missing one.
  template <typename T>
  const T& Attached() const {
    return static_cast<const T&>(AttachmentSlot<T>());
  }

  // --- Notifications
  void AddListener(DatabaseListener* listener);
  void RemoveListener(DatabaseListener* listener);
  void Notify(ChangeCode code, int argument = 0, int argument2 = 0);
  // The memory that the windows and analyses bound to the database hold for themselves.
  size_t ListenerMemoryBytes() const;
  // Turns the flags collected during a batch (an import, a file section, a command) into change
  // codes: kComponents for each dimension whose components changed, kCards when cards were added
  // or removed.
  void FlushChangeFlags();

 private:
  friend class Dimension;

  // Called after anything that may change whether a dimension is used (ChangeCode::kDimensionUsed).
  void UpdateUsedState(int dimension);
  void RewriteField(int dimension, ComponentField field, CaseOption option);
  void ComponentsChanged(int dimension);
  ComponentRef FindParentByPrefix(int dimension, const std::string& code) const;
  void RemoveSubtree(ComponentRef ref);
  // The line layout follows the trees: the number of slots per line is set from the highest
  // dimension that has components, and the slot width from the size of the component pool.
  void RecomputeSlotCount();
  bool WidenSlotsForPool();
  // Rewrites every line for `layout`, announced by kLinesMoving and kLinesMoved.
  bool ChangeLineLayout(const LineLayout& layout);

  std::string file_name_;
  int untitled_number_;
  bool modified_ = false;
  uint32_t creator_value_ = 0;
  int card_digits_ = kDefaultCardDigits;
  int value_decimals_ = kDefaultValueDecimals;
  std::string card_title_label_;
  std::string line_text_label_;
  std::array<std::string, kMaxValueFields> value_field_names_;

  ComponentPool pool_;
  ComponentIndex index_;
  std::array<std::unique_ptr<Dimension>, kDimensionCount> dimensions_;
  std::array<bool, kDimensionCount> used_{};
  std::array<bool, kDimensionCount> components_changed_{};
  std::array<int, kDimensionCount> generated_code_counters_{};
  mutable std::optional<size_t> component_text_bytes_;
  Date reference_point_;
  CardStore cards_;

  template <typename T>
  DatabaseAttachment& AttachmentSlot() const {
    std::unique_ptr<DatabaseAttachment>& slot = attachments_[std::type_index(typeid(T))];
    // A kind keeps the database it belongs to; a database is never defined const, so the
    // reference may serve its non-const uses later.
    if (!slot) slot = std::make_unique<T>(const_cast<Database&>(*this));
    return *slot;
  }

  std::vector<DatabaseListener*> listeners_;
  // Made on first use, also by const readers.
  mutable std::map<std::type_index, std::unique_ptr<DatabaseAttachment>> attachments_;
};

}  // namespace jov

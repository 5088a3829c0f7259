// What several commands act on, named by one token and resolved against a mask of the kinds
// they accept, in this order: "base" (any case) for the database's base window, a subset of
// that name, an analysis template of that name. A template is a folder when other templates are
// its children (named after it, a colon and their own name), a plain template otherwise; one of
// the kind the mask does not accept counts as not found.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jov {

class CommandRunner;
class Database;
class Subset;
struct AnalysisTemplate;

class NamedTarget {
 public:
  enum Kind : unsigned { kBase = 1, kSubset = 2, kTemplate = 4, kTemplateFolder = 8 };

  // The target `name` names among the kinds of `mask`; raises 3818 with the name (and yields
  // nothing) for an empty name or one that names none of them.
  static std::optional<NamedTarget> Resolve(CommandRunner& runner, std::string_view name,
                                            unsigned mask);

  Kind kind() const { return kind_; }
  Subset* subset() const { return subset_; }
  // The template's name as stored.
  const std::string& template_name() const { return template_name_; }

  // Deletes the lines the target shows (every line for the base window), after the user's
  // confirmation and under the user's stamp. False when nothing was deleted.
  bool DeleteData(CommandRunner& runner) const;

 private:
  Kind kind_ = kBase;
  Subset* subset_ = nullptr;
  std::string template_name_;
};

// The names of the templates that are direct children of the template `name`, in their order.
std::vector<std::string> ChildTemplates(Database& database, std::string_view name);

}  // namespace jov

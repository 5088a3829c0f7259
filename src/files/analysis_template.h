// Analysis templates: stored analysis windows, each a frame (template_frame.h) and the settings
// of its kind, kept by the database with one set of default settings per kind. Each analysis
// kind registers how its own lines are read and written (TemplateKinds); a kind that has not
// registered keeps its lines as text, so that reading and saving a database loses nothing.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/template_frame.h"
#include "model/database.h"

namespace jov {

class SectionOutput;

// The settings of one analysis kind in a template: its own lines.
class TemplateBody {
 public:
  virtual ~TemplateBody() = default;
  // Called before the first line is offered, with the format date (YYYYMMDD) of the file being
  // read, for kinds whose lines meant other things in older files.
  virtual void BeginReading(uint32_t /*format_date*/) {}
  // Offered every line of the template before the frame; false leaves the line to the frame.
  virtual bool ReadLine(std::string_view line) = 0;
  // Writes the kind's lines, after the frame's.
  virtual void WriteLines(SectionOutput& output) const = 0;
};

// The body of a kind without a reader of its own: every line that is not a frame line, kept
// and written back in its order.
class KeptTemplateBody : public TemplateBody {
 public:
  bool ReadLine(std::string_view line) override;
  void WriteLines(SectionOutput& output) const override;
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// Makes the empty body of a kind for a template of `database`.
using TemplateBodyFactory = std::function<std::unique_ptr<TemplateBody>(Database& database)>;

// The registered body kinds, by kind.
class TemplateKinds {
 public:
  void Register(AnalysisKind kind, TemplateBodyFactory factory);
  // The kind's body, or a kept one when the kind has not registered.
  std::unique_ptr<TemplateBody> NewBody(AnalysisKind kind, Database& database) const;

 private:
  std::map<AnalysisKind, TemplateBodyFactory> factories_;
};

struct AnalysisTemplate {
  TemplateFrame frame;  // with the kind and the name
  std::unique_ptr<TemplateBody> body;
};

// The templates and kind defaults of a database. Names compare ignoring case; every change
// marks the database modified.
class AnalysisTemplates : public DatabaseAttachment {
 public:
  explicit AnalysisTemplates(Database& database) : database_(database) {}
  static AnalysisTemplates& Of(Database& database) {
    return database.Attached<AnalysisTemplates>();
  }
  static const AnalysisTemplates& Of(const Database& database) {
    return database.Attached<AnalysisTemplates>();
  }

  const std::vector<AnalysisTemplate>& templates() const { return templates_; }
  AnalysisTemplate* Find(std::string_view name);
  // Adds the template, or replaces the one of its name in its place.
  AnalysisTemplate& Store(AnalysisTemplate stored);
  // False when there is no template of that name.
  bool Remove(std::string_view name);
  // The number of templates that hold an analysis (every kind but card windows).
  int64_t AnalysisCount() const;

  // The default settings of a kind; nullptr while it has the standard ones.
  const AnalysisTemplate* Defaults(AnalysisKind kind) const;
  // Makes `defaults` the defaults of its kind.
  void SetDefaults(AnalysisTemplate defaults);
  // Returns the kind to the standard settings.
  void ResetDefaults(AnalysisKind kind);
  // The kinds' defaults that are set, in kind order.
  std::vector<const AnalysisTemplate*> AllDefaults() const;

 private:
  Database& database_;
  std::vector<AnalysisTemplate> templates_;
  std::map<AnalysisKind, AnalysisTemplate> defaults_;
};

// Gives a new analysis of `kind` the kind's stored defaults, when the database has them: their
// frame (without a name) and the settings of their body, read as `Body`.
template <typename Body, typename Analysis>
void ApplyKindDefaults(Database& database, AnalysisKind kind, Analysis& analysis) {
  const AnalysisTemplate* defaults = AnalysisTemplates::Of(database).Defaults(kind);
  const auto* body =
      defaults != nullptr ? dynamic_cast<const Body*>(defaults->body.get()) : nullptr;
  if (body == nullptr) return;
  analysis.Apply(defaults->frame, *body);
  analysis.frame().name.clear();
}

// The kind's name as the Analysis menu shows it ("Components"); the letter for kinds without one.
std::string KindName(AnalysisKind kind);

// "Set Defaults" of an analysis window: asks whether the window's settings become the defaults of
// its kind, with the answers "Change" (they do), "Standard" (the kind returns to the standard
// settings) and "Cancel".
enum class DefaultsAnswer { kChanged, kStandard, kCancelled };
DefaultsAnswer AskToSetDefaults(AnalysisTemplates& templates, AnalysisTemplate window);

}  // namespace jov

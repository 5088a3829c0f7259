#include "files/analysis_template.h"

#include <algorithm>

#include "files/section_output.h"
#include "model/case_tables.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {

bool KeptTemplateBody::ReadLine(std::string_view line) {
  if (IsFrameLine(line)) return false;
  lines_.emplace_back(line);
  return true;
}

void KeptTemplateBody::WriteLines(SectionOutput& output) const {
  for (const std::string& line : lines_) output.sink().WriteLine(line);
}

void TemplateKinds::Register(AnalysisKind kind, TemplateBodyFactory factory) {
  factories_[kind] = std::move(factory);
}

std::unique_ptr<TemplateBody> TemplateKinds::NewBody(AnalysisKind kind, Database& database) const {
  const auto found = factories_.find(kind);
  if (found == factories_.end()) return std::make_unique<KeptTemplateBody>();
  return found->second(database);
}

AnalysisTemplate* AnalysisTemplates::Find(std::string_view name) {
  for (AnalysisTemplate& stored : templates_) {
    if (EqualsIgnoringCase(stored.frame.name, name)) return &stored;
  }
  return nullptr;
}

AnalysisTemplate& AnalysisTemplates::Store(AnalysisTemplate stored) {
  database_.MarkModified();
  if (AnalysisTemplate* same = Find(stored.frame.name)) return *same = std::move(stored);
  return templates_.emplace_back(std::move(stored));
}

bool AnalysisTemplates::Remove(std::string_view name) {
  const bool removed = std::erase_if(templates_, [&](const AnalysisTemplate& stored) {
                         return EqualsIgnoringCase(stored.frame.name, name);
                       }) > 0;
  if (removed) database_.MarkModified();
  return removed;
}

int64_t AnalysisTemplates::AnalysisCount() const {
  return std::count_if(templates_.begin(), templates_.end(), [](const AnalysisTemplate& stored) {
    return stored.frame.kind != AnalysisKind::kCardWindow;
  });
}

const AnalysisTemplate* AnalysisTemplates::Defaults(AnalysisKind kind) const {
  const auto found = defaults_.find(kind);
  return found == defaults_.end() ? nullptr : &found->second;
}

void AnalysisTemplates::SetDefaults(AnalysisTemplate defaults) {
  const AnalysisKind kind = defaults.frame.kind;
  defaults_.insert_or_assign(kind, std::move(defaults));
  database_.MarkModified();
}

void AnalysisTemplates::ResetDefaults(AnalysisKind kind) {
  if (defaults_.erase(kind) > 0) database_.MarkModified();
}

std::vector<const AnalysisTemplate*> AnalysisTemplates::AllDefaults() const {
  std::vector<const AnalysisTemplate*> all;
  for (const auto& [kind, defaults] : defaults_) all.push_back(&defaults);
  return all;
}

std::string KindName(AnalysisKind kind) {
  if (kind <= AnalysisKind::kComponentFunctions) {
    return MessageText(msg::kFirstAnalysisKindName + static_cast<int>(kind) - 1);
  }
  return std::string(1, KindLetter(kind));
}

namespace {

// The question of "Set Defaults" for a window of `kind`.
AlertRecord DefaultsQuestion(AnalysisKind kind) {
  if (kind == AnalysisKind::kCardWindow) return AlertRecord(msg::kChangeCardWindowDefaults);
  AlertRecord question(msg::kChangeAnalysisDefaults);
  question.Arg(KindName(kind));
  return question;
}

}  // namespace

DefaultsAnswer AskToSetDefaults(AnalysisTemplates& templates, AnalysisTemplate window) {
  const AnalysisKind kind = window.frame.kind;
  AlertRecord question = DefaultsQuestion(kind);
  question.Button(msg::kButtonChange).Button(msg::kButtonStandard).Button(msg::kButtonCancel);
  switch (ReportAlert(question)) {
    case 0:
      templates.SetDefaults(std::move(window));
      return DefaultsAnswer::kChanged;
    case 1:
      templates.ResetDefaults(kind);
      return DefaultsAnswer::kStandard;
    default:
      return DefaultsAnswer::kCancelled;
  }
}

}  // namespace jov

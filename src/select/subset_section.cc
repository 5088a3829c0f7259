#include "select/subset_section.h"

#include "files/fields.h"
#include "files/multiline_text.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "files/text_format.h"
#include "select/subset.h"
#include "select/subset_list.h"

namespace jov {
namespace {

constexpr std::string_view kCombinationTag = "F";
constexpr std::string_view kNotesTag = "N";
constexpr std::string_view kOpenDirectlyTag = "xo";
constexpr std::string_view kPositionTag = "xp";
constexpr std::string_view kSelectionTag = "VN";
constexpr std::string_view kDeleteSelectionTag = "V-";
constexpr std::string_view kSelectionBlock = "## Selection";

std::string_view FieldAfterTab(std::string_view line) {
  const size_t tab = line.find('\t');
  return tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
}

}  // namespace

std::vector<std::string> SubsetBodyLines(const Subset& subset,
                                         const std::array<int, kDimensionCount>* numbers) {
  std::vector<std::string> lines;
  for (const auto& selection : subset.selections()) {
    for (std::string& line : selection->BlockLines(numbers)) lines.push_back(std::move(line));
  }
  lines.push_back(std::string(kCombinationTag) + "\t" + subset.combination_text());
  if (subset.open_directly()) lines.emplace_back(kOpenDirectlyTag);
  const auto [x, y] = subset.position();
  if (x != 0 || y != 0) {
    lines.push_back(std::string(kPositionTag) + "\t" + std::to_string(x) + "\t" +
                    std::to_string(y));
  }
  return lines;
}

void SubsetBodyReader::ReadLine(std::string_view line) {
  const std::string_view tag = line.substr(0, line.find('\t'));
  const std::string_view text = FieldAfterTab(line);
  if (tag == kCombinationTag) {
    subset_.SetCombination(text);
  } else if (tag == kNotesTag) {
    std::string notes;
    DecodeMultiline(text, &notes);
    subset_.set_notes(notes);
  } else if (tag == kOpenDirectlyTag) {
    subset_.set_open_directly(true);
  } else if (tag == kPositionTag) {
    Fields fields;
    fields.Split(text);
    subset_.set_position(FieldInteger(fields[0]).value_or(0), FieldInteger(fields[1]).value_or(0));
  } else if (tag == kSelectionTag) {
    current_ = subset_.FindSelection(text);
    if (current_ == nullptr) current_ = &subset_.AddSelection(text);
  } else if (tag == kDeleteSelectionTag) {
    if (current_ != nullptr) subset_.DeleteSelection(*current_);
    current_ = nullptr;
  } else if (tag.starts_with("V")) {
    // Criteria before any "VN" line are not dropped: they make a selection of their own.
    if (current_ == nullptr) current_ = &subset_.AddSelection({});
    current_->ReadBlockLine(line);
  }
}

std::string SelectionBlockText(const NamedSelection& selection, std::string_view line_end) {
  std::vector<std::string> lines = selection.BlockLines();
  std::string text = std::string(kSelectionBlock) + "\t" + std::string(FieldAfterTab(lines[0]));
  text.append(line_end);
  for (size_t i = 1; i < lines.size(); ++i) text.append(lines[i]).append(line_end);
  return text;
}

NamedSelection* ReadSelectionBlock(Subset& subset, std::string_view text) {
  NamedSelection* selection = nullptr;
  bool first = true;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (first) {
      // "## Selection", or "##Selection" as a section line would write it.
      std::string_view head = line.substr(0, line.find('\t'));
      if (head != kSelectionBlock && head != "##Selection") return nullptr;
      const std::string_view name = TrimTrailingBlanks(FieldAfterTab(line));
      selection = subset.FindSelection(name);
      if (selection == nullptr) selection = &subset.AddSelection(name);
      first = false;
    } else if (line.starts_with("#")) {
      break;
    } else if (!line.empty()) {
      selection->ReadBlockLine(line);
    }
  }
  return selection;
}

void RegisterSubsetSection(SectionRegistry& registry) {
  const SectionHandler* kept = registry.Find(text_format::kSubset);
  SectionHandler handler = kept != nullptr ? *kept : SectionHandler{};
  handler.name = std::string(text_format::kSubset);
  handler.flag = SaveSection::kSubsets;
  handler.read = [](SectionInput& input, std::string_view argument) {
    Subset& subset = SubsetList::Of(input.database()).Create(TrimTrailingBlanks(argument));
    SubsetBodyReader reader(subset);
    while (input.NextBodyLine("#")) {
      // Notes may run over several lines.
      const bool notes = input.line().substr(0, input.line().find('\t')) == kNotesTag;
      reader.ReadLine(notes ? input.JoinContinued() : input.line());
    }
  };
  handler.write = [](SectionOutput& output) {
    std::array<int, kDimensionCount> numbers{};
    for (int d = 0; d < kDimensionCount; ++d) numbers[d] = output.NumberOf(d);
    const SubsetList* list = SubsetList::Find(output.database());
    if (list == nullptr) return;
    for (const auto& subset : list->subsets()) {
      output.SectionLine(text_format::kSubset, subset->name());
      for (const std::string& line : SubsetBodyLines(*subset, &numbers)) {
        output.sink().WriteLine(line);
      }
      if (!subset->notes().empty()) {
        output.sink().Add(kNotesTag).Tab();
        WriteMultilineField(output.sink(), subset->notes(), output.scratch());
      }
    }
  };
  registry.Register(std::move(handler));
}

}  // namespace jov

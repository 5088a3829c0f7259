// What a section writer works with: the database being saved, the line sink, the save setup in
// effect with the dimension numbering it asks for, and the save filter.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "files/line_sink.h"
#include "files/save_filter.h"
#include "files/save_setup.h"
#include "files/section_registry.h"

namespace jov {

struct WriteOptions {
  // CR LF for text files; the binary writer asks for CR.
  std::string_view line_end = text_format::kTextLineEnd;
  // Limits the cards saved; none saves every card.
  const SaveFilter* filter = nullptr;
  // Whether a kept "##Creator" section is written back (the binary writer decides).
  bool write_creator = true;
};

class SectionOutput {
 public:
  SectionOutput(const Database& database, LineSink& sink, const SaveSetup& setup,
                const SectionRegistry& registry, const WriteOptions& options);

  const Database& database() const { return database_; }
  LineSink& sink() { return sink_; }
  const SaveSetup& setup() const { return setup_; }
  const SectionRegistry& registry() const { return registry_; }
  const WriteOptions& options() const { return options_; }

  // "##" name, and a tab and the argument when there is one.
  void SectionLine(std::string_view name, std::string_view argument = {});

  // Dimension numbering: the number (1-based) dimension `dimension` is saved as, 0 when it is
  // not saved because another dimension took its number; and the dimension saved under
  // `number`, -1 for none.
  int NumberOf(int dimension) const { return number_of_[dimension]; }
  int DimensionAt(int number) const { return dimension_at_[number - 1]; }

  // One flag per component number: referred to by a saved group or line.
  const std::vector<bool>& UsedComponents();

  // Scratch text reused by writers.
  std::string& scratch() { return scratch_; }

 private:
  void NumberDimensions();

  const Database& database_;
  LineSink& sink_;
  const SaveSetup& setup_;
  const SectionRegistry& registry_;
  WriteOptions options_;
  std::array<int, kDimensionCount> number_of_{};
  std::array<int, kDimensionCount> dimension_at_{};
  std::vector<bool> used_components_;
  bool used_known_ = false;
  std::string scratch_;
};

}  // namespace jov

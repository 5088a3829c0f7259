#include "automation/section_kinds.h"

#include <gtest/gtest.h>

#include "analysis/time_scale_list.h"
#include "files/line_sink.h"
#include "files/line_source.h"
#include "files/save_setup.h"
#include "files/section_reader.h"
#include "files/section_writer.h"
#include "shell/process.h"

namespace jov {
namespace {

// Time scales travel through a saved database with the other sections; an entry without a name
// keeps the tab after its date.
TEST(SectionKindsTest, TimeScalesAreReadAndWrittenByTheirOwner) {
  ResetProcess();
  const SectionRegistry registry = FullSectionRegistry();
  const std::string stream =
      "##TimeScale\tBudget\r\n240101-1\tFirst half\r\n240701-1\t\r\n\r\n##End\r\n";
  Database db;
  MemoryByteSource bytes(stream);
  LineSource lines(bytes);
  ASSERT_TRUE(ReadSections(db, lines, registry).ok);
  const TimeScaleList& scales = TimeScaleList::Of(db);
  ASSERT_EQ(scales.size(), 1u);
  EXPECT_EQ(scales.at(0).name(), "Budget");
  EXPECT_EQ(scales.at(0).entries().size(), 2u);

  StringByteSink sink;
  WriteSections(db, sink, SaveSetup(), registry, WriteOptions{});
  EXPECT_NE(sink.text().find(stream.substr(0, stream.size() - 7)), std::string::npos)
      << sink.text();
}

}  // namespace
}  // namespace jov

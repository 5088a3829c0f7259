// The "##TimeScale" section of the text database format: one section per time scale, the
// scale's name on the section line, then one line per entry, "YYMMDD-n", a tab and the name,
// and an empty line. The section reader calls these two functions for the section's body.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/time_scale.h"

namespace jov {

class Database;

inline constexpr std::string_view kTimeScaleSection = "##TimeScale";

// Reads the body of a section whose section line named `name`: the scale of that name
// (ignoring case; an empty name means "Time Scale 1") gets the read entries, a new scale is
// made when there is none. `lines` are the body's lines without their line ends; reading also
// ends at a line that begins with "#". A line is an entry when its first field has a digit
// (a start as in Card IDs, missing parts reading as the first day and number 1), or when that
// field is empty and a name follows (an entry without a date); other lines are skipped. Returns
// false, leaving every scale as it was, when StopRequested ends the reading.
bool ReadTimeScaleSection(Database& database, std::string_view name,
                          std::span<const std::string_view> lines);

// The body lines of the scale's section, without line ends, the closing empty line included;
// the section line ("##TimeScale", a tab, the name) is the caller's. Every entry line has its
// tab: an entry without a date has an empty first field, one without a name ends with the tab
// (the caller writes the lines with their trailing tabs); a row with neither is not written.
std::vector<std::string> WriteTimeScaleSection(const TimeScale& scale);

class SectionRegistry;
// Makes the time-scale list the reader and writer of "##TimeScale" sections, in the place of
// the stand-in that keeps them verbatim.
void RegisterTimeScaleSection(SectionRegistry& registry);

}  // namespace jov

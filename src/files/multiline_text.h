// Multi-line texts (card notes) in the section stream: line breaks and tabs are coded as the
// bytes 3 and 4 so that the text fits in one field, and a long text is cut into pieces of 4200
// bytes that end in "/==" and continue on the next line.
#pragma once

#include <string>
#include <string_view>

#include "files/line_sink.h"

namespace jov {

// Writes `text` as the last field of the current line and ends the line (and the lines of its
// pieces). CR, LF and CR LF all become byte 3 (read back as CR); tabs become byte 4. A text
// whose coded form ends in "/==" gets one more, empty, piece so that the marker reads as text.
void WriteMultilineField(LineSink& sink, std::string_view text, std::string& scratch);

// Turns a coded field back into the text: byte 3 to CR, byte 4 to tab.
void DecodeMultiline(std::string_view coded, std::string* text);

// True when a physical line continues on the next one; `*line` then loses the marker.
bool TakeContinuation(std::string_view* line);

}  // namespace jov

// Texts inside the markup that tables and analyses write. HTML pages escape the angle brackets
// and the Nordic letters as entities and keep every other byte, "&" and '"' included. XML
// documents escape what XML requires ("&", "<", ">", and '"' in attribute values) and nothing
// else: their bytes stay Windows-1252, which the document's header declares. Both take and give
// Windows-1252 bytes.
#pragma once

#include <string>
#include <string_view>

namespace jov {

void AppendHtmlEscaped(std::string& out, std::string_view text);

// Element text. Control characters that XML does not allow become blanks; the five bytes that
// Windows-1252 leaves undefined are written as character references.
void AppendXmlEscaped(std::string& out, std::string_view text);
// An attribute: a space, the name, '=' and the escaped value in double quotes. Tabs and line
// breaks in the value are written as character references so that they read back unchanged.
void AppendXmlAttribute(std::string& out, std::string_view name, std::string_view value);
// An element holding a text: "<name>", the escaped text, "</name>".
void AppendXmlElement(std::string& out, std::string_view name, std::string_view text);

}  // namespace jov

#include "files/markup_text.h"

#include <cstdint>

namespace jov {
namespace {

// The HTML entity of a Windows-1252 byte; nullptr for a byte written as it is.
const char* HtmlEntity(uint8_t byte) {
  switch (byte) {
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case 0xE4:
      return "&auml;";
    case 0xE5:
      return "&aring;";
    case 0xF6:
      return "&ouml;";
    case 0xFC:
      return "&uuml;";
    case 0xC4:
      return "&Auml;";
    case 0xC5:
      return "&Aring;";
    case 0xD6:
      return "&Ouml;";
    case 0xDC:
      return "&Uuml;";
    default:
      return nullptr;
  }
}

bool UndefinedInWindows1252(uint8_t byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

void AppendReference(std::string& out, uint8_t byte) {
  out.append("&#").append(std::to_string(byte)).push_back(';');
}

void AppendXml(std::string& out, std::string_view text, bool attribute) {
  for (const char c : text) {
    const auto byte = static_cast<uint8_t>(c);
    switch (byte) {
      case '&':
        out.append("&amp;");
        continue;
      case '<':
        out.append("&lt;");
        continue;
      case '>':
        out.append("&gt;");
        continue;
      case '"':
        if (attribute) {
          out.append("&quot;");
          continue;
        }
        break;
      case '\t':
      case '\n':
      case '\r':
        // Parsers turn these into blanks inside attribute values.
        if (attribute) {
          AppendReference(out, byte);
          continue;
        }
        break;
      default:
        if (byte < 0x20) {
          out.push_back(' ');
          continue;
        }
        if (UndefinedInWindows1252(byte)) {
          AppendReference(out, byte);
          continue;
        }
    }
    out.push_back(c);
  }
}

}  // namespace

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    const char* entity = HtmlEntity(static_cast<uint8_t>(c));
    if (entity != nullptr) {
      out.append(entity);
    } else {
      out.push_back(c);
    }
  }
}

void AppendXmlEscaped(std::string& out, std::string_view text) { AppendXml(out, text, false); }

void AppendXmlAttribute(std::string& out, std::string_view name, std::string_view value) {
  out.append(" ").append(name).append("=\"");
  AppendXml(out, value, true);
  out.push_back('"');
}

void AppendXmlElement(std::string& out, std::string_view name, std::string_view text) {
  out.append("<").append(name).append(">");
  AppendXmlEscaped(out, text);
  out.append("</").append(name).append(">");
}

}  // namespace jov

#include "files/xml_reader.h"

#include <algorithm>
#include <cstdint>

#include "platform/text_encoding.h"

namespace jov {
namespace {

// A report quotes at most this many characters of the document where it broke.
constexpr size_t kQuotedLength = 24;
// The longest reference read: "&#x10FFFF;".
constexpr size_t kMaxReferenceLength = 10;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u == ':' || u >= 0x80;
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// Raw control characters other than tab and line ends cannot stand in XML.
bool IsForbidden(char c) { return static_cast<unsigned char>(c) < 0x20 && !IsSpace(c); }

std::string Utf8Of(uint32_t code) {
  std::string out;
  if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | code >> 6));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | code >> 12));
    out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | code >> 18));
    out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
  }
  out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  return out;
}

// The character of a numeric reference ("#65", "#x41"); 0 when it names none XML allows.
uint32_t NumericReference(std::string_view digits) {
  const bool hex = !digits.empty() && digits[0] == 'x';
  if (hex) digits.remove_prefix(1);
  if (digits.empty()) return 0;
  uint32_t code = 0;
  for (const char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return 0;
    }
    code = code * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
    if (code > 0x10FFFF) return 0;
  }
  const bool allowed = (code >= 0x20 || code == '\t' || code == '\n' || code == '\r') &&
                       !(code >= 0xD800 && code <= 0xDFFF) && code != 0xFFFE && code != 0xFFFF;
  return allowed ? code : 0;
}

class AlertStackChannel : public XmlErrorChannel {
 public:
  void Report(AlertRecord& alert) override { ReportAlert(alert); }
};

}  // namespace

XmlReader::XmlReader(std::string_view document, XmlErrorChannel* errors)
    : document_(document), errors_(errors) {}

void XmlReader::Report(MessageId message, std::string_view subject) {
  AlertRecord alert(message);
  alert.Arg(subject);
  Report(alert);
}

void XmlReader::ReportUnknownValue(std::string_view value, std::string_view attribute) {
  AlertRecord alert(msg::kUnknownValue);
  alert.Arg(value).Arg(attribute);
  Report(alert);
}

void XmlReader::Report(AlertRecord& alert) {
  if (errors_ != nullptr) {
    errors_->Report(alert);
  } else {
    AlertStackChannel().Report(alert);
  }
}

XmlReader::Event XmlReader::Fail() {
  if (!failed_) {
    failed_ = true;
    const size_t start =
        AtEnd() ? document_.size() - std::min(document_.size(), kQuotedLength) : pos_;
    std::string quoted(document_.substr(start, kQuotedLength));
    for (char& c : quoted) {
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    Report(msg::kMalformedXml, quoted);
  }
  return Event::kError;
}

XmlReader::Event XmlReader::Next() {
  if (failed_) return Event::kError;
  if (pending_end_) {
    pending_end_ = false;
    name_ = std::move(open_.back());
    open_.pop_back();
    return Event::kEnd;
  }
  for (;;) {
    if (AtEnd()) return open_.empty() ? Event::kDone : Fail();
    if (document_[pos_] != '<') return ReadText();
    if (LookingAt("<?")) {
      if (!SkipPast("?>")) return Fail();
    } else if (LookingAt("<!--")) {
      if (!SkipPast("-->")) return Fail();
    } else {
      return ReadMarkup();
    }
  }
}

bool XmlReader::SkipPast(std::string_view terminator) {
  const size_t found = document_.find(terminator, pos_);
  if (found == std::string_view::npos) return false;
  pos_ = found + terminator.size();
  return true;
}

XmlReader::Event XmlReader::ReadMarkup() {
  static constexpr std::string_view kCdata = "<![CDATA[";
  if (LookingAt(kCdata)) {
    const size_t begin = pos_ + kCdata.size();
    const size_t end = document_.find("]]>", begin);
    if (end == std::string_view::npos || open_.empty()) return Fail();
    text_.assign(document_.substr(begin, end - begin));
    if (std::any_of(text_.begin(), text_.end(), IsForbidden)) return Fail();
    pos_ = end + 3;
    return Event::kText;
  }
  // A document type declaration (and with it any entity definition) is not read.
  if (LookingAt("<!")) return Fail();
  return LookingAt("</") ? ReadEndTag() : ReadStartTag();
}

XmlReader::Event XmlReader::ReadStartTag() {
  ++pos_;
  bool self_closing = false;
  if (!ReadName(&name_) || !ReadAttributes(&self_closing) || open_.size() >= kMaxDepth) {
    return Fail();
  }
  open_.push_back(name_);
  pending_end_ = self_closing;
  return Event::kStart;
}

XmlReader::Event XmlReader::ReadEndTag() {
  pos_ += 2;
  if (!ReadName(&name_)) return Fail();
  SkipSpace();
  if (AtEnd() || document_[pos_] != '>' || open_.empty() || open_.back() != name_) return Fail();
  ++pos_;
  open_.pop_back();
  return Event::kEnd;
}

XmlReader::Event XmlReader::ReadText() {
  const size_t begin = pos_;
  const size_t end = std::min(document_.find('<', pos_), document_.size());
  text_.clear();
  if (!AppendResolved(begin, end, &text_)) return Fail();
  pos_ = end;
  // Outside every element only blanks and line ends may stand.
  if (open_.empty() && !std::all_of(text_.begin(), text_.end(), IsSpace)) {
    pos_ = begin;
    return Fail();
  }
  return Event::kText;
}

void XmlReader::SkipSpace() {
  while (!AtEnd() && IsSpace(document_[pos_])) ++pos_;
}

bool XmlReader::ReadName(std::string* name) {
  if (AtEnd() || !IsNameStart(document_[pos_])) return false;
  const size_t begin = pos_;
  while (!AtEnd() && IsNameChar(document_[pos_])) ++pos_;
  name->assign(document_.substr(begin, pos_ - begin));
  return true;
}

bool XmlReader::ReadAttributes(bool* self_closing) {
  attributes_.clear();
  for (;;) {
    const size_t before = pos_;
    SkipSpace();
    if (LookingAt("/>")) {
      pos_ += 2;
      *self_closing = true;
      return true;
    }
    if (LookingAt(">")) {
      ++pos_;
      return true;
    }
    // Attributes are separated from the name and from each other by white space.
    if (pos_ == before) return false;
    XmlAttribute attribute;
    if (!ReadName(&attribute.name)) return false;
    SkipSpace();
    if (AtEnd() || document_[pos_] != '=') return false;
    ++pos_;
    SkipSpace();
    if (!ReadAttributeValue(&attribute.value)) return false;
    const bool repeated =
        std::any_of(attributes_.begin(), attributes_.end(),
                    [&](const XmlAttribute& a) { return a.name == attribute.name; });
    if (repeated) return false;
    attributes_.push_back(std::move(attribute));
  }
}

bool XmlReader::ReadAttributeValue(std::string* value) {
  if (AtEnd() || (document_[pos_] != '"' && document_[pos_] != '\'')) return false;
  const char quote = document_[pos_];
  const size_t begin = pos_ + 1;
  const size_t end = document_.find(quote, begin);
  if (end == std::string_view::npos) return false;
  if (document_.substr(begin, end - begin).find('<') != std::string_view::npos) return false;
  value->clear();
  if (!AppendResolved(begin, end, value)) return false;
  pos_ = end + 1;
  return true;
}

bool XmlReader::AppendResolved(size_t begin, size_t end, std::string* out) {
  for (size_t i = begin; i < end; ++i) {
    const char c = document_[i];
    if (IsForbidden(c)) {
      pos_ = i;
      return false;
    }
    if (c != '&') {
      out->push_back(c);
      continue;
    }
    const size_t semicolon = document_.find(';', i);
    if (semicolon == std::string_view::npos || semicolon >= end ||
        semicolon - i > kMaxReferenceLength ||
        !AppendReference(document_.substr(i + 1, semicolon - i - 1), out)) {
      pos_ = i;
      return false;
    }
    i = semicolon;
  }
  return true;
}

bool XmlReader::AppendReference(std::string_view reference, std::string* out) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [entity, c] : kNamed) {
    if (reference == entity) {
      out->push_back(c);
      return true;
    }
  }
  if (reference.empty() || reference[0] != '#') return false;
  const uint32_t code = NumericReference(reference.substr(1));
  if (code == 0) return false;
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else {
    out->append(Cp1252FromUtf8(Utf8Of(code)));
  }
  return true;
}

bool XmlReader::ReadElementText(std::string* text) {
  text->clear();
  for (;;) {
    switch (Next()) {
      case Event::kText:
        text->append(text_);
        break;
      case Event::kStart:
        ReportUnknownTag();
        if (!SkipElement()) return false;
        break;
      case Event::kEnd:
        return true;
      case Event::kDone:
      case Event::kError:
        return false;
    }
  }
}

bool XmlReader::SkipElement() {
  const size_t depth = open_.size();
  for (;;) {
    switch (Next()) {
      case Event::kEnd:
        if (open_.size() < depth) return true;
        break;
      case Event::kDone:
      case Event::kError:
        return false;
      default:
        break;
    }
  }
}

}  // namespace jov

// A small, strict reader of XML elements, for the XML forms the system reads back (a
// selection's "<selection>" element, the options of analyses): start tags with their
// attributes, end tags, and the text between them, one event at a time. It reads well-formed
// markup only: a document type declaration, an undefined entity, a mismatched end tag or any
// other break ends the reading with one report, kMalformedXml, through the error channel. The
// readers built on it report unknown elements and attributes (kUnknownTag, kUnknownAttribute)
// through the same channel, and values they do not take (kUnknownValue). Texts are taken as they
// are (Windows-1252 bytes inside the engine); references to characters outside 1252 become "?".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {

// Where a reader's reports go. The default channel reports through the alert-sink stack.
class XmlErrorChannel {
 public:
  virtual ~XmlErrorChannel() = default;
  virtual void Report(AlertRecord& alert) = 0;
};

struct XmlAttribute {
  std::string name;
  std::string value;
};

class XmlReader {
 public:
  enum class Event {
    kStart,  // a start tag: name() and attributes(); "<a/>" gives kStart, then kEnd
    kEnd,    // an end tag: name()
    kText,   // character data between tags, references resolved: text()
    kDone,   // the end of the document
    kError,  // the document broke (reported once); every later call gives kError too
  };
  // Elements nest at most this deep.
  static constexpr size_t kMaxDepth = 256;

  // `document` must outlive the reader; `errors` may be null (the alert-sink stack).
  explicit XmlReader(std::string_view document, XmlErrorChannel* errors = nullptr);

  // Moves to the next event. The XML declaration, processing instructions and comments are
  // skipped; CDATA sections are text.
  Event Next();
  const std::string& name() const { return name_; }
  const std::vector<XmlAttribute>& attributes() const { return attributes_; }
  const std::string& text() const { return text_; }
  // The depth of open elements (after a start tag, its element counts).
  size_t depth() const { return open_.size(); }

  // After a start tag: the element's text up to its end tag. An element nested in it is
  // reported as an unknown tag and skipped. False when the document ends or breaks first.
  bool ReadElementText(std::string* text);
  // After a start tag: skips the rest of the element, nested elements included.
  bool SkipElement();

  // Reports through the error channel: `message` with the argument `subject`.
  void Report(MessageId message, std::string_view subject);
  void ReportUnknownTag() { Report(msg::kUnknownTag, name_); }
  void ReportUnknownAttribute(std::string_view attribute) {
    Report(msg::kUnknownAttribute, attribute);
  }
  // kUnknownValue: a value an attribute does not take.
  void ReportUnknownValue(std::string_view value, std::string_view attribute);

 private:
  void Report(AlertRecord& alert);
  Event Fail();
  Event ReadMarkup();
  Event ReadStartTag();
  Event ReadEndTag();
  Event ReadText();
  bool SkipPast(std::string_view terminator);
  bool ReadName(std::string* name);
  bool ReadAttributes(bool* self_closing);
  bool ReadAttributeValue(std::string* value);
  // Appends the character data of document_[begin, end) to *out with references resolved.
  bool AppendResolved(size_t begin, size_t end, std::string* out);
  bool AppendReference(std::string_view reference, std::string* out);
  void SkipSpace();
  bool AtEnd() const { return pos_ >= document_.size(); }
  bool LookingAt(std::string_view text) const {
    return document_.substr(pos_, text.size()) == text;
  }

  std::string_view document_;
  XmlErrorChannel* errors_;
  size_t pos_ = 0;
  bool failed_ = false;
  bool pending_end_ = false;  // a self-closing tag owes its end event
  std::vector<std::string> open_;
  std::string name_;
  std::vector<XmlAttribute> attributes_;
  std::string text_;
};

}  // namespace jov

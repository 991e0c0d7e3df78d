#include "shell/console/AnswerFile.h"

#include <pugixml.hpp>

#include "base/WideText.h"

namespace {

AnswerFileResult Refused(std::wstring error) {
  return {std::nullopt, std::move(error)};
}

std::wstring Name(const pugi::xml_node& node) {
  return Utf8ToWide(node.name());
}

// Values stand between the tags of an indented file: the blanks around them are layout.
std::wstring Trimmed(const std::wstring& text) {
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

AnswerFileResult ReadAnswerFile(std::span<const uint8_t> bytes) {
  pugi::xml_document document;
  // Entities and character references are expanded; nothing is fetched from outside.
  const pugi::xml_parse_result parsed =
      document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
  if (!parsed) {
    return Refused(Utf8ToWide(parsed.description()) + L" (byte " + std::to_wstring(parsed.offset) + L")");
  }
  const pugi::xml_node root = document.document_element();
  if (std::string_view(root.name()) != "answers") return Refused(L"the root element must be <answers>");

  AnswerFileContent content;
  for (const pugi::xml_attribute& attribute : root.attributes()) {
    const std::string_view name = attribute.name();
    if (name == "verb") {
      content.verb = Trimmed(Utf8ToWide(attribute.value()));
    } else if (name == "what") {
      content.what = Trimmed(Utf8ToWide(attribute.value()));
    } else {
      return Refused(L"<answers> has no attribute \"" + Utf8ToWide(attribute.name()) + L"\"");
    }
  }
  for (const pugi::xml_node& child : root.children()) {
    if (child.type() == pugi::node_comment || child.type() == pugi::node_pi) continue;
    if (child.type() != pugi::node_element) return Refused(L"<answers> holds text outside its elements");
    if (child.first_attribute()) return Refused(L"<" + Name(child) + L"> takes no attributes");
    AnswerFileOption option{Name(child), L"", false};
    for (const pugi::xml_node& part : child.children()) {
      if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata) {
        option.value += Utf8ToWide(part.value());
        option.hasValue = true;
      } else if (part.type() != pugi::node_comment) {
        return Refused(L"<" + option.name + L"> holds only text");
      }
    }
    option.value = Trimmed(option.value);
    content.options.push_back(std::move(option));
  }
  return {std::move(content), L""};
}

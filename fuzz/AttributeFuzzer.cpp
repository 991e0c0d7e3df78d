// The toolkit's attribute parsers: the input as one value for each value reader, and as
// an attribute list ("name='value' ...") applied to a window, a font, a style, the
// defaults of a class and a control of every standard class, as a layout would.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <string_view>

#include "base/WideText.h"
#include "ui/controls/LayoutBuilder.h"
#include "ui/core/AttributeParsing.h"
#include "ui/core/Control.h"
#include "ui/core/SkinFiles.h"
#include "ui/core/WindowTree.h"
#include "ui/headless/HostHeadless.h"

namespace {

constexpr const char* kClasses[] = {"Control",  "Container", "VerticalLayout", "HorizontalLayout", "TabLayout",
                                    "Label",    "Button",    "Option",         "CheckBox",         "Edit",
                                    "RichEdit", "List",      "ListHeader",     "ListHeaderItem",   "AnimatedImage"};

// Only names an XML attribute can carry; the others could not come from a layout.
bool IsXmlName(std::string_view name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    const bool digit = (c >= '0' && c <= '9') || c == '-' || c == '.';
    if (!letter && !(digit && i > 0)) return false;
  }
  return true;
}

void Apply(pugi::xml_node node, const ui::AttributeList& list) {
  for (const auto& [name, value] : list) {
    const std::string utf8 = WideToUtf8(name);
    if (IsXmlName(utf8) && !node.attribute(utf8.c_str()))
      node.append_attribute(utf8.c_str()) = WideToUtf8(value).c_str();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool hostInstalled = [] {
    ui::InstallHost(std::make_unique<ui::HostHeadless>(100));
    return true;
  }();
  (void)hostInstalled;

  const std::string utf8(reinterpret_cast<const char*>(data), size);
  const std::wstring text = Utf8ToWide(utf8);
  ui::ParseInt(text);
  ui::ParseBool(text);
  ui::ParseColor(text);
  ui::ParseSize(text);
  ui::ParseRect(text);
  ui::NameEquals(text, L"bkcolor");
  const auto list = ui::ParseAttributeList(text);
  if (!list) return 0;

  pugi::xml_document document;
  pugi::xml_node window = document.append_child("Window");
  Apply(window, *list);
  pugi::xml_node font = window.append_child("Font");
  font.append_attribute("id") = "1";
  Apply(font, *list);
  pugi::xml_node style = window.append_child("Style");
  style.append_attribute("name") = "fuzzed";
  style.append_attribute("value") = utf8.c_str();
  pugi::xml_node defaults = window.append_child("Default");
  defaults.append_attribute("name") = "Label";
  defaults.append_attribute("value") = utf8.c_str();
  pugi::xml_node body = window.append_child("VerticalLayout");
  for (const char* className : kClasses) {
    pugi::xml_node control = body.append_child(className);
    control.append_attribute("style") = "fuzzed";
    control.append_attribute("font") = "1";
    Apply(control, *list);
  }
  std::ostringstream layout;
  document.save(layout, "", pugi::format_raw);
  ui::SkinFiles::SetMemoryFiles({{"attributes.xml", layout.str()}});

  ui::WindowTree::ClearShared();
  ui::WindowTree tree;
  auto root = ui::LayoutBuilder(tree).Build(L"attributes.xml");
  if (root) tree.SetRoot(std::move(root));
  tree.GetFont(1);
  tree.GetFont(-1);
  return 0;
}

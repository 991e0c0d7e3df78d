// Sections: loading documents; window attributes, fonts, styles and defaults; building
// controls; the public entry points.
#include "ui/controls/LayoutBuilder.h"

#include <pugixml.hpp>

#include <map>

#include "base/WideText.h"
#include "ui/controls/AnimatedImage.h"
#include "ui/controls/Button.h"
#include "ui/controls/Edit.h"
#include "ui/controls/HorizontalLayout.h"
#include "ui/controls/Label.h"
#include "ui/controls/List.h"
#include "ui/controls/ListHeader.h"
#include "ui/controls/ListHeaderItem.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/TabLayout.h"
#include "ui/controls/VerticalLayout.h"
#include "ui/core/AttributeParsing.h"
#include "ui/core/Container.h"
#include "ui/core/IDialogBuilderCallback.h"
#include "ui/core/ResourceManager.h"
#include "ui/core/SkinFiles.h"
#include "ui/core/WindowTree.h"

namespace ui {

namespace {

constexpr int kMaxIncludeDepth = 8;

using Document = std::shared_ptr<const pugi::xml_document>;

bool Is(const pugi::xml_node& node, std::wstring_view name) {
  return NameEquals(Utf8ToWide(node.name()), name);
}

const char* Attribute(const pugi::xml_node& node, std::wstring_view name) {
  for (const auto& attribute : node.attributes()) {
    if (NameEquals(Utf8ToWide(attribute.name()), name)) return attribute.value();
  }
  return nullptr;
}

std::string Describe(const pugi::xml_node& node) {
  std::string text = std::string("<") + node.name();
  if (const char* name = Attribute(node, L"name")) text += std::string(" name=\"") + name + "\"";
  return text + ">";
}

// ---- loading documents --------------------------------------------------------------

Document Parse(const void* bytes, size_t size, const std::string& origin) {
  auto document = std::make_shared<pugi::xml_document>();
  const pugi::xml_parse_result parsed = document->load_buffer(bytes, size);
  if (!parsed) {
    ReportSkinProblem(origin, std::string("not well-formed XML (") + parsed.description() + " at offset " +
                                  std::to_string(parsed.offset) + ")");
    return nullptr;
  }
  if (!document->document_element()) {
    ReportSkinProblem(origin, "no root element");
    return nullptr;
  }
  return document;
}

// Source text is parsed each time; files are parsed once and kept until the skin files
// change, since list rows build from the same template again and again.
Document Load(std::wstring_view source, std::string& origin) {
  if (!source.empty() && source.front() == L'<') {
    origin = "(layout text)";
    const std::string text = WideToUtf8(source);
    return Parse(text.data(), text.size(), origin);
  }
  origin = WideToUtf8(LayoutBuilder::ResolveFile(source));
  static std::map<std::string, Document> cache;
  static uint64_t generation = 0;
  static uint64_t packageGeneration = 0;
  const uint64_t currentPackage = ResourceManager::Instance().PackageGeneration();
  if (SkinFiles::Generation() != generation || currentPackage != packageGeneration) {
    cache.clear();
    generation = SkinFiles::Generation();
    packageGeneration = currentPackage;
  }
  if (auto it = cache.find(origin); it != cache.end()) return it->second;
  auto bytes = SkinFiles::Read(origin);
  if (!bytes) {
    ReportSkinProblem(origin, "cannot be read");
    return nullptr;
  }
  Document document = Parse(bytes->data(), bytes->size(), origin);
  if (document) cache[origin] = document;
  return document;
}

}  // namespace

namespace {

struct Context {
  std::string origin;
  int depth = 0;
  bool windowAttributes = false;  // the top file's <Window> sets the window's
};

void Report(const std::string& origin, const pugi::xml_node& node, const std::string& what) {
  ReportSkinProblem(origin + ": " + Describe(node), what);
}

void ReportAttribute(const std::string& where, AttributeResult result, std::wstring_view name,
                     std::wstring_view value) {
  if (result == AttributeResult::Unknown) {
    ReportSkinProblem(where, "unknown attribute \"" + WideToUtf8(name) + "\"");
  } else if (result == AttributeResult::BadValue) {
    ReportSkinProblem(where, "bad value \"" + WideToUtf8(value) + "\" for attribute \"" + WideToUtf8(name) + "\"");
  }
}

// ---- window attributes, fonts, styles and defaults ----------------------------------

AttributeResult ApplyWindowAttribute(WindowAttributes& window, std::wstring_view name, std::wstring_view value) {
  auto size = [&](Size& target) {
    auto parsed = ParseSize(value);
    if (!parsed || parsed->cx < 0 || parsed->cy < 0) return AttributeResult::BadValue;
    target = *parsed;
    return AttributeResult::Applied;
  };
  auto rect = [&](Rect& target) {
    auto parsed = ParseRect(value);
    if (!parsed) return AttributeResult::BadValue;
    target = *parsed;
    return AttributeResult::Applied;
  };
  if (NameEquals(name, L"size")) return size(window.size);
  if (NameEquals(name, L"mininfo")) return size(window.minSize);
  if (NameEquals(name, L"maxinfo")) return size(window.maxSize);
  if (NameEquals(name, L"caption")) return rect(window.caption);
  if (NameEquals(name, L"sizebox")) return rect(window.sizeBox);
  if (NameEquals(name, L"shadowcorner")) return rect(window.shadowCorner);
  if (NameEquals(name, L"shadowimage")) {
    window.shadowImage = std::wstring(value);
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"shadowsize")) {
    auto parsed = ParseInt(value);
    if (!parsed || *parsed < 0) return AttributeResult::BadValue;
    window.shadowSize = *parsed;
    return AttributeResult::Applied;
  }
  if (NameEquals(name, L"bkcolor")) {
    auto parsed = ParseColor(value);
    if (!parsed) return AttributeResult::BadValue;
    window.bkColor = *parsed;
    return AttributeResult::Applied;
  }
  return AttributeResult::Unknown;
}

void AddFont(WindowTree& tree, const pugi::xml_node& node, const std::string& origin) {
  const std::string where = origin + ": " + Describe(node);
  const char* idText = Attribute(node, L"id");
  auto id = idText ? ParseInt(Utf8ToWide(idText)) : std::nullopt;
  if (!id) {
    ReportSkinProblem(where, "a font needs a numeric \"id\"");
    return;
  }
  FontDef font;
  bool isDefault = false, shared = false;
  for (const auto& attribute : node.attributes()) {
    const std::wstring name = Utf8ToWide(attribute.name());
    const std::wstring value = Utf8ToWide(attribute.value());
    AttributeResult result = AttributeResult::Applied;
    auto flag = [&](bool& target) {
      auto parsed = ParseBool(value);
      if (!parsed) return AttributeResult::BadValue;
      target = *parsed;
      return AttributeResult::Applied;
    };
    if (NameEquals(name, L"id")) {
    } else if (NameEquals(name, L"face")) {
      font.face = value;
    } else if (NameEquals(name, L"size")) {
      // Glyphs of tens of thousands of pixels break the text engine's fixed-point
      // arithmetic (and leak inside it); no layout needs a font beyond this.
      constexpr int kLargestFontSize = 1000;
      auto size = ParseInt(value);
      if (size && *size > 0 && *size <= kLargestFontSize) {
        font.size = *size;
      } else {
        result = AttributeResult::BadValue;
      }
    } else if (NameEquals(name, L"bold")) {
      result = flag(font.bold);
    } else if (NameEquals(name, L"italic")) {
      result = flag(font.italic);
    } else if (NameEquals(name, L"underline")) {
      result = flag(font.underline);
    } else if (NameEquals(name, L"default")) {
      result = flag(isDefault);
    } else if (NameEquals(name, L"shared")) {
      result = flag(shared);
    } else {
      result = AttributeResult::Unknown;
    }
    ReportAttribute(where, result, name, value);
  }
  tree.AddFont(*id, font, isDefault, shared);
}

// <Style> and <Default>: a name and an attribute list.
void AddNamedList(WindowTree& tree, const pugi::xml_node& node, const std::string& origin, bool style) {
  const std::string where = origin + ": " + Describe(node);
  const char* name = Attribute(node, L"name");
  const char* value = Attribute(node, L"value");
  if (name == nullptr || value == nullptr) {
    ReportSkinProblem(where, "needs \"name\" and \"value\"");
    return;
  }
  bool shared = false;
  for (const auto& attribute : node.attributes()) {
    const std::wstring attributeName = Utf8ToWide(attribute.name());
    if (NameEquals(attributeName, L"name") || NameEquals(attributeName, L"value")) continue;
    if (NameEquals(attributeName, L"shared")) {
      auto parsed = ParseBool(Utf8ToWide(attribute.value()));
      if (parsed) {
        shared = *parsed;
      } else {
        ReportAttribute(where, AttributeResult::BadValue, attributeName, Utf8ToWide(attribute.value()));
      }
      continue;
    }
    ReportAttribute(where, AttributeResult::Unknown, attributeName, {});
  }
  const std::wstring list = Utf8ToWide(value);
  if (!ParseAttributeList(list)) {
    ReportSkinProblem(where, "\"value\" is not a list of attributes (name='value' ...)");
    return;
  }
  if (style) {
    tree.AddStyle(Utf8ToWide(name), list, shared);
  } else {
    tree.AddDefaultAttributes(Utf8ToWide(name), list, shared);
  }
}

}  // namespace

// ---- building controls ----------------------------------------------------------------

namespace {

class Walker {
 public:
  Walker(WindowTree& tree, IDialogBuilderCallback* callback) : tree_(tree), callback_(callback) {}

  // One element: a resource element, an include, or a control for parent (or the root).
  void Process(const pugi::xml_node& node, Container* parent, std::unique_ptr<Control>* root, Context& context);
  std::unique_ptr<Control> BuildControl(const pugi::xml_node& node, Context& context);
  void ProcessWindow(const pugi::xml_node& window, Container* parent, std::unique_ptr<Control>* root, Context& context);

 private:
  void Include(const pugi::xml_node& node, Container* parent, std::unique_ptr<Control>* root, Context& context);

  WindowTree& tree_;
  IDialogBuilderCallback* callback_;
};

void Walker::ProcessWindow(const pugi::xml_node& window, Container* parent, std::unique_ptr<Control>* root,
                           Context& context) {
  if (context.windowAttributes) {
    const std::string where = context.origin + ": " + Describe(window);
    for (const auto& attribute : window.attributes()) {
      const std::wstring name = Utf8ToWide(attribute.name());
      const std::wstring value = Utf8ToWide(attribute.value());
      ReportAttribute(where, ApplyWindowAttribute(tree_.Attributes(), name, value), name, value);
    }
  }
  for (const auto& child : window.children()) {
    if (child.type() == pugi::node_element) Process(child, parent, root, context);
  }
}

void Walker::Include(const pugi::xml_node& node, Container* parent, std::unique_ptr<Control>* root, Context& context) {
  const char* source = Attribute(node, L"source");
  if (source == nullptr || *source == '\0') {
    Report(context.origin, node, "an include needs \"source\"");
    return;
  }
  if (context.depth >= kMaxIncludeDepth) {
    Report(context.origin, node, "includes nested too deep (a loop?)");
    return;
  }
  Context inner{{}, context.depth + 1, false};
  Document document = Load(Utf8ToWide(source), inner.origin);
  if (!document) return;
  const pugi::xml_node top = document->document_element();
  if (Is(top, L"Window")) {
    ProcessWindow(top, parent, root, inner);
  } else {
    Process(top, parent, root, inner);
  }
}

void Walker::Process(const pugi::xml_node& node, Container* parent, std::unique_ptr<Control>* root, Context& context) {
  if (Is(node, L"Font")) return AddFont(tree_, node, context.origin);
  if (Is(node, L"Style")) return AddNamedList(tree_, node, context.origin, true);
  if (Is(node, L"Default")) return AddNamedList(tree_, node, context.origin, false);
  if (Is(node, L"Include")) return Include(node, parent, root, context);
  if (Is(node, L"Window")) {
    Report(context.origin, node, "<Window> only as the root element");
    return;
  }
  std::unique_ptr<Control> control = BuildControl(node, context);
  if (!control) return;
  if (parent != nullptr) {
    const std::wstring className(control->GetClass());
    if (!parent->AddFromLayout(std::move(control))) {
      Report(context.origin, node, "a " + WideToUtf8(parent->GetClass()) + " cannot hold a " + WideToUtf8(className));
    }
  } else if (root != nullptr && !*root) {
    *root = std::move(control);
  } else {
    Report(context.origin, node, "a layout has one root control; this one is left out");
  }
}

std::unique_ptr<Control> Walker::BuildControl(const pugi::xml_node& node, Context& context) {
  const std::wstring className = Utf8ToWide(node.name());
  std::unique_ptr<Control> control = LayoutBuilder::CreateStandardControl(className);
  if (!control && callback_ != nullptr) control = callback_->CreateControl(className);
  if (!control) {
    Report(context.origin, node, "unknown control class");
    return nullptr;
  }
  control->AttachTree(&tree_);
  const std::string where = context.origin + ": " + Describe(node);
  const std::wstring* defaults = tree_.FindDefaultAttributes(className);
  if (defaults == nullptr) defaults = tree_.FindDefaultAttributes(control->GetClass());
  if (defaults != nullptr) {
    const std::string defaultWhere = where + " (default attributes)";
    for (const auto& [name, value] : ParseAttributeList(*defaults).value_or(AttributeList{})) {
      ReportAttribute(defaultWhere, control->ApplyAttribute(name, value), name, value);
    }
  }
  for (const auto& attribute : node.attributes()) {
    const std::wstring name = Utf8ToWide(attribute.name());
    const std::wstring value = Utf8ToWide(attribute.value());
    ReportAttribute(where, control->ApplyAttribute(name, value), name, value);
  }
  auto* container = dynamic_cast<Container*>(control.get());
  for (const auto& child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    if (container == nullptr) {
      Report(context.origin, child, "a " + WideToUtf8(control->GetClass()) + " holds no child elements");
      continue;
    }
    Process(child, container, nullptr, context);
  }
  return control;
}

}  // namespace

// ---- the public entry points ----------------------------------------------------------

LayoutBuilder::LayoutBuilder(WindowTree& tree, IDialogBuilderCallback* callback) : tree_(tree), callback_(callback) {}

std::wstring LayoutBuilder::ResolveFile(std::wstring_view source) {
  std::wstring file = ResourceManager::Instance().LayoutFileOf(source);
  return file.empty() ? std::wstring(source) : file;
}

std::unique_ptr<Control> LayoutBuilder::Build(std::wstring_view source) {
  Context context;
  Document document = Load(source, context.origin);
  if (!document) return nullptr;
  Walker walker(tree_, callback_);
  std::unique_ptr<Control> root;
  const pugi::xml_node top = document->document_element();
  if (Is(top, L"Window")) {
    context.windowAttributes = true;
    walker.ProcessWindow(top, nullptr, &root, context);
  } else {
    walker.Process(top, nullptr, &root, context);
  }
  if (!root) ReportSkinProblem(context.origin, "holds no control");
  return root;
}

std::unique_ptr<Control> LayoutBuilder::BuildTemplate(std::wstring_view file) {
  Context context;
  Document document = Load(file, context.origin);
  if (!document) return nullptr;
  Walker walker(tree_, callback_);
  std::unique_ptr<Control> root;
  const pugi::xml_node top = document->document_element();
  if (Is(top, L"Window")) {
    walker.ProcessWindow(top, nullptr, &root, context);
  } else {
    walker.Process(top, nullptr, &root, context);
  }
  if (!root) ReportSkinProblem(context.origin, "holds no control");
  return root;
}

std::unique_ptr<Control> LayoutBuilder::CreateStandardControl(std::wstring_view className) {
  auto is = [&](std::wstring_view name) { return NameEquals(className, name); };
  if (is(L"Control")) return std::make_unique<Control>();
  if (is(L"Container")) return std::make_unique<Container>();
  if (is(L"VerticalLayout")) return std::make_unique<VerticalLayout>();
  if (is(L"HorizontalLayout")) return std::make_unique<HorizontalLayout>();
  if (is(L"TabLayout")) return std::make_unique<TabLayout>();
  if (is(L"Label")) return std::make_unique<Label>();
  if (is(L"Button")) return std::make_unique<Button>();
  if (is(L"Option")) return std::make_unique<Option>();
  if (is(L"CheckBox")) {
    auto option = std::make_unique<Option>();
    option->SetMark(Option::Mark::Check);
    return option;
  }
  if (is(L"Edit")) return std::make_unique<Edit>();
  if (is(L"RichEdit")) return std::make_unique<RichEdit>();
  if (is(L"List")) return std::make_unique<List>();
  if (is(L"ListHeader")) return std::make_unique<ListHeader>();
  if (is(L"ListHeaderItem")) return std::make_unique<ListHeaderItem>();
  if (is(L"ListRow")) return std::make_unique<ListRow>();
  if (is(L"AnimatedImage")) return std::make_unique<AnimatedImage>();
  return nullptr;
}

}  // namespace ui

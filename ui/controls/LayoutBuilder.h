// Builds controls from XML layouts of the skin.
//
// A source is a layout id of "res.xml" ("XML_MAIN"), a file name of the skin files
// ("pop_about.xml"), or XML text (it begins with "<"). The root element is <Window> with
// the window attributes, or a control element. Inside:
//   <Font id="0" face="宋体" size="13" bold="false" italic="false" underline="false"
//         default="false" shared="false"/>
//   <Style name="radio_style" value="textcolor='ff333333' textpadding='20,0,6,0'" shared="false"/>
//   <Default name="Button" value="height='30'" shared="false"/>   (attributes for every Button)
//   <Include source="other.xml"/>   (that file's fonts, styles and controls, in place)
//   control elements by class name: Control, Container, VerticalLayout, HorizontalLayout,
//   TabLayout, Label, Button, Option, CheckBox, Edit, RichEdit, List, ListHeader,
//   ListHeaderItem, ListRow, AnimatedImage; other names are asked of the window
//   (IDialogBuilderCallback).
// Shared fonts, styles and defaults serve every window of the process.
//
// A bad element, attribute or value is reported on stderr with the file, the element
// and the attribute; building goes on without it.
//
// Threads: UI thread only.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace ui {

class Control;
class IDialogBuilderCallback;
class WindowTree;

class LayoutBuilder {
 public:
  explicit LayoutBuilder(WindowTree& tree, IDialogBuilderCallback* callback = nullptr);

  // The root control of a layout, its window attributes, fonts, styles and defaults put
  // into the tree. Null when the layout cannot be read or parsed or holds no control.
  std::unique_ptr<Control> Build(std::wstring_view source);
  // The first control of a template file (such as a list row), for the tree's window;
  // the file is parsed once and kept.
  std::unique_ptr<Control> BuildTemplate(std::wstring_view file);

  // A new control of a toolkit class, or null.
  static std::unique_ptr<Control> CreateStandardControl(std::wstring_view className);
  // The file a source names: its res.xml layout id resolved.
  static std::wstring ResolveFile(std::wstring_view source);

 private:
  WindowTree& tree_;
  IDialogBuilderCallback* callback_;
};

}  // namespace ui

#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "ui/controls/Label.h"
#include "ui/controls/List.h"
#include "ui/controls/ListRow.h"
#include "ui/controls/Option.h"

namespace {

using uitest::TestWindow;
using uitest::UiTest;

const char* kRowTemplate =
    "<Window><ListRow height='30'>"
    "<Option name='option_listext' width='24'/>"
    "<Label name='label1' width='120' visible='false'/><Label name='label2' visible='false'/>"
    "<Label name='label1_icon' width='40' text='tip.paired' resourcetext='true' visible='false'/>"
    "</ListRow></Window>";

const wchar_t* kLists =
    L"<Window size='400,300'><VerticalLayout>"
    L"<List name='ports' height='120' rowtemplate='listitemex.xml'>"
    L"  <ListHeader><ListHeaderItem text='Port' width='150'/><ListHeaderItem text='PID'/></ListHeader></List>"
    L"<List name='printers'>"
    L"  <ListHeader><ListHeaderItem width='30' checkable='true'/><ListHeaderItem text='Printer'/></ListHeader></List>"
    L"</VerticalLayout></Window>";

class UiList : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ui::SkinFiles::AddMemoryFile("listitemex.xml", kRowTemplate);
    window_ = Open(kLists);
    ports_ = window_->FindControl<ui::List>(L"ports");
    printers_ = window_->FindControl<ui::List>(L"printers");
  }
  ui::Point CentreOf(const ui::Rect& r) { return {r.left + r.Width() / 2, r.top + r.Height() / 2}; }

  TestWindow* window_ = nullptr;
  ui::List* ports_ = nullptr;
  ui::List* printers_ = nullptr;
};

TEST_F(UiList, TemplateRowsShowColumnsInTheirLabelsAndMirrorSelection) {
  for (int i = 0; i < 3; ++i) {
    ui::ListRow* row = ports_->AddRow();
    row->SetName(L"listex_install_show_usb_item");
    row->SetColumnText(1, L"USB00" + std::to_wstring(i + 1));
    row->SetColumnText(2, L"VID_0483 PID_5743");
    row->FindSubControl<ui::Option>(L"option_listext")->SetGroup(L"listex_install_show_usb_group");
  }
  ui::ListRow* second = ports_->GetRow(1);
  auto* label = second->FindSubControl<ui::Label>(L"label1");
  EXPECT_TRUE(label->IsVisible());
  EXPECT_EQ(label->GetText(), L"USB002");
  EXPECT_EQ(label->GetToolTip(), L"USB002");
  EXPECT_EQ(second->GetColumnText(1), L"USB002");
  EXPECT_FALSE(second->FindSubControl(L"label1_icon")->IsVisible());

  ports_->SelectRow(0);  // the program's selection: no notification
  EXPECT_TRUE(window_->notes.empty() || window_->notes.back() == L"windowinit:");
  host_->RunUntilIdle();
  ASSERT_TRUE(host_->Click(window_->GetHWND(), CentreOf(second->FindSubControl(L"label1")->GetPos())));
  EXPECT_EQ(ports_->GetCurSel(), 1);
  EXPECT_TRUE(second->FindSubControl<ui::Option>(L"option_listext")->IsSelected());
  EXPECT_FALSE(ports_->GetRow(0)->FindSubControl<ui::Option>(L"option_listext")->IsSelected());
  EXPECT_EQ(window_->notes.back(), L"itemselect:ports");
  EXPECT_EQ(window_->notes[window_->notes.size() - 2], L"itemclick:listex_install_show_usb_item");
}

TEST_F(UiList, CheckBoxClickSendsCheckedThenItemClick) {
  std::vector<std::pair<std::wstring, intptr_t>> seen;
  window_->onNotify = [&](ui::TNotifyUI& msg) {
    if (msg.Is(L"listitemchecked") || msg.Is(L"itemclick")) {
      seen.emplace_back(msg.type, msg.lParam);
      // The removal page marks the row on "listitemchecked" so the click does not flip it again.
      if (msg.Is(L"listitemchecked")) msg.sender->SetUserData(L"1");
    }
  };
  ui::ListRow* row = printers_->AddRow();
  row->SetName(L"listex_delete_printer_item");
  row->SetColumnText(1, L"Quorvel-A4(300)");
  row->SetUserData(L"0");
  row->SetFixedHeight(30);
  host_->RunUntilIdle();
  const ui::Rect check = printers_->ColumnRect(0, row->GetPos());
  ASSERT_TRUE(host_->Click(window_->GetHWND(), CentreOf(check)));
  EXPECT_TRUE(row->IsChecked());
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (std::pair<std::wstring, intptr_t>{L"listitemchecked", 1}));
  EXPECT_EQ(seen[1].first, L"itemclick");
  EXPECT_EQ(row->GetUserData(), L"1");

  seen.clear();
  ASSERT_TRUE(host_->Click(window_->GetHWND(), CentreOf(printers_->ColumnRect(1, row->GetPos()))));
  ASSERT_EQ(seen.size(), 1u);  // the text column: a click only
  EXPECT_EQ(seen[0].first, L"itemclick");
  EXPECT_TRUE(row->IsChecked());
  EXPECT_EQ(row->GetColumnText(1), L"Quorvel-A4(300)");
}

TEST_F(UiList, RebuildingFromAClickHandlerIsSafe) {
  for (int i = 0; i < 3; ++i) printers_->AddRow()->SetColumnText(1, L"p" + std::to_wstring(i));
  window_->onNotify = [&](ui::TNotifyUI& msg) {
    if (!msg.Is(L"itemclick")) return;
    printers_->RemoveAll();
    for (int i = 0; i < 2; ++i) printers_->AddRow()->SetColumnText(1, L"q" + std::to_wstring(i));
  };
  host_->RunUntilIdle();
  ASSERT_TRUE(host_->Click(window_->GetHWND(), CentreOf(printers_->GetRow(2)->GetPos())));
  EXPECT_EQ(printers_->GetRowCount(), 2);
  EXPECT_EQ(printers_->GetCurSel(), -1);
  EXPECT_EQ(printers_->GetRow(0)->GetColumnText(1), L"q0");
}

TEST_F(UiList, ManyRowsScrollAndSelectionComesIntoView) {
  for (int i = 0; i < 40; ++i) ports_->AddRow()->SetColumnText(1, std::to_wstring(i));
  host_->RunUntilIdle();
  EXPECT_EQ(ports_->GetRow(0)->GetIndex(), 0);
  EXPECT_EQ(ports_->GetRow(39)->GetIndex(), 39);
  ports_->SelectRow(39);
  host_->RunUntilIdle();
  const ui::Rect list = ports_->GetPos();
  const ui::Rect last = ports_->GetRow(39)->GetPos();
  EXPECT_LE(last.bottom, list.bottom);
  EXPECT_GE(last.top, list.top);
  ports_->RemoveAll();
  EXPECT_EQ(ports_->GetRowCount(), 0);
  EXPECT_EQ(ports_->GetCurSel(), -1);
}

}  // namespace

#include <gtest/gtest.h>

#include "ui/UiTestSupport.h"
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
  // Whether the control of the row lies wholly inside the list.
  static testing::AssertionResult InView(ui::List* list, int index) {
    const ui::Rect outer = list->GetPos();
    const ui::Rect row = list->GetRow(index)->GetPos();
    if (row.top >= outer.top && row.bottom <= outer.bottom && !row.IsEmpty()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "row " << index << " at " << row.top << ".." << row.bottom << ", list "
                                       << outer.top << ".." << outer.bottom;
  }

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
  EXPECT_TRUE(InView(ports_, 39));
  ports_->RemoveAll();
  EXPECT_EQ(ports_->GetRowCount(), 0);
  EXPECT_EQ(ports_->GetCurSel(), -1);
}

}  // namespace

namespace {

// The row control under a point of the window, or null.
ui::ListRow* RowAt(TestWindow* window, ui::Point point) {
  for (ui::Control* c = window->Tree().FindControlAt(point); c != nullptr; c = c->GetParent()) {
    if (auto* row = dynamic_cast<ui::ListRow*>(c)) return row;
  }
  return nullptr;
}

TEST_F(UiList, TenThousandRowsBuildOnlyTheRowsInViewAndKeepTheirChecks) {
  for (int i = 0; i < 10000; ++i) printers_->AddItem({{L"", L"p" + std::to_wstring(i)}});
  host_->RunUntilIdle();
  EXPECT_EQ(printers_->GetRowCount(), 10000);
  EXPECT_LT(printers_->GetBuiltRowCount(), 20);

  ASSERT_TRUE(host_->Click(window_->GetHWND(), CentreOf(printers_->ColumnRect(0, printers_->GetRow(1)->GetPos()))));
  EXPECT_TRUE(printers_->GetItem(1)->checked);
  host_->PressKey(window_->GetHWND(), ui::kVkEnd);
  host_->RunUntilIdle();
  EXPECT_EQ(printers_->GetFocusedRow(), 9999);
  EXPECT_TRUE(InView(printers_, 9999));
  ui::ListRow* last = printers_->GetRow(9999);
  EXPECT_EQ(RowAt(window_, CentreOf(last->GetPos())), last);
  EXPECT_EQ(last->GetColumnText(1), L"p9999");
  EXPECT_FALSE(last->IsChecked()) << "a reused control shows its own row's check";
  host_->PressKey(window_->GetHWND(), ui::kVkSpace);
  EXPECT_TRUE(printers_->GetItem(9999)->checked);

  host_->PressKey(window_->GetHWND(), ui::kVkHome);
  host_->RunUntilIdle();
  EXPECT_TRUE(printers_->GetRow(1)->IsChecked());
  EXPECT_FALSE(printers_->GetRow(2)->IsChecked());
  EXPECT_LT(printers_->GetBuiltRowCount(), 20);
}

TEST_F(UiList, ReusedTemplateRowsShowTheirOwnRowAsTheViewScrolls) {
  ports_->SetRowBinder([](ui::ListRow& row, int) { row.SetName(L"port_item"); });
  for (int i = 0; i < 200; ++i) {
    ui::ListItem item{{L"", L"P" + std::to_wstring(i)}, L"data" + std::to_wstring(i)};
    if (i % 2) item.columns.push_back(L"odd");
    ports_->AddItem(std::move(item));
  }
  // Chosen before the list was ever laid out: it is in view once it is.
  ports_->SelectRow(150);
  host_->RunUntilIdle();
  EXPECT_TRUE(InView(ports_, 150));
  const ui::Rect list = ports_->GetPos();

  auto expectRowAt = [&](ui::Point point) {
    ui::ListRow* row = RowAt(window_, point);
    ASSERT_NE(row, nullptr);
    const int index = row->GetIndex();
    ASSERT_GE(index, 0);
    EXPECT_EQ(row->GetColumnText(1), L"P" + std::to_wstring(index));
    EXPECT_EQ(row->GetUserData(), L"data" + std::to_wstring(index));
    EXPECT_EQ(row->GetName(), L"port_item");
    EXPECT_EQ(row->FindSubControl(L"label2")->IsVisible(), index % 2 == 1) << index;
    EXPECT_EQ(row->FindSubControl<ui::Option>(L"option_listext")->IsSelected(), index == ports_->GetCurSel());
    EXPECT_EQ(row->IsSelected(), index == ports_->GetCurSel());
  };
  const ui::Point middle{list.left + 60, list.bottom - 10};
  for (int notch = 0; notch < 12; ++notch) {
    host_->Wheel(window_->GetHWND(), middle, 120);
    host_->RunUntilIdle();
    expectRowAt(middle);
  }
  ASSERT_TRUE(host_->Click(window_->GetHWND(), middle));
  const int clicked = ports_->GetCurSel();
  EXPECT_EQ(window_->notes.back(), L"itemselect:ports");
  expectRowAt(middle);

  // Page Down moves by the rows the view holds and keeps the choice in view.
  host_->PressKey(window_->GetHWND(), ui::kVkNext);
  host_->RunUntilIdle();
  EXPECT_GT(ports_->GetCurSel(), clicked + 1);
  EXPECT_TRUE(InView(ports_, ports_->GetCurSel()));
  const ui::Rect paged = ports_->GetRow(ports_->GetCurSel())->GetPos();
  expectRowAt({paged.left + 60, paged.top + paged.Height() / 2});
  host_->PressKey(window_->GetHWND(), ui::kVkPrior);
  EXPECT_EQ(ports_->GetCurSel(), clicked);
}

}  // namespace

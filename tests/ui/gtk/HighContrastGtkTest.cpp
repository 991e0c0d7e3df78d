// The GTK host's high-contrast answer follows the theme of the settings (needs a display).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ui/gtk/HostGtk.h"

namespace {

class HighContrastGtk : public testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "DISPLAY is not set: the GTK host needs an X server (Xvfb)";
    setenv("NO_AT_BRIDGE", "1", 1);
    std::string whyNot;
    host_ = ui::HostGtk::Create(whyNot);
    ASSERT_NE(host_, nullptr) << whyNot;
    gchar* theme = nullptr;
    g_object_get(gtk_settings_get_default(), "gtk-theme-name", &theme, nullptr);
    theme_ = theme != nullptr ? theme : "";
    g_free(theme);
  }
  void TearDown() override {
    if (host_) SetTheme(theme_.c_str());
  }
  static void SetTheme(const char* name) { g_object_set(gtk_settings_get_default(), "gtk-theme-name", name, nullptr); }

  std::unique_ptr<ui::HostGtk> host_;
  std::string theme_;
};

TEST_F(HighContrastGtk, AHighContrastThemeAsksForTheSystemsColours) {
  SetTheme("Adwaita");
  EXPECT_FALSE(host_->IsHighContrast());
  SetTheme("HighContrast");
  ASSERT_TRUE(host_->IsHighContrast());
  EXPECT_EQ(host_->HighContrastColors().window, 0xFFFFFFFFu);  // dark on white
  EXPECT_EQ(host_->HighContrastColors().windowText, 0xFF000000u);
  SetTheme("HighContrastInverse");
  ASSERT_TRUE(host_->IsHighContrast());
  EXPECT_EQ(host_->HighContrastColors().window, 0xFF000000u);  // light on black
}

}  // namespace

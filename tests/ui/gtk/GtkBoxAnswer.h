// Answering the GTK host's message boxes in tests, as a user would.
#pragma once

#include <gtk/gtk.h>

#include <string>

// Answers the next message box that appears, recording how it looked.
struct BoxAnswer {
  int response = GTK_RESPONSE_OK;
  std::string title;
  GtkMessageType type = GTK_MESSAGE_OTHER;
  GtkWindow* parent = nullptr;
  bool answered = false;

  static gboolean Tick(gpointer data) {
    auto* answer = static_cast<BoxAnswer*>(data);
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
      if (!GTK_IS_MESSAGE_DIALOG(item->data) || !gtk_widget_get_visible(GTK_WIDGET(item->data))) continue;
      GtkWindow* dialog = GTK_WINDOW(item->data);
      answer->title = gtk_window_get_title(dialog);
      answer->parent = gtk_window_get_transient_for(dialog);
      g_object_get(dialog, "message-type", &answer->type, nullptr);
      gtk_dialog_response(GTK_DIALOG(dialog), answer->response);
      answer->answered = true;
    }
    g_list_free(windows);
    return answer->answered ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
  }
  void Arm() { g_timeout_add(20, Tick, this); }
};

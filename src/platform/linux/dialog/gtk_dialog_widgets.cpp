#include "platform/linux/dialog/gtk_dialog_widgets.h"

#include <cmath>

namespace orvel {
namespace {

// The list scrolls sideways this far past its own width, so that long
// names can be read.
constexpr int kListExtraWidth = 300;

GtkWidget* Place(GtkFixed* fixed, GtkWidget* widget, DialogControl control, const char* name) {
  const Rect rect = ClientRect(control);
  gtk_widget_set_name(widget, name);
  gtk_widget_set_size_request(widget, rect.w, rect.h);
  gtk_fixed_put(fixed, widget, rect.x, rect.y);
  return widget;
}

// GTK takes only UTF-8: a name that is not is shown with its bad bytes
// replaced.
void AppendRow(GtkListStore* store, const std::string& text) {
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
    gtk_list_store_insert_with_values(store, nullptr, -1, 0, text.c_str(), -1);
    return;
  }
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  gtk_list_store_insert_with_values(store, nullptr, -1, 0, valid, -1);
  g_free(valid);
}

// The selected row's index; -1 when none is.
int SelectedRow(GtkTreeSelection* selection) {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(selection, &model, &iter)) return -1;
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  const int index = gtk_tree_path_get_indices(path)[0];
  gtk_tree_path_free(path);
  return index;
}

}  // namespace

DialogWidgets::DialogWidgets(GtkFixed* fixed, NativeControlEvents events)
    : events_(std::move(events)) {
  // The picture list: one column of names, as wide as the list may scroll,
  // every row of one height, so that tens of thousands of rows are laid
  // out at once.
  GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
  listView_ = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
  g_object_unref(store);
  GtkTreeView* view = GTK_TREE_VIEW(listView_);
  gtk_tree_view_set_headers_visible(view, FALSE);
  gtk_tree_view_set_enable_search(view, FALSE);
  GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
  g_object_set(renderer, "ypad", 0, nullptr);
  GtkTreeViewColumn* column =
      gtk_tree_view_column_new_with_attributes("", renderer, "text", 0, nullptr);
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_fixed_width(column,
                                       ClientRect(DialogControl::List_1).w + kListExtraWidth);
  gtk_tree_view_append_column(view, column);
  gtk_tree_view_set_fixed_height_mode(view, TRUE);
  selection_ = gtk_tree_view_get_selection(view);
  gtk_tree_selection_set_mode(selection_, GTK_SELECTION_SINGLE);
  selectionHandler_ =
      g_signal_connect(selection_, "changed", G_CALLBACK(&DialogWidgets::OnSelectionChanged), this);
  listScroller_ = gtk_scrolled_window_new(nullptr, nullptr);
  GtkScrolledWindow* scroller = GTK_SCROLLED_WINDOW(listScroller_);
  gtk_scrolled_window_set_policy(scroller, GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_overlay_scrolling(scroller, FALSE);
  gtk_scrolled_window_set_shadow_type(scroller, GTK_SHADOW_IN);
  gtk_container_add(GTK_CONTAINER(listScroller_), listView_);
  Place(fixed, listScroller_, DialogControl::List_1, "orvel-list");

  // The interval: whole seconds from the least to the most.
  adjustment_ = gtk_adjustment_new(kIntervalDesigned, kIntervalMin, kIntervalMax + 1, 1, 1, 1);
  scrollBar_ = gtk_scrollbar_new(GTK_ORIENTATION_HORIZONTAL, adjustment_);
  gtk_range_set_round_digits(GTK_RANGE(scrollBar_), 0);
  scrollHandler_ = g_signal_connect(adjustment_, "value-changed",
                                    G_CALLBACK(&DialogWidgets::OnScrollChanged), this);
  Place(fixed, scrollBar_, DialogControl::HS_CD, "orvel-interval");

  // The repeat drop-down: a list to choose from and a field to type in.
  repeat_ = gtk_combo_box_text_new_with_entry();
  repeatEntry_ = gtk_bin_get_child(GTK_BIN(repeat_));
  gtk_entry_set_width_chars(GTK_ENTRY(repeatEntry_), 1);
  repeatHandler_ =
      g_signal_connect(repeatEntry_, "changed", G_CALLBACK(&DialogWidgets::OnRepeatChanged), this);
  Place(fixed, repeat_, DialogControl::BGM_Repeat, "orvel-repeat");
}

bool DialogWidgets::Show(DialogControl control, const DialogState& state) {
  switch (control) {
    case DialogControl::List_1:
      ShowList(state);
      return true;
    case DialogControl::HS_CD:
      ShowScroll(state);
      return true;
    case DialogControl::BGM_Repeat:
      ShowRepeat(state);
      return true;
    default:
      return false;
  }
}

GtkWidget* DialogWidgets::Widget(DialogControl control) const {
  switch (control) {
    case DialogControl::List_1:
      return listScroller_;
    case DialogControl::HS_CD:
      return scrollBar_;
    case DialogControl::BGM_Repeat:
      return repeat_;
    default:
      return nullptr;
  }
}

void DialogWidgets::ShowList(const DialogState& state) {
  g_signal_handler_block(selection_, selectionHandler_);
  GtkTreeView* view = GTK_TREE_VIEW(listView_);
  if (state.listEntries != listShown_) {
    // Filled apart from the view and handed over whole: a view that sees
    // every row arrive lays itself out again for each.
    GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
    for (const std::string& entry : state.listEntries) AppendRow(store, entry);
    gtk_tree_view_set_model(view, GTK_TREE_MODEL(store));
    g_object_unref(store);
    listShown_ = state.listEntries;
    // A list without a cursor selects its first row on its own when it
    // takes the focus, which is no choice of the user's: the cursor stands
    // on the first row from the start, unselected.
    if (!listShown_.empty()) {
      GtkTreePath* first = gtk_tree_path_new_first();
      gtk_tree_view_set_cursor(view, first, nullptr, FALSE);
      gtk_tree_path_free(first);
      gtk_tree_selection_unselect_all(selection_);
    }
  }
  const int selected = state.listSelection;
  if (selected < 0 || selected >= static_cast<int>(listShown_.size())) {
    gtk_tree_selection_unselect_all(selection_);
  } else if (SelectedRow(selection_) != selected) {
    GtkTreePath* path = gtk_tree_path_new_from_indices(selected, -1);
    gtk_tree_view_set_cursor(view, path, nullptr, FALSE);
    gtk_tree_path_free(path);
  }
  gtk_widget_set_sensitive(listScroller_, state[DialogControl::List_1].enabled);
  g_signal_handler_unblock(selection_, selectionHandler_);
}

void DialogWidgets::ShowScroll(const DialogState& state) {
  g_signal_handler_block(adjustment_, scrollHandler_);
  if (std::lround(gtk_adjustment_get_value(adjustment_)) != state.scrollPosition) {
    gtk_adjustment_set_value(adjustment_, state.scrollPosition);
  }
  gtk_widget_set_sensitive(scrollBar_, state[DialogControl::HS_CD].enabled);
  g_signal_handler_unblock(adjustment_, scrollHandler_);
}

void DialogWidgets::ShowRepeat(const DialogState& state) {
  g_signal_handler_block(repeatEntry_, repeatHandler_);
  GtkComboBoxText* combo = GTK_COMBO_BOX_TEXT(repeat_);
  if (state.repeatEntries != repeatShown_) {
    gtk_combo_box_text_remove_all(combo);
    for (const std::string& entry : state.repeatEntries) {
      gtk_combo_box_text_append_text(combo, entry.c_str());
    }
    repeatShown_ = state.repeatEntries;
  }
  const ControlState& shown = state[DialogControl::BGM_Repeat];
  if (shown.text != gtk_entry_get_text(GTK_ENTRY(repeatEntry_))) {
    gtk_entry_set_text(GTK_ENTRY(repeatEntry_), shown.text.c_str());
  }
  gtk_widget_set_sensitive(repeat_, shown.enabled);
  g_signal_handler_unblock(repeatEntry_, repeatHandler_);
}

void DialogWidgets::OnSelectionChanged(GtkTreeSelection* selection, gpointer self) {
  const int index = SelectedRow(selection);
  if (index >= 0) static_cast<DialogWidgets*>(self)->events_.listSelected(index);
}

void DialogWidgets::OnScrollChanged(GtkAdjustment* adjustment, gpointer self) {
  const int position = static_cast<int>(std::lround(gtk_adjustment_get_value(adjustment)));
  static_cast<DialogWidgets*>(self)->events_.scrollMoved(position);
}

void DialogWidgets::OnRepeatChanged(GtkEditable* entry, gpointer self) {
  static_cast<DialogWidgets*>(self)->events_.repeatEdited(gtk_entry_get_text(GTK_ENTRY(entry)));
}

}  // namespace orvel

// The settings dialog's native controls on Linux: the picture list, the
// interval scroll bar and the editable repeat drop-down, placed by the
// control table and kept in step with the dialog's state. What the user does
// to them goes to the callbacks; what the state says goes back to them
// without calling the callbacks again.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog/dialog_state.h"

namespace orvel {

struct NativeControlEvents {
  std::function<void(int index)> listSelected;
  std::function<void(int position)> scrollMoved;
  std::function<void(const std::string& text)> repeatEdited;
};

class DialogWidgets {
 public:
  // Creates the three controls on `fixed`, at their client rectangles.
  DialogWidgets(GtkFixed* fixed, NativeControlEvents events);
  DialogWidgets(const DialogWidgets&) = delete;
  DialogWidgets& operator=(const DialogWidgets&) = delete;

  // Shows what the state says about the control (List_1, HS_CD or
  // BGM_Repeat); false for any other control.
  bool Show(DialogControl control, const DialogState& state);

  // The control's outermost widget; nullptr for a control that is not one
  // of the three.
  GtkWidget* Widget(DialogControl control) const;

  // The picture list's widget that holds the rows.
  GtkTreeView* ListView() const { return GTK_TREE_VIEW(listView_); }
  // The repeat drop-down's text field.
  GtkEntry* RepeatEntry() const { return GTK_ENTRY(repeatEntry_); }

 private:
  void ShowList(const DialogState& state);
  void ShowScroll(const DialogState& state);
  void ShowRepeat(const DialogState& state);

  static void OnSelectionChanged(GtkTreeSelection* selection, gpointer self);
  static void OnScrollChanged(GtkAdjustment* adjustment, gpointer self);
  static void OnRepeatChanged(GtkEditable* entry, gpointer self);

  NativeControlEvents events_;
  GtkWidget* listScroller_ = nullptr;
  GtkWidget* listView_ = nullptr;
  GtkTreeSelection* selection_ = nullptr;
  gulong selectionHandler_ = 0;
  std::vector<std::string> listShown_;

  GtkWidget* scrollBar_ = nullptr;
  GtkAdjustment* adjustment_ = nullptr;
  gulong scrollHandler_ = 0;

  GtkWidget* repeat_ = nullptr;
  GtkWidget* repeatEntry_ = nullptr;
  gulong repeatHandler_ = 0;
  std::vector<std::string> repeatShown_;
};

}  // namespace orvel

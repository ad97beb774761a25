// The settings dialog's window in memory: every request recorded in the
// log, the choosers and the pointer answered from what a test sets up.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/call_log.h"
#include "platform/platform.h"

namespace orvel {

class HeadlessDialogView : public DialogView {
 public:
  explicit HeadlessDialogView(CallLog& log) : log_(log) {}

  Rect monitor{0, 0, 1280, 1024};
  std::optional<ScreenPoint> pointer = ScreenPoint{100, 200};
  // The choosers' answers, taken one per call; nullopt (or none left) is a
  // cancelled chooser.
  std::deque<std::optional<std::string>> folderChoices;
  std::deque<std::optional<std::string>> fileChoices;
  // Runs at each event pass, as a user acting while the dialog works.
  std::function<void()> onEvents;

  // What the dialog asked for.
  Rect placed;
  std::vector<DialogControl> changed;
  std::vector<std::string> messages;
  std::vector<FileRequest> fileRequests;
  int eventPasses = 0;
  bool busy = false;
  bool closed = false;

  void Changed(DialogControl control) override { changed.push_back(control); }
  Rect PrimaryMonitor() override { return monitor; }
  void Place(const Rect& frame) override;
  Rect WindowRect() override { return closed ? Rect{} : placed; }
  std::optional<ScreenPoint> PointerPosition() override { return pointer; }
  void AnimateZoom(const Rect& from, const Rect& to) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  std::optional<std::string> ChooseFile(const FileRequest& request) override;
  void OpenLink(const std::string& address) override { log_.Add("OpenLink " + address); }
  void ShowMessage(const std::string& text) override;
  void ProcessPendingEvents() override;
  void SetBusyPointer(bool isBusy) override;
  void Close() override;

 private:
  CallLog& log_;
};

}  // namespace orvel

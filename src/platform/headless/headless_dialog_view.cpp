#include "platform/headless/headless_dialog_view.h"

namespace orvel {
namespace {

std::string Describe(const Rect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
         std::to_string(r.h);
}

std::optional<std::string> Take(std::deque<std::optional<std::string>>& answers) {
  if (answers.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

}  // namespace

void HeadlessDialogView::Place(const Rect& frame) {
  placed = frame;
  log_.Add("Place " + Describe(frame));
}

void HeadlessDialogView::AnimateZoom(const Rect& from, const Rect& to) {
  log_.Add("Zoom " + Describe(from) + " -> " + Describe(to));
}

std::optional<std::string> HeadlessDialogView::ChooseFolder(const std::string& title) {
  log_.Add("ChooseFolder " + title);
  return Take(folderChoices);
}

std::optional<std::string> HeadlessDialogView::ChooseFile(const FileRequest& request) {
  log_.Add("ChooseFile " + request.title);
  fileRequests.push_back(request);
  return Take(fileChoices);
}

void HeadlessDialogView::ShowMessage(const std::string& text) {
  log_.Add("Message " + text);
  messages.push_back(text);
}

void HeadlessDialogView::ProcessPendingEvents() {
  ++eventPasses;
  if (onEvents) onEvents();
}

void HeadlessDialogView::SetBusyPointer(bool isBusy) {
  busy = isBusy;
  log_.Add(isBusy ? "Busy" : "Arrow");
}

void HeadlessDialogView::Close() {
  log_.Add("Close");
  closed = true;
}

}  // namespace orvel

#include "commands/command_runner.h"

#include "output/report_writer.h"

namespace kvr::render {

CommandRunner::CommandRunner(Reference* reference, std::string report_folder, std::ostream& errors)
    : reference_(reference), report_folder_(std::move(report_folder)), errors_(errors) {}

bool CommandRunner::run(Command command, const FrameView& view, const std::vector<Node>& nodes) {
  switch (command) {
    case Command::PinReference:
      if (reference_ == nullptr || view.records == nullptr) return false;
      if (!reference_->configured()) {
        errors_ << "KvrRun: " << (view.scene ? view.scene->file : std::string("the scene"))
                << " names no reference to pin\n";
        return false;
      }
      reference_->pin(*view.records);
      return true;
    case Command::ClearReference:
      if (reference_ == nullptr || !reference_->pinned()) return false;
      reference_->clear();
      return true;
    case Command::WriteReport:
      write_report(view, report_folder_, errors_);
      return false;
    case Command::FocusNext:
      focus_.next(reachable_focusables(nodes, view));
      return true;
    case Command::FocusPrevious:
      focus_.previous(reachable_focusables(nodes, view));
      return true;
  }
  return false;
}

}  // namespace kvr::render

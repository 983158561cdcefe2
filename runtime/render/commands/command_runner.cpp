#include "commands/command_runner.h"

#include "humidity_setting.h"
#include "moisture.h"
#include "output/report_writer.h"
#include "settings_edit.h"

namespace kvr::render {

CommandRunner::CommandRunner(Reference* reference, std::string report_folder, std::ostream& errors)
    : reference_(reference), report_folder_(std::move(report_folder)), errors_(errors) {}

void CommandRunner::use_settings(const Settings& settings) {
  house_views_.humidity = settings.indoor_humidity;
  house_views_.palette = settings.palette;
  settings_file_ = settings.file;
}

namespace {

// Opens `view`, or closes it when it is the one open.
void toggle(HouseViews& views, HouseViews::Shown view) {
  views.shown = views.shown == view ? HouseViews::Shown::None : view;
}

}  // namespace

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
    case Command::ShowComposition:
      toggle(house_views_, HouseViews::Shown::Composition);
      return true;
    case Command::ShowMoisture:
      toggle(house_views_, HouseViews::Shown::Moisture);
      return true;
    case Command::ShowImprovements:
      toggle(house_views_, HouseViews::Shown::Improvements);
      return true;
    case Command::HumidityDown:
    case Command::HumidityUp: {
      int stepped =
          house::step_humidity(house_views_.humidity, command == Command::HumidityUp ? 1 : -1);
      if (stepped == house_views_.humidity) return false;
      house_views_.humidity = stepped;
      // Kept for the next run; the run goes on with it either way.
      if (!settings_file_.empty()) house::save_humidity(settings_file_, stepped, errors_);
      return true;
    }
    case Command::TogglePalette: {
      bool cividis = house_views_.palette == Palette::Standard;
      house_views_.palette = cividis ? Palette::Cividis : Palette::Standard;
      if (!settings_file_.empty())
        save_setting(settings_file_, "view", "palette", cividis ? "cividis" : "standard",
                     "the palette", errors_);
      return true;
    }
  }
  return false;
}

}  // namespace kvr::render

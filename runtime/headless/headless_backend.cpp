// The headless backend: pointer states from a script, nothing on screen,
// on request a PNG of the scene after chosen actions, and the runtime's
// commands (reference, report, focus) after chosen calls.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "backend.h"
#include "headless_input.h"
#include "pointer_script.h"
#ifdef KVR_HAVE_RENDER
#include "commands/command_runner.h"
#include "frame/scene_renderer.h"
#include "output/png_writer.h"
#include "widgets/focus_navigator.h"
#endif

namespace kvr {

namespace {

std::optional<std::vector<PointerRun>>& given_input() {
  static std::optional<std::vector<PointerRun>> runs;
  return runs;
}

class HeadlessBackend final : public Backend {
 public:
  bool open(const Settings& settings) override {
    settings_ = settings;
    if (given_input()) {
      runs_ = std::move(*given_input());
      given_input().reset();
    } else if (!settings.input.empty()) {
      PointerScriptResult result = load_pointer_script(settings.input);
      if (!result.script) {
        std::cerr << result.error << '\n';
        return false;
      }
      runs_ = std::move(result.script->runs);
    }
    next_run_ = 0;
    used_up_ = runs_.empty();
    if (!used_up_) left_in_run_ = runs_[0].count;
#ifndef KVR_HAVE_RENDER
    if (!settings.png_dir.empty() && !settings.png_after.empty())
      std::cerr << "KvrRun: this build cannot draw; png_dir ignored\n";
    if (!settings.commands.empty())
      std::cerr << "KvrRun: this build cannot draw; commands ignored\n";
#else
    runner_ =
        std::make_unique<render::CommandRunner>(reference_, settings.screenshot_dir, std::cerr);
    runner_->use_settings(settings);
#endif
    return true;
  }

  void show(const FrameView& shown, int action, std::string_view name) override {
    ++sequence_;
    FrameView view = shown;
#ifdef KVR_HAVE_RENDER
    // The runtime's own views of the house are the commands' to open.
    view.house_views = &runner_->house_views();
    // The commands of a call run before its picture, which shows them.
    for (const ScheduledCommand& c : settings_.commands)
      if (c.exec == sequence_ && view.scene != nullptr) runner_->run(c.command, view, nodes(view));
#endif
    if (settings_.png_dir.empty() || settings_.png_after.empty()) return;
    bool wanted = false;
    for (const std::string& after : settings_.png_after) wanted = wanted || after == name;
    if (!wanted) return;
    (void)action;
#ifdef KVR_HAVE_RENDER
    char number[16];
    std::snprintf(number, sizeof number, "%04llu", static_cast<unsigned long long>(sequence_));
    std::string path = settings_.png_dir + "/" + number + "-" + std::string(name) + ".png";
    PointerLook look;
    if (runner_->focus().ring_shown() && view.scene != nullptr) {
      render::FocusReach reach = render::reachable_focusables(nodes(view), view);
      runner_->focus().enter(reach);
      look.focus = runner_->focus().mark(reach);
    }
    write_scene_png(path, view, settings_.png_width, settings_.png_height, look);
#else
    (void)view;
#endif
  }

  void poll(std::int32_t* x, std::int32_t* y, std::int32_t* buttons) override {
    if (used_up_) {
      *x = last_x_;
      *y = last_y_;
      *buttons = 0;
      return;
    }
    const PointerRun& run = runs_[next_run_];
    *x = last_x_ = run.x;
    *y = last_y_ = run.y;
    *buttons = run.buttons;
    if (--left_in_run_ == 0) {
      if (++next_run_ == runs_.size()) {
        used_up_ = true;
      } else {
        left_in_run_ = runs_[next_run_].count;
      }
    }
  }

  bool wants_end() const override {
    return used_up_;
  }

  // Every animation starts "at a negative time", which the scene state draws
  // as finished: headless pictures never catch a transition halfway.
  double now() const override {
    return -1.0;
  }

  void close() override {}

 private:
#ifdef KVR_HAVE_RENDER
  // The scene's compiled elements, for the focus; compiled when first needed.
  const std::vector<render::Node>& nodes(const FrameView& view) {
    if (!renderer_ || scene_ != view.scene) {
      renderer_ = std::make_unique<SceneRenderer>(*view.scene);
      scene_ = view.scene;
    }
    return renderer_->nodes();
  }

  std::unique_ptr<render::CommandRunner> runner_;
  std::unique_ptr<SceneRenderer> renderer_;
  const Scene* scene_ = nullptr;
#endif
  Settings settings_;
  std::vector<PointerRun> runs_;
  std::size_t next_run_ = 0;
  std::uint32_t left_in_run_ = 0;
  bool used_up_ = true;
  std::int32_t last_x_ = 0;
  std::int32_t last_y_ = 0;
  std::uint64_t sequence_ = 0;
};

}  // namespace

void give_next_headless_input(std::vector<PointerRun> runs) {
  given_input() = std::move(runs);
}

std::unique_ptr<Backend> make_headless_backend() {
  return std::make_unique<HeadlessBackend>();
}

}  // namespace kvr

// The headless backend: pointer states from a script, nothing on screen,
// and on request a PNG of the scene after chosen actions.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "backend.h"
#include "headless_input.h"
#include "pointer_script.h"
#ifdef KVR_HAVE_RENDER
#include "scene_renderer.h"
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
#endif
    return true;
  }

  void show(const FrameView& view, int action, std::string_view name) override {
    ++sequence_;
    if (settings_.png_dir.empty() || settings_.png_after.empty()) return;
    bool wanted = false;
    for (const std::string& after : settings_.png_after) wanted = wanted || after == name;
    if (!wanted) return;
    (void)action;
#ifdef KVR_HAVE_RENDER
    char number[16];
    std::snprintf(number, sizeof number, "%04llu", static_cast<unsigned long long>(sequence_));
    std::string path = settings_.png_dir + "/" + number + "-" + std::string(name) + ".png";
    write_scene_png(path, view, settings_.png_width, settings_.png_height);
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

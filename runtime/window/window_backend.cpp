// The window backend of KvrRun: an SDL2 window that Cairo draws into, and
// pointer states taken from SDL's event queue.
//
// The program polls back to back (waits for release, the intro choice, the
// results view) and plays "HOME" twice per frame. The window keeps that
// cheap and quiet: a frame is drawn only when something it shows changed
// (bound record bytes, flags, animations, the lit button, the window size),
// at most once per display refresh, and only the rectangles that changed
// are drawn and sent. A poll that would hand the program what it handed it
// last, while nothing the program shows changed since, sleeps until an
// event or the next frame of an animation: the program only changes in
// answer to input, so until then it would only repeat itself. Before each
// such sleep the core flushes the trace (before_wait), so that the trace
// file holds every frame up to the one on screen.
#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backend.h"
#include "frame/scene_renderer.h"
#include "frame_pacing.h"
#include "output/png_writer.h"
#include "runtime_controls.h"
#include "sdl_keys.h"
#include "steady_polls.h"
#include "widgets/button_roles.h"
#include "window_canvas.h"
#include "window_input.h"
#include "window_opening.h"

namespace kvr {

namespace {

class WindowBackend final : public Backend {
 public:
  ~WindowBackend() override { close(); }

  bool open(const Settings& settings) override {
    settings_ = settings;
    // The window surface is SDL's own framebuffer (shared memory under
    // X11): no renderer, no texture, no OpenGL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // A tap on a touch screen arrives as a left click.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "1");
    controls_ = std::make_unique<RuntimeControls>(reference_, settings.screenshot_dir, std::cerr);
    controls_->use_settings(settings);
    input_.set_button_lookup([this](std::int32_t x, std::int32_t y) {
      return scene_renderer_ ? render::action_at(scene_renderer_->nodes(), view_, x, y,
                                                 scene_renderer_->placements(view_))
                             : render::ButtonAction{};
    });
    window_ = open_window(settings, sdl_started_, fullscreen_);
    if (window_ == nullptr) {
      close();
      return false;
    }
    SDL_SetWindowMinimumSize(window_, 320, 240);
    canvas_ = std::make_unique<WindowCanvas>(window_);
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0)
      pacing_.set_interval(1.0 / mode.refresh_rate);
    start_ = std::chrono::steady_clock::now();
    pacing_.invalidate();
    return true;
  }

  void show(const FrameView& view, int action, std::string_view /*name*/) override {
    // Once the window is closed nothing is drawn and no page is held: the
    // program only has to reach its end.
    if (window_ == nullptr || ended_) return;
    view_ = view;
    view_.house_views = &controls_->house_views();
    // Input is read by poll() only: a frame's two "HOME" calls cost no
    // round trip to the display.
    if (view.scene != scene_) {
      scene_ = view.scene;
      scene_renderer_ = scene_ != nullptr ? std::make_unique<SceneRenderer>(*scene_) : nullptr;
      pacing_.invalidate();
    }
    note_changes();
    if (pacing_.due(clock())) present();
    bool hold = scene_ != nullptr && action >= 0 &&
                static_cast<std::size_t>(action) < scene_->actions.size() &&
                scene_->actions[static_cast<std::size_t>(action)].hold;
    if (hold) hold_until_dismissed();
  }

  void poll(std::int32_t* x, std::int32_t* y, std::int32_t* buttons) override {
    if (!ended_) {
      pump();
      for (;;) {
        if (ended_) break;
        note_changes();
        if (pacing_.due(clock())) present();
        if (input_.pending() || !steady_.steady(input_.peek(), watch_.snapshot())) break;
        wait_for_event(pacing_.wait_ms(clock()));
      }
    }
    if (ended_) {
      // Every wait and modal loop of the program ends on one of these two:
      // a right press ends the intro choice and the results view, a release
      // ends a wait for release.
      *x = -1;
      *y = -1;
      *buttons = end_toggle_ ? 0 : 2;
      end_toggle_ = !end_toggle_;
      return;
    }
    PointerState state = input_.next();
    steady_.handed(state, watch_.snapshot());
    *x = state.x;
    *y = state.y;
    *buttons = state.buttons;
  }

  bool wants_end() const override { return ended_; }

  double now() const override { return clock(); }

  void close() override {
    scene_renderer_.reset();
    canvas_.reset();
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (sdl_started_) SDL_Quit();
    sdl_started_ = false;
  }

 private:
  double clock() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

  // Marks the picture out of date when what the program shows, the lit
  // button, the focus ring, the pinned reference or a running animation
  // says so. The ring follows what is shown (a scope that opens takes it).
  void note_changes() {
    if (view_.scene == nullptr || view_.records == nullptr) return;
    if (scene_renderer_) input_.set_focus(controls_->focus_mark(view_, *scene_renderer_));
    if (watch_.out_of_date(view_, scene_renderer_.get(), input_.look(), clock()))
      pacing_.invalidate();
  }

  void present() {
    double t = clock();
    if (canvas_ != nullptr && scene_renderer_ != nullptr)
      canvas_->present(*scene_renderer_, view_, t, input_.look());
    watch_.drawn();
    pacing_.drawn(t, FrameWatch::animating(view_, t));
  }

  // Sleeps until an event comes (`ms` < 0) or at most `ms`, then reads
  // every event there is.
  void wait_for_event(int ms) {
    before_wait();
    SDL_Event event;
    int got = ms < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, ms);
    if (got != 1) return;
    handle(event);
    pump();
  }

  void pump() {
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) handle(event);
    input_.set_viewport(viewport());
  }

  Viewport viewport() const {
    Viewport v;
    if (window_ == nullptr) return v;
    int ww = 0, wh = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetWindowSizeInPixels(window_, &pw, &ph);
    v.window_width = ww;
    v.window_height = wh;
    v.pixel_width = pw;
    v.pixel_height = ph;
    if (scene_ != nullptr) {
      v.layout_width = scene_->width;
      v.layout_height = scene_->height;
    }
    return v;
  }

  void handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        end_run();
        break;
      case SDL_WINDOWEVENT:
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            end_run();
            break;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
          case SDL_WINDOWEVENT_RESTORED:
            // Drawn at the next refresh, at the size the window has then.
            pacing_.invalidate();
            break;
          case SDL_WINDOWEVENT_EXPOSED:
            if (canvas_ != nullptr) canvas_->exposed();
            pacing_.invalidate();
            break;
          default:
            break;
        }
        break;
      case SDL_MOUSEMOTION:
        input_.set_viewport(viewport());
        input_.motion(event.motion.x, event.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        input_.set_viewport(viewport());
        if (event.type == SDL_MOUSEBUTTONDOWN) controls_->pointer_pressed();
        input_.button(physical_button(event.button.which, event.button.button),
                      event.type == SDL_MOUSEBUTTONDOWN, event.button.x, event.button.y);
        // A command button's click is the runtime's: it changes what is
        // shown, never what the program sees, so it is drawn at once.
        if (std::optional<Command> clicked = input_.take_command();
            clicked && scene_renderer_ && !holding_ &&
            controls_->command(*clicked, view_, *scene_renderer_))
          pacing_.invalidate();
        break;
      case SDL_KEYDOWN:
        key(event.key);
        break;
      default:
        break;
    }
  }

  void key(const SDL_KeyboardEvent& event) {
    KeyAction action = key_action(key_from_sdl(event.keysym.sym),
                                  (event.keysym.mod & KMOD_SHIFT) != 0, event.repeat != 0);
    if (action.kind == KeyAction::Kind::EndRun) {
      end_run();
    } else if (action.kind == KeyAction::Kind::Fullscreen && window_ != nullptr) {
      fullscreen_ = !fullscreen_;
      SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
      pacing_.invalidate();
    } else if (action.kind == KeyAction::Kind::Screenshot) {
      screenshot();
    } else {
      key_pressed_ = true;
      // On a held page every other key only dismisses it. A key that pins,
      // clears or moves the ring leaves the program's state as it is, so
      // the waiting poll draws it without waking the program; Enter on a
      // program's control queues its click, which ends the wait.
      if (!holding_ && !ended_ && scene_renderer_ &&
          controls_->key(action, view_, *scene_renderer_, input_))
        pacing_.invalidate();
    }
  }

  void screenshot() {
    if (view_.scene == nullptr || window_ == nullptr) return;
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(window_, &w, &h);
    char stamp[32];
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::filesystem::path dir = settings_.screenshot_dir.empty() ? "." : settings_.screenshot_dir;
    std::filesystem::path path = dir / (std::string("maison-") + stamp + ".png");
    for (int n = 2; std::filesystem::exists(path); ++n)
      path = dir / (std::string("maison-") + stamp + "-" + std::to_string(n) + ".png");
    if (write_scene_png(path.string(), view_, w, h, PointerLook{}, "the screenshot"))
      std::cerr << "screenshot: " << path.string() << "\n";
  }

  // The window was closed or Escape pressed: the window goes at once and
  // the program is led out through its normal end.
  void end_run() {
    if (ended_) return;
    ended_ = true;
    if (window_ != nullptr) SDL_HideWindow(window_);
  }

  // A "hold" action stays on screen until a click or a key; that click is
  // the runtime's own and never reaches the program.
  void hold_until_dismissed() {
    holding_ = true;
    input_.clear();
    key_pressed_ = false;
    bool pressed = false;
    while (!ended_) {
      note_changes();
      if (pacing_.due(clock())) present();
      SDL_Event event;
      int ms = pacing_.wait_ms(clock());
      before_wait();
      int got = ms < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, ms);
      if (got != 1) continue;
      if (event.type == SDL_MOUSEBUTTONDOWN) pressed = true;
      bool released = event.type == SDL_MOUSEBUTTONUP && pressed;
      handle(event);
      if (key_pressed_ || released) break;
    }
    input_.clear();
    key_pressed_ = false;
    holding_ = false;
    steady_.forget();
  }

  Settings settings_;
  bool sdl_started_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<WindowCanvas> canvas_;
  bool fullscreen_ = false;

  const Scene* scene_ = nullptr;
  std::unique_ptr<SceneRenderer> scene_renderer_;
  FrameView view_;

  PointerInput input_;
  std::unique_ptr<RuntimeControls> controls_;
  bool holding_ = false;
  SteadyPolls steady_;
  bool ended_ = false;
  bool end_toggle_ = false;
  bool key_pressed_ = false;

  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  FramePacing pacing_;
  FrameWatch watch_;
};

}  // namespace

std::unique_ptr<Backend> make_window_backend() {
  return std::make_unique<WindowBackend>();
}

}  // namespace kvr

// The window backend of KvrRun: an SDL2 window that Cairo draws into, and
// pointer states taken from SDL's event queue.
//
// The program polls back to back (waits for release, the intro choice, the
// results view) and plays "HOME" twice per frame. This backend keeps that
// cheap: a frame is drawn only when something it shows has changed (bound
// record bytes, flags, animations, the lit button, the window size), at most
// once per display refresh, and a poll that follows an idle frame waits a few
// milliseconds for an event instead of spinning.
#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "backend.h"
#include "button_roles.h"
#include "runtime_controls.h"
#include "scene_renderer.h"
#include "sdl_keys.h"
#include "window_input.h"

namespace kvr {

namespace {

// How long a poll after an idle frame waits for an event.
constexpr int kIdleWaitMs = 8;

class WindowBackend final : public Backend {
 public:
  ~WindowBackend() override { close(); }

  bool open(const Settings& settings) override {
    settings_ = settings;
    // Measured under Xvfb and on plain machines: the software renderer with
    // framebuffer acceleration off presents in about 0.2 ms with 20 MB
    // resident, against about 2 ms and 108 MB for the OpenGL path.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // A tap on a touch screen arrives as a left click.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "1");
    controls_ = std::make_unique<RuntimeControls>(reference_, settings.screenshot_dir, std::cerr);
    input_.set_button_lookup([this](std::int32_t x, std::int32_t y) {
      return scene_renderer_ ? render::action_at(scene_renderer_->nodes(), view_, x, y)
                             : render::ButtonAction{};
    });
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      std::cerr << "KvrRun: cannot open a window: " << SDL_GetError()
                << " (set backend = headless in kvr.ini, or KVR_BACKEND=headless)\n";
      return false;
    }
    sdl_started_ = true;
    // Without a display SDL falls back to its offscreen or dummy driver and
    // "opens" a window nobody can see or close, so the run would never end.
    // Unless such a driver was asked for by name, that is no window at all.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (asked == nullptr || *asked == '\0') &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
      std::cerr << "KvrRun: no display to open a window on (set DISPLAY, or backend = headless "
                   "in kvr.ini, or KVR_BACKEND=headless)\n";
      close();
      return false;
    }
    int width = settings.window_width, height = settings.window_height;
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (settings.window_mode == Settings::WindowMode::Fit) {
      SDL_Rect usable{0, 0, 800, 600};
      if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        WindowSize fitted = fit_window(usable.w, usable.h);
        width = fitted.width;
        height = fitted.height;
      }
    } else if (settings.window_mode == Settings::WindowMode::Fullscreen) {
      flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
      fullscreen_ = true;
    }
    width = std::max(width, 160);
    height = std::max(height, 120);
    window_ = SDL_CreateWindow(settings.window_title.c_str(), SDL_WINDOWPOS_CENTERED,
                               SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (window_ == nullptr) {
      std::cerr << "KvrRun: cannot open a window: " << SDL_GetError() << "\n";
      close();
      return false;
    }
    SDL_SetWindowMinimumSize(window_, 320, 240);
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
      std::cerr << "KvrRun: cannot draw into the window: " << SDL_GetError() << "\n";
      close();
      return false;
    }
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window_, &mode) == 0 && mode.refresh_rate > 0)
      frame_interval_ = 1.0 / mode.refresh_rate;
    start_ = std::chrono::steady_clock::now();
    dirty_ = true;
    return true;
  }

  void show(const FrameView& view, int action, std::string_view /*name*/) override {
    // Once the window is closed nothing is drawn and no page is held: the
    // program only has to reach its end.
    if (window_ == nullptr || ended_) return;
    view_ = view;
    // Input is read by poll() only: a frame's two "HOME" calls cost no
    // round trip to the display.
    if (view.scene != scene_) {
      scene_ = view.scene;
      scene_renderer_ = scene_ != nullptr ? std::make_unique<SceneRenderer>(*scene_) : nullptr;
      dirty_ = true;
    }
    note_changes();
    if (dirty_ && due()) present();
    bool hold = scene_ != nullptr && action >= 0 &&
                static_cast<std::size_t>(action) < scene_->actions.size() &&
                scene_->actions[static_cast<std::size_t>(action)].hold;
    if (hold) hold_until_dismissed();
  }

  void poll(std::int32_t* x, std::int32_t* y, std::int32_t* buttons) override {
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
    if (input_.pending()) {
      pump();
    } else {
      if (view_.scene != nullptr) note_changes();
      bool woke = false;
      if (dirty_ && !due()) {
        // A frame is waiting for the display's next refresh.
        woke = wait_for_event(static_cast<int>(std::ceil((next_due_ - clock()) * 1000.0)));
      } else if (!dirty_ && !active_) {
        woke = wait_for_event(kIdleWaitMs);
      } else {
        pump();
        woke = true;
      }
      if (woke && view_.scene != nullptr) note_changes();
      if (dirty_ && due() && window_ != nullptr && !ended_) present();
    }
    active_ = false;
    PointerState state = input_.next();
    *x = state.x;
    *y = state.y;
    *buttons = state.buttons;
  }

  bool wants_end() const override { return ended_; }

  double now() const override { return clock(); }

  void close() override {
    scene_renderer_.reset();
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (sdl_started_) SDL_Quit();
    sdl_started_ = false;
  }

 private:
  double clock() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

  bool due() const { return clock() >= next_due_; }

  // Compares what the next frame would show with what is on screen.
  void note_changes() {
    if (view_.scene == nullptr || view_.records == nullptr) return;
    snapshot_.clear();
    const auto& records = *view_.records;
    for (std::size_t i = 0; i < records.size() && i < view_.scene->variables.size(); ++i) {
      if (records[i] == nullptr) continue;
      const auto* bytes = static_cast<const unsigned char*>(records[i]);
      snapshot_.insert(snapshot_.end(), bytes, bytes + record_size(view_.scene->variables[i].kind));
    }
    if (view_.state != nullptr) {
      const auto* f = reinterpret_cast<const unsigned char*>(&view_.state->flags);
      snapshot_.insert(snapshot_.end(), f, f + sizeof view_.state->flags);
      const auto* a = reinterpret_cast<const unsigned char*>(view_.state->animation_start.data());
      snapshot_.insert(snapshot_.end(), a,
                       a + view_.state->animation_start.size() * sizeof(double));
    }
    // Which button the pointer lights changes only with the pointer or with
    // what is shown: asked again only then.
    if (scene_renderer_) input_.set_focus(controls_->focus_mark(view_, *scene_renderer_));
    PointerLook pointer = input_.look();
    bool same_records = snapshot_ == checked_;
    if (!same_records || !(pointer == checked_pointer_)) {
      look_ = scene_renderer_ ? scene_renderer_->look_key(view_, pointer) : -1;
      checked_pointer_ = pointer;
      if (!same_records) checked_ = snapshot_;
    }
    if (snapshot_ != shown_ || look_ != shown_look_) {
      dirty_ = true;
      active_ = true;
    }
    if (animating()) dirty_ = true;
  }

  bool animating() const {
    if (view_.state == nullptr || view_.scene == nullptr) return false;
    double t = clock();
    for (std::size_t i = 0; i < view_.scene->animations.size(); ++i) {
      if (view_.state->progress(*view_.scene, static_cast<int>(i), t) < 1.0) return true;
    }
    return false;
  }

  void present() {
    if (renderer_ == nullptr || scene_renderer_ == nullptr) return;
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w < 1 || h < 1) return;
    if (texture_ == nullptr || w != texture_w_ || h != texture_h_) {
      if (texture_ != nullptr) SDL_DestroyTexture(texture_);
      texture_ =
          SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, w, h);
      if (texture_ == nullptr) return;
      texture_w_ = w;
      texture_h_ = h;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        static_cast<unsigned char*>(pixels), CAIRO_FORMAT_RGB24, w, h, pitch);
    cairo_t* cr = cairo_create(surface);
    double t = clock();
    PointerLook look = input_.look();
    scene_renderer_->draw(cr, w, h, view_, t, look);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    SDL_UnlockTexture(texture_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    shown_ = snapshot_;
    shown_look_ = scene_renderer_->look_key(view_, look);
    checked_ = snapshot_;
    checked_pointer_ = look;
    look_ = shown_look_;
    dirty_ = animating();
    next_due_ = t + frame_interval_;
  }

  // Waits up to `ms` for an event and reads every event there is; true
  // when one came.
  bool wait_for_event(int ms) {
    if (ms < 1) ms = 1;
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, ms) != 1) return false;
    handle(event);
    pump();
    return true;
  }

  void pump() {
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) handle(event);
    input_.set_viewport(viewport());
  }

  Viewport viewport() const {
    Viewport v;
    if (window_ == nullptr || renderer_ == nullptr) return v;
    int ww = 0, wh = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetRendererOutputSize(renderer_, &pw, &ph);
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
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) end_run();
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
            event.window.event == SDL_WINDOWEVENT_EXPOSED ||
            event.window.event == SDL_WINDOWEVENT_RESTORED) {
          dirty_ = true;
          next_due_ = 0.0;
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
        if (input_.button(physical_button(event.button.which, event.button.button),
                          event.type == SDL_MOUSEBUTTONDOWN, event.button.x, event.button.y))
          active_ = true;
        if (std::optional<Command> clicked = input_.take_command();
            clicked && scene_renderer_ && !holding_ &&
            controls_->command(*clicked, view_, *scene_renderer_))
          dirty_ = true;
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
      dirty_ = true;
    } else if (action.kind == KeyAction::Kind::Screenshot) {
      screenshot();
    } else {
      key_pressed_ = true;
      // On a held page every other key only dismisses it.
      if (!holding_ && !ended_ && scene_renderer_ &&
          controls_->key(action, view_, *scene_renderer_, input_)) {
        dirty_ = true;
        active_ = true;
      }
    }
  }

  void screenshot() {
    if (view_.scene == nullptr || renderer_ == nullptr) return;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    char stamp[32];
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::filesystem::path dir = settings_.screenshot_dir.empty() ? "." : settings_.screenshot_dir;
    std::filesystem::path path = dir / (std::string("maison-") + stamp + ".png");
    for (int n = 2; std::filesystem::exists(path); ++n)
      path = dir / (std::string("maison-") + stamp + "-" + std::to_string(n) + ".png");
    if (write_scene_png(path.string(), view_, w, h))
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
      if (dirty_ && due()) present();
      SDL_Event event;
      int ms = dirty_ ? std::max(1, static_cast<int>((next_due_ - clock()) * 1000.0)) : 100;
      if (SDL_WaitEventTimeout(&event, ms) != 1) continue;
      if (event.type == SDL_MOUSEBUTTONDOWN) pressed = true;
      bool released = event.type == SDL_MOUSEBUTTONUP && pressed;
      handle(event);
      if (key_pressed_ || released) break;
    }
    input_.clear();
    key_pressed_ = false;
    holding_ = false;
  }

  Settings settings_;
  bool sdl_started_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int texture_w_ = 0, texture_h_ = 0;
  bool fullscreen_ = false;

  const Scene* scene_ = nullptr;
  std::unique_ptr<SceneRenderer> scene_renderer_;
  FrameView view_;

  PointerInput input_;
  std::unique_ptr<RuntimeControls> controls_;
  bool holding_ = false;
  bool ended_ = false;
  bool end_toggle_ = false;
  bool key_pressed_ = false;

  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  double frame_interval_ = 1.0 / 60.0;
  double next_due_ = 0.0;
  bool dirty_ = true;
  bool active_ = true;  // something happened since the last poll
  std::vector<unsigned char> snapshot_, shown_, checked_;
  PointerLook checked_pointer_{-100000, -100000, -1, {}};
  int look_ = -1;
  int shown_look_ = -2;
};

}  // namespace

std::unique_ptr<Backend> make_window_backend() {
  return std::make_unique<WindowBackend>();
}

}  // namespace kvr

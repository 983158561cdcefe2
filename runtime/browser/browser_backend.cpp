// The browser backend of KvrRun: the page's canvas is the window. SDL2
// (Emscripten's) brings the page's mouse, touch, keyboard and size events;
// the Cairo renderer draws into a kept picture whose changed rectangles go
// to the canvas (canvas_presenter.h).
//
// The program polls back to back and waits in loops (for a release, in the
// intro and results views), which a page cannot do on the browser's thread.
// A poll that would hand the program what it handed it last, while nothing
// it shows changed, gives the thread back to the browser (Asyncify,
// page_bridge.h) until an input event or the next frame of an animation;
// the browser then shows the canvas, and the page does nothing while
// nothing happens. As in the window, a frame is drawn only when something
// it shows changed, at most once per display refresh. Reports and
// screenshots are written into a folder of the page's memory and handed to
// the browser as downloads.
#include <SDL.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <malloc.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "backend.h"
#include "canvas_presenter.h"
#include "frame/scene_renderer.h"
#include "frame_pacing.h"
#include "output/png_writer.h"
#include "page_bridge.h"
#include "page_keys.h"
#include "runtime_controls.h"
#include "steady_polls.h"
#include "touch_gestures.h"
#include "widgets/button_roles.h"
#include "window_input.h"

namespace kvr {

namespace {

// Where reports and screenshots are written before they are downloaded.
constexpr const char* kDownloads = "/tmp/telechargements";
constexpr const char* kCanvas = "#canvas";
// A program busy for longer than this without waiting gives the browser a
// turn anyway, so that the page never freezes.
constexpr double kLongestTurn = 0.1;

class BrowserBackend final : public Backend {
 public:
  ~BrowserBackend() override { close(); }

  bool open(const Settings& settings) override {
    // Touches are the gestures' (a long press is a right click), not SDL's
    // imitation of a mouse; SDL itself never sleeps.
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      std::cerr << "KvrRun: cannot use the page's canvas: " << SDL_GetError() << "\n";
      return false;
    }
    sdl_started_ = true;
    // Its size is the canvas's, set by the page's style sheet; SDL sets the
    // canvas's pixels to it times the screen's pixel ratio.
    window_ = SDL_CreateWindow(nullptr, 0, 0, settings.window_width, settings.window_height,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) {
      std::cerr << "KvrRun: cannot use the page's canvas: " << SDL_GetError() << "\n";
      close();
      return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(kDownloads, ec);
    controls_ = std::make_unique<RuntimeControls>(reference_, kDownloads, std::cerr);
    controls_->use_settings(settings);
    input_.set_button_lookup([this](std::int32_t x, std::int32_t y) {
      return renderer_
                 ? render::action_at(renderer_->nodes(), view_, x, y, renderer_->placements(view_))
                 : render::ButtonAction{};
    });
    maison_page_listen();
    start_ = std::chrono::steady_clock::now();
    turn_ = 0.0;
    pacing_.invalidate();
    return true;
  }

  void show(const FrameView& view, int action, std::string_view /*name*/) override {
    if (window_ == nullptr || ended_) return;
    view_ = view;
    view_.house_views = &controls_->house_views();
    if (view.scene != scene_) {
      scene_ = view.scene;
      renderer_ = scene_ != nullptr ? std::make_unique<SceneRenderer>(*scene_) : nullptr;
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
      if (clock() - turn_ > kLongestTurn) wait(0);
      pump();
      for (;;) {
        if (ended_) break;
        note_changes();
        if (pacing_.due(clock())) present();
        if (input_.pending() || !steady_.steady(input_.peek(), watch_.snapshot())) break;
        wait(wait_ms());
      }
    }
    if (ended_) {
      // As in the window: a right press ends the intro choice and the
      // results view, a release ends a wait for release.
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
    if (sdl_started_) maison_page_deliver(kDownloads);
    presenter_.reset();
    renderer_.reset();
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (sdl_started_) SDL_Quit();
    sdl_started_ = false;
  }

 private:
  double clock() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

  void note_changes() {
    if (view_.scene == nullptr || view_.records == nullptr) return;
    if (renderer_) input_.set_focus(controls_->focus_mark(view_, *renderer_));
    if (watch_.out_of_date(view_, renderer_.get(), input_.look(), clock())) pacing_.invalidate();
  }

  void present() {
    double t = clock();
    if (renderer_ != nullptr) {
      Viewport v = viewport();
      if (!presenter_) presenter_ = std::make_unique<CanvasPresenter>();
      presenter_->present(*renderer_, view_, t, input_.look(), v.pixel_width, v.pixel_height);
    }
    watch_.drawn();
    pacing_.drawn(t, FrameWatch::animating(view_, t));
  }

  // How long a poll may sleep: until the next frame of an animation or a
  // finger's long press, else until an event (-1).
  int wait_ms() const {
    double t = clock();
    int ms = pacing_.wait_ms(t);
    double press = touch_.deadline();
    if (press >= 0.0) {
      int left = std::max(1, static_cast<int>(std::ceil((press - t) * 1000.0)));
      ms = ms < 0 ? left : std::min(ms, left);
    }
    return ms;
  }

  // The browser's turn: files made since are downloaded, the trace is
  // flushed, and the program sleeps until an event or `ms`.
  void wait(int ms) {
    before_wait();
    maison_page_deliver(kDownloads);
    maison_page_wait(ms);
    turn_ = clock();
    pump();
  }

  void pump() {
    SDL_Event event;
    while (!dismissed_ && SDL_PollEvent(&event) == 1) handle(event);
    touch_.tick(clock());
    input_.set_viewport(viewport());
  }

  Viewport viewport() const {
    Viewport v;
    if (window_ == nullptr) return v;
    int ww = 0, wh = 0, pw = 0, ph = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    emscripten_get_canvas_element_size(kCanvas, &pw, &ph);
    v.window_width = std::max(ww, 1);
    v.window_height = std::max(wh, 1);
    v.pixel_width = std::max(pw, 1);
    v.pixel_height = std::max(ph, 1);
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
        // A new size set the canvas's pixels anew, which clears them; the
        // next frame is drawn at the size the canvas has then.
        if (event.window.event == SDL_WINDOWEVENT_RESIZED ||
            event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
            event.window.event == SDL_WINDOWEVENT_EXPOSED) {
          if (presenter_) presenter_->resend();
          pacing_.invalidate();
        }
        break;
      case SDL_MOUSEMOTION:
        if (event.motion.which == SDL_TOUCH_MOUSEID) break;
        input_.set_viewport(viewport());
        input_.motion(event.motion.x, event.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (event.button.which == SDL_TOUCH_MOUSEID) break;
        button(event.button.button, event.type == SDL_MOUSEBUTTONDOWN, event.button.x,
               event.button.y);
        break;
      case SDL_FINGERDOWN:
      case SDL_FINGERMOTION:
      case SDL_FINGERUP:
        finger(event.tfinger);
        break;
      case SDL_KEYDOWN:
        key(event.key);
        break;
      default:
        break;
    }
  }

  // A mouse button, or a touch gesture's.
  void button(int physical, bool down, double x, double y) {
    if (holding_) {
      if (down) hold_pressed_ = true;
      if (!down && hold_pressed_) dismissed_ = true;
    }
    input_.set_viewport(viewport());
    if (down) controls_->pointer_pressed();
    input_.button(physical, down, x, y);
    // A command button's click is the runtime's: drawn at once.
    if (std::optional<Command> clicked = input_.take_command();
        clicked && renderer_ && !holding_ && controls_->command(*clicked, view_, *renderer_))
      pacing_.invalidate();
  }

  void finger(const SDL_TouchFingerEvent& event) {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    double x = static_cast<double>(event.x) * ww, y = static_cast<double>(event.y) * wh;
    input_.set_viewport(viewport());
    if (event.type == SDL_FINGERDOWN) touch_.down(event.fingerId, x, y, clock());
    if (event.type == SDL_FINGERMOTION) touch_.move(event.fingerId, x, y);
    if (event.type == SDL_FINGERUP) touch_.up(event.fingerId, x, y);
  }

  void key(const SDL_KeyboardEvent& event) {
    KeyAction action = key_action(page_key(event.keysym.sym), (event.keysym.mod & KMOD_SHIFT) != 0,
                                  event.repeat != 0);
    if (action.kind == KeyAction::Kind::EndRun) {
      end_run();
    } else if (action.kind == KeyAction::Kind::Fullscreen) {
      maison_page_fullscreen();
    } else if (action.kind == KeyAction::Kind::Screenshot) {
      screenshot();
    } else if (holding_) {
      // On a held page every other key only dismisses it.
      dismissed_ = true;
    } else if (!ended_ && renderer_ && controls_->key(action, view_, *renderer_, input_)) {
      pacing_.invalidate();
    }
  }

  void screenshot() {
    if (view_.scene == nullptr || window_ == nullptr) return;
    Viewport v = viewport();
    char stamp[32];
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string path = std::string(kDownloads) + "/maison-" + stamp + ".png";
    if (write_scene_png(path, view_, v.pixel_width, v.pixel_height, PointerLook{},
                        "the screenshot"))
      std::cerr << "screenshot: " << path << "\n";
  }

  // Escape: the program is led out through its normal end, and the page
  // says the session is over.
  void end_run() { ended_ = true; }

  // A "hold" action stays on screen until a click, a tap or a key; that
  // click is the runtime's own and never reaches the program.
  void hold_until_dismissed() {
    holding_ = true;
    hold_pressed_ = false;
    dismissed_ = false;
    input_.clear();
    while (!ended_ && !dismissed_) {
      note_changes();
      if (pacing_.due(clock())) present();
      wait(wait_ms());
    }
    input_.clear();
    holding_ = false;
    dismissed_ = false;
    steady_.forget();
  }

  bool sdl_started_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<CanvasPresenter> presenter_;

  const Scene* scene_ = nullptr;
  std::unique_ptr<SceneRenderer> renderer_;
  FrameView view_;

  PointerInput input_;
  TouchGestures touch_{[this](double x, double y) { input_.motion(x, y); },
                       [this](int b, bool down, double x, double y) { button(b, down, x, y); }};
  std::unique_ptr<RuntimeControls> controls_;
  bool holding_ = false;
  bool hold_pressed_ = false;
  bool dismissed_ = false;
  SteadyPolls steady_;
  bool ended_ = false;
  bool end_toggle_ = false;

  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  double turn_ = 0.0;  // when the browser last had a turn
  FramePacing pacing_;
  FrameWatch watch_;
};

}  // namespace

std::unique_ptr<Backend> make_browser_backend() {
  return std::make_unique<BrowserBackend>();
}

}  // namespace kvr

// The bytes of the program's memory in use (malloc's count), for the page
// to watch: it must come back to the same after any number of frames.
extern "C" EMSCRIPTEN_KEEPALIVE int maison_heap_in_use(void) {
  return static_cast<int>(mallinfo().uordblks);
}

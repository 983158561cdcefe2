// Draws HOME.SP1 to a PNG without the program, for working on the scene:
//
//   render_preview SCENE OUT.png [WIDTH HEIGHT] COMMAND...
//
// Records start as the start-up house. Commands, applied in order:
//   panel:SWITCH[:A1|A2|...]    open a panel with these field texts
//   text:OBJ.VAR=value          switch:OBJ.VAR=1.0        int:OBJ.VAR=4
//   colour:OBJ.VAR=r,g,b        play:ACTION (at time 0)   now:SECONDS
//   pointer:X,Y,BUTTONS         hover and pressed looks
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/scene_renderer.h"
#include "sample_records.h"

namespace {

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::stringstream in(s);
  std::string item;
  while (std::getline(in, item, sep)) out.push_back(item);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: render_preview SCENE OUT.png [WIDTH HEIGHT] COMMAND...\n";
    return 2;
  }
  kvr::SceneLoadResult loaded = kvr::load_scene_file(argv[1]);
  if (!loaded.scene) {
    std::cerr << loaded.error << "\n";
    return 1;
  }
  const kvr::Scene& scene = *loaded.scene;
  int first = 3, width = 800, height = 600;
  if (argc >= 5 && std::atoi(argv[3]) > 0 && std::atoi(argv[4]) > 0) {
    width = std::atoi(argv[3]);
    height = std::atoi(argv[4]);
    first = 5;
  }
  kvr::sample::Records records(scene);
  records.startup_house();
  kvr::SceneState state;
  state.reset(scene);
  double now = 1e6;
  kvr::PointerLook pointer;
  for (int i = first; i < argc; ++i) {
    std::string cmd = argv[i];
    std::size_t colon = cmd.find(':');
    std::string verb = cmd.substr(0, colon);
    std::string arg = colon == std::string::npos ? "" : cmd.substr(colon + 1);
    std::size_t eq = arg.find('=');
    std::string name = arg.substr(0, eq);
    std::string value = eq == std::string::npos ? "" : arg.substr(eq + 1);
    if (verb == "panel") {
      std::vector<std::string> parts = split(arg, ':');
      std::vector<std::string> fields =
          parts.size() > 1 ? split(parts[1], '|') : std::vector<std::string>{};
      records.open_panel(parts[0], fields);
    } else if (verb == "text") {
      records.text(name, value);
    } else if (verb == "switch") {
      records.show(name, std::strtof(value.c_str(), nullptr));
    } else if (verb == "int") {
      records.integer(name, std::atoi(value.c_str()));
    } else if (verb == "colour") {
      std::vector<std::string> c = split(value, ',');
      if (c.size() == 3)
        records.colour(name, std::atoi(c[0].c_str()), std::atoi(c[1].c_str()),
                       std::atoi(c[2].c_str()));
    } else if (verb == "play") {
      if (!state.play(scene, scene.find_action(arg), 0.0))
        std::cerr << "unknown action " << arg << "\n";
    } else if (verb == "now") {
      now = std::atof(arg.c_str());
    } else if (verb == "pointer") {
      std::vector<std::string> c = split(arg, ',');
      if (c.size() == 3)
        pointer = {std::atoi(c[0].c_str()), std::atoi(c[1].c_str()), std::atoi(c[2].c_str())};
    } else {
      std::cerr << "unknown command " << cmd << "\n";
      return 2;
    }
  }
  kvr::SceneRenderer renderer(scene);
  for (const std::string& p : renderer.problems()) std::cerr << p << "\n";
  kvr::FrameView view{&scene, &state, &records.pointers()};
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  renderer.draw(cr, width, height, view, now, pointer);
  cairo_destroy(cr);
  cairo_status_t status = cairo_surface_write_to_png(surface, argv[2]);
  cairo_surface_destroy(surface);
  return status == CAIRO_STATUS_SUCCESS && renderer.problems().empty() ? 0 : 1;
}

// The renderer on small scenes of its own: layout transform, bound records,
// conditions, animations, the pointer looks and the pictures it writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "canvas.h"
#include "frame/scene_renderer.h"
#include "output/png_writer.h"
#include "sample_records.h"
#include "small_scene.h"
#include "text/text.h"

namespace {

using test::Canvas;
using test::Fixture;
using test::kPaper;
using test::kRed;
using test::Rgb;

TEST(Renderer, LayoutHasItsOriginBottomLeftAndIsLetterboxed) {
  Fixture f(R"([{"kind": "rect", "box": [0, 0, 100, 100], "fill": "#ff0000"}])");
  Canvas wide(1000, 600);  // scale 1, 100 px bars left and right
  wide.draw(f.renderer, f.view());
  EXPECT_EQ(wide.at(150, 550), kRed);   // layout (50, 50)
  EXPECT_EQ(wide.at(150, 50), kPaper);  // layout (50, 550)
  EXPECT_NE(wide.at(50, 550), kRed);    // letterbox
  EXPECT_NE(wide.at(50, 550), kPaper);
  Canvas hidpi(1600, 1200);  // scale 2: the square is 200 px
  hidpi.draw(f.renderer, f.view());
  EXPECT_EQ(hidpi.at(190, 1010), kRed);
  EXPECT_EQ(hidpi.at(210, 990), kPaper);
}

TEST(Renderer, FillsFromBoundColourRecordsWithShade) {
  Fixture f(R"([{"kind": "rect", "box": [0, 0, 100, 100], "fill": "$O.C"},
                {"kind": "rect", "box": [100, 0, 200, 100], "fill": {"var": "$O.C", "shade": 0.5}}])");
  Canvas c(800, 600);
  f.records.colour("O.C", 200, 100, 50);
  c.draw(f.renderer, f.view());
  EXPECT_EQ(c.at(50, 550), (Rgb{200, 100, 50}));
  EXPECT_EQ(c.at(150, 550), (Rgb{100, 50, 25}));
  f.records.colour("O.C", 300, -5, 0);  // out of range: clamped
  c.draw(f.renderer, f.view());
  EXPECT_EQ(c.at(50, 550), (Rgb{255, 0, 0}));
}

TEST(Renderer, ConditionsReadSwitchesIntegersTextsAndFlags) {
  struct Case {
    const char* condition;
    bool shown;
  };
  // Records below: S = 2.0, I = 4, T = "F", flag f on.
  const Case cases[] = {
      {R"({"on": "$O.S"})", true},
      {R"({"at_least": ["$O.S", 2]})", true},
      {R"({"at_least": ["$O.S", 3]})", false},
      {R"({"equals": ["$O.I", 4]})", true},
      {R"({"equals": ["$O.I", 3]})", false},
      {R"({"equals": ["$O.T", "F"]})", true},
      {R"({"equals": ["$O.T", "G"]})", false},
      {R"({"flag": "f"})", true},
      {R"({"not": {"flag": "f"}})", false},
      {R"({"all": [{"on": "$O.S"}, {"equals": ["$O.I", 3]}]})", false},
      {R"({"any": [{"equals": ["$O.I", 3]}, {"on": "$O.T"}]})", true},
  };
  for (const Case& k : cases) {
    Fixture f(std::string(R"([{"kind": "rect", "box": [0, 0, 100, 100], "fill": "#ff0000",
                               "visible": )") +
              k.condition + "}]");
    f.records.show("O.S", 2.0f);
    f.records.integer("O.I", 4);
    f.records.text("O.T", "F");
    f.state.play(f.scene, f.scene.find_action("go"), 0.0);
    Canvas c(800, 600);
    c.draw(f.renderer, f.view());
    EXPECT_EQ(c.at(50, 550) == kRed, k.shown) << k.condition;
  }
}

TEST(Renderer, UnboundRecordsDrawAsHiddenAndEmpty) {
  Fixture f(R"([{"kind": "rect", "box": [0, 0, 100, 100], "fill": "#ff0000",
                 "visible": {"on": "$O.S"}},
                {"kind": "text", "at": [300, 300], "text": "$O.T", "size": 30}])");
  std::vector<const void*> none(f.scene.variables.size(), nullptr);
  kvr::FrameView view{&f.scene, &f.state, &none};
  Canvas c(800, 600);
  c.draw(f.renderer, view);
  EXPECT_EQ(c.count_not(0, 0, 800, 600, kPaper), 0);
}

TEST(Renderer, BoundTextShowsItsCharactersOnly) {
  Fixture f(R"([{"kind": "text", "at": [100, 300], "text": ["$O.T"], "size": 30}])");
  Canvas c(800, 600);
  c.draw(f.renderer, f.view());
  EXPECT_EQ(c.count_not(0, 200, 800, 400, kPaper), 0) << "an empty text draws nothing";
  f.records.text("O.T", "WW");
  c.draw(f.renderer, f.view());
  int two = c.count_not(0, 200, 800, 400, kPaper);
  EXPECT_GT(two, 100);
  // Characters behind the length byte are not shown.
  unsigned char* t = f.records.bytes("O.T");
  t[0] = 1;
  c.draw(f.renderer, f.view());
  int one = c.count_not(0, 200, 800, 400, kPaper);
  EXPECT_GT(one, 50);
  EXPECT_LT(one, two * 3 / 4);
  // A byte above 127 is one Latin-1 character, drawn like any other.
  t[0] = 1;
  t[1] = 0xC9;  // É
  c.draw(f.renderer, f.view());
  EXPECT_GT(c.count_not(0, 200, 800, 400, kPaper), 50);
}

// The faces come from the DejaVu files, not the system's font matcher; a
// folder without them is named on standard error and texts still draw.
TEST(Renderer, FacesFromTheFontFilesOrSaysWhichFileIsMissing) {
  kvr::render::Fonts fonts;
  EXPECT_EQ(cairo_font_face_get_type(fonts.face(false)), CAIRO_FONT_TYPE_FT);
  EXPECT_EQ(cairo_font_face_get_type(fonts.face(true)), CAIRO_FONT_TYPE_FT);
  EXPECT_GT(kvr::render::text_width(fonts, "é", 20, true), 0.0);

  setenv("KVR_FONT_DIR", "/nonexistent-fonts", 1);
  testing::internal::CaptureStderr();
  Fixture f(R"([{"kind": "text", "at": [100, 300], "text": "Température", "size": 30}])");
  Canvas c(800, 600);
  c.draw(f.renderer, f.view());
  const std::string said = testing::internal::GetCapturedStderr();
  unsetenv("KVR_FONT_DIR");
  EXPECT_NE(said.find("/nonexistent-fonts/DejaVuSans.ttf: cannot open the file"), std::string::npos)
      << said;
  EXPECT_GT(c.count_not(0, 200, 800, 400, kPaper), 0) << "no text drawn without the files";
}

TEST(Renderer, SlideAndFadeFollowTheirAnimation) {
  Fixture f(R"([{"kind": "group", "slide": {"anim": "a", "from": [300, 0]}, "children": [
                   {"kind": "rect", "box": [0, 0, 100, 100], "fill": "#ff0000"}]},
                {"kind": "group", "fade": {"anim": "a"}, "children": [
                   {"kind": "rect", "box": [0, 300, 100, 400], "fill": "#ff0000"}]}])");
  f.state.play(f.scene, f.scene.find_action("go"), 10.0);
  Canvas c(800, 600);
  c.draw(f.renderer, f.view(), 10.0);  // start: moved right by 300, faded out
  EXPECT_EQ(c.at(350, 550), kRed);
  EXPECT_EQ(c.at(50, 550), kPaper);
  EXPECT_EQ(c.at(50, 250), kPaper);
  c.draw(f.renderer, f.view(), 10.5);  // halfway: between, half transparent
  EXPECT_NE(c.at(50, 250), kPaper);
  EXPECT_NE(c.at(50, 250), kRed);
  c.draw(f.renderer, f.view(), 11.0);  // done: at rest
  EXPECT_EQ(c.at(50, 550), kRed);
  EXPECT_EQ(c.at(350, 550), kPaper);
  EXPECT_EQ(c.at(50, 250), kRed);
}

TEST(Renderer, ButtonsLightUpUnderThePointerAndLookPressed) {
  Fixture f(R"([{"kind": "button", "box": [100, 100, 200, 150], "caption": ""},
                {"kind": "button", "box": [300, 100, 400, 150], "caption": "", "style": "disabled"}])");
  Canvas c(800, 600);
  kvr::PointerLook away{10, 10, 0}, over{150, 125, 0}, pressed{150, 125, 1}, edge{100, 125, 0};
  c.draw(f.renderer, f.view(), 0.0, away);
  Rgb rest = c.at(120, 470);
  c.draw(f.renderer, f.view(), 0.0, over);
  Rgb lit = c.at(120, 470);
  c.draw(f.renderer, f.view(), 0.0, pressed);
  Rgb down = c.at(120, 470);
  EXPECT_NE(rest, lit);
  EXPECT_NE(lit, down);
  EXPECT_NE(rest, down);
  EXPECT_EQ(f.renderer.look_key(f.view(), away), -1);
  EXPECT_EQ(f.renderer.look_key(f.view(), edge), -1) << "borders are outside, as for the program";
  EXPECT_GE(f.renderer.look_key(f.view(), over), 0);
  EXPECT_NE(f.renderer.look_key(f.view(), over), f.renderer.look_key(f.view(), pressed));
  EXPECT_EQ(f.renderer.look_key(f.view(), {350, 125, 1}), -1) << "a disabled button never lights";
}

TEST(Renderer, ClassScaleMarksTheBoundLetter) {
  Fixture f(R"([{"kind": "class_scale", "box": [100, 100, 300, 240], "value": "$O.T",
                 "letters": "AB", "colours": ["#00ff00", "#0000ff"]}])");
  Canvas c(800, 600);
  auto tag_ink = [&](int top, int bottom) {  // dark pixels right of the bars
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 260; x < 300; ++x) n += c.at(x, y).r < 60 && c.at(x, y).g < 60 ? 1 : 0;
    return n;
  };
  c.draw(f.renderer, f.view());
  EXPECT_EQ(tag_ink(360, 500), 0) << "an empty letter marks nothing";
  f.records.text("O.T", "B");
  c.draw(f.renderer, f.view());
  EXPECT_EQ(tag_ink(360, 430), 0);   // row A, top half of the scale
  EXPECT_GT(tag_ink(430, 500), 30);  // row B
}

TEST(Renderer, BarChartScalesBarsToTheLargestValue) {
  Fixture f(R"([{"kind": "bar_chart", "box": [0, 0, 200, 300], "fill": "#ff0000",
                 "bars": [{"label": "", "value": "$O.T"}, {"label": "", "value": "10"}]}])");
  f.records.text("O.T", "  5.0");  // written with leading blanks
  Canvas c(800, 600);
  c.draw(f.renderer, f.view());
  auto height = [&](int x) {
    int n = 0;
    for (int y = 0; y < 600; ++y) n += c.at(x, y) == kRed ? 1 : 0;
    return n;
  };
  int half = height(50), full = height(150);
  EXPECT_GT(full, 150);
  EXPECT_NEAR(half * 2, full, 3);
}

TEST(Renderer, ParagraphsWrapInsideTheirBox) {
  Fixture f(R"([{"kind": "paragraph", "box": [100, 100, 300, 500], "size": 12,
                 "text": "# Titre\nUne phrase assez longue pour tenir sur plusieurs lignes dans une boîte étroite.\n- Un point"}])");
  EXPECT_TRUE(f.renderer.problems().empty());
  Canvas c(800, 600);
  c.draw(f.renderer, f.view());
  EXPECT_GT(c.count_not(100, 100, 300, 300, kPaper), 500);
  EXPECT_EQ(c.count_not(302, 0, 800, 600, kPaper), 0) << "text ran past the right edge";
}

TEST(Renderer, ReportsMembersItCannotUseNamingTheElement) {
  Fixture f(R"([{"kind": "rect", "id": "bad fill", "box": [0, 0, 10, 10], "fill": "#zzz"},
                {"kind": "text", "id": "switch as text", "at": [0, 0], "text": "$O.S"},
                {"kind": "rect", "id": "short box", "box": [0, 0, 10]},
                {"kind": "paragraph", "id": "overflow", "box": [0, 0, 50, 20],
                 "text": "beaucoup trop de mots pour une si petite boîte de texte"}])");
  const auto& p = f.renderer.problems();
  ASSERT_EQ(p.size(), 4u);
  EXPECT_NE(p[0].find("bad fill"), std::string::npos) << p[0];
  EXPECT_NE(p[1].find("switch as text"), std::string::npos) << p[1];
  EXPECT_NE(p[2].find("short box"), std::string::npos) << p[2];
  EXPECT_NE(p[3].find("overflow"), std::string::npos) << p[3];
}

TEST(RendererLayers, RedrawWhenWhatTheyReadChanges) {
  Fixture f(R"([{"kind": "group", "layer": [0, 0, 400, 300], "children": [
                  {"kind": "rect", "box": [0, 0, 100, 100], "fill": "$O.C"},
                  {"kind": "rect", "box": [100, 0, 200, 100], "fill": "#ff0000",
                   "visible": {"flag": "f"}},
                  {"kind": "text", "at": [220, 40], "text": "$O.T", "size": 30},
                  {"kind": "button", "box": [300, 0, 400, 100], "caption": ""}]}])");
  Canvas c(800, 600);
  f.records.colour("O.C", 0, 0, 255);
  c.draw(f.renderer, f.view());
  EXPECT_EQ(c.at(50, 550), (Rgb{0, 0, 255}));
  EXPECT_EQ(c.at(150, 550), kPaper);
  int no_text = c.count_not(200, 500, 300, 600, kPaper);
  Rgb button_rest = c.at(320, 580);
  // A bound colour, a flag, a bound text and the lit button each show.
  f.records.colour("O.C", 0, 255, 0);
  c.draw(f.renderer, f.view());
  EXPECT_EQ(c.at(50, 550), (Rgb{0, 255, 0}));
  f.state.play(f.scene, f.scene.find_action("go"), -1.0);
  c.draw(f.renderer, f.view());
  EXPECT_EQ(c.at(150, 550), kRed);
  f.records.text("O.T", "WW");
  c.draw(f.renderer, f.view());
  EXPECT_GT(c.count_not(200, 500, 300, 600, kPaper), no_text + 50);
  c.draw(f.renderer, f.view(), 1e9, {350, 50, 0});
  EXPECT_NE(c.at(320, 580), button_rest);
  // A larger window draws the layer anew at its size.
  Canvas big(1600, 1200);
  big.draw(f.renderer, f.view());
  EXPECT_EQ(big.at(100, 1100), (Rgb{0, 255, 0}));
  EXPECT_EQ(big.at(300, 1100), kRed);
}

TEST(RendererLayers, DrawOnlyInsideTheirRegionExceptWhileTheyMove) {
  Fixture f(R"([{"kind": "group", "layer": [0, 0, 100, 100], "slide": {"anim": "a", "from": [0, 0]},
                 "children": [{"kind": "rect", "box": [0, 0, 200, 50], "fill": "#ff0000"}]}])");
  EXPECT_EQ(f.renderer.problems().size(), 1u);
  Canvas c(800, 600);
  c.draw(f.renderer, f.view());
  EXPECT_EQ(c.at(50, 575), kRed);
  EXPECT_EQ(c.at(99, 575), kRed);
  EXPECT_EQ(c.at(101, 575), kPaper) << "drawn outside the layer's region";
  // While its animation runs the group is drawn whole.
  f.state.play(f.scene, f.scene.find_action("go"), 0.0);
  c.draw(f.renderer, f.view(), 0.5);
  EXPECT_EQ(c.at(150, 575), kRed);
}

TEST(RendererLayers, ReportShapesReachingOutsideTheirRegion) {
  Fixture inside(R"([{"kind": "group", "layer": [10, 10, 200, 200], "children": [
                       {"kind": "rect", "box": [10, 10, 200, 200], "fill": "#ff0000"}]}])");
  EXPECT_TRUE(inside.renderer.problems().empty());
  Fixture outside(R"([{"kind": "group", "id": "panel", "layer": [10, 10, 200, 200], "children": [
                        {"kind": "circle", "id": "ball", "center": [195, 100], "radius": 10,
                         "fill": "#ff0000"}]}])");
  ASSERT_EQ(outside.renderer.problems().size(), 1u);
  EXPECT_NE(outside.renderer.problems()[0].find("ball"), std::string::npos);
}

TEST(WriteScenePng, WritesThePictureOrNothing) {
  Fixture f(R"([{"kind": "rect", "box": [0, 0, 400, 300], "fill": "#ff0000"}])");
  auto dir = std::filesystem::temp_directory_path() / ("kvr-png-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / "scene.png").string();
  ASSERT_TRUE(kvr::write_scene_png(path, f.view(), 320, 240));
  cairo_surface_t* back = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(back), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(back), 320);
  EXPECT_EQ(cairo_image_surface_get_height(back), 240);
  cairo_surface_destroy(back);
  std::string missing = (dir / "no-such-folder" / "scene.png").string();
  EXPECT_FALSE(kvr::write_scene_png(missing, f.view(), 320, 240));
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_FALSE(std::filesystem::exists(missing + ".part"));
  // Written again over the first: one file, no temporary left beside it.
  ASSERT_TRUE(kvr::write_scene_png(path, f.view(), 160, 120));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    ++files;
    EXPECT_EQ(entry.path().filename(), "scene.png");
  }
  EXPECT_EQ(files, 1);
  kvr::FrameView empty;
  EXPECT_FALSE(kvr::write_scene_png(path + "2", empty, 320, 240));
  std::filesystem::remove_all(dir);
}

}  // namespace

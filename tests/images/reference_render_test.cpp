// What the reference, the class scale and the report add to drawing: the
// class distance at the scale's edges, the written difference, the CSV
// table, the keyboard order of HOME.SP1 per focus scope, the scene's
// runtime-owned buttons and the report files. What pinning and the focus
// ring redraw is in frame_update_test.cpp.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "commands/command_runner.h"
#include "frame/scene_renderer.h"
#include "home_scene.h"
#include "model/element_model.h"
#include "output/csv_table.h"
#include "output/report_flow.h"
#include "output/report_page.h"
#include "output/report_writer.h"
#include "sample_records.h"
#include "values/class_bands.h"
#include "values/comparison.h"
#include "values/house_texts.h"
#include "values/records.h"
#include "widgets/button_roles.h"
#include "widgets/focus_navigator.h"

namespace {

namespace fs = std::filesystem;
using test::Home;
using test::load_home;
using namespace kvr::render;

const std::string kEnergy = "ABCDEFG";
const std::vector<double> kBounds = {50, 90, 150, 230, 330, 450};

std::string distance(double need_total, char shown) {
  std::optional<ClassDistance> d = class_distance(kEnergy, kBounds, 100.0, need_total, shown);
  if (!d) return "none";
  return distance_text("encore {distance} {unit} pour la classe {letter}", *d, "kWh/m²·an");
}

TEST(ClassDistance, AtTheEdgesOfTheScale) {
  EXPECT_EQ(distance(5000, 'A'), "none");  // 50: the best class has no line
  EXPECT_EQ(distance(5100, 'B'), "encore 1 kWh/m²·an pour la classe A");
  EXPECT_EQ(distance(45000, 'F'), "encore 120 kWh/m²·an pour la classe E");
  EXPECT_EQ(distance(45100, 'G'), "encore 1 kWh/m²·an pour la classe F");
  EXPECT_EQ(distance(41914, 'F'), "encore 89 kWh/m²·an pour la classe E");
}

TEST(ClassDistance, RoundsHalvesAwayAndNeverContradictsTheLetterShown) {
  EXPECT_EQ(round_half_away(50.5), 51);
  EXPECT_EQ(round_half_away(-2.5), -3);
  EXPECT_EQ(round_half_away(50.49), 50);
  EXPECT_EQ(distance(9050, 'C'), "encore 1 kWh/m²·an pour la classe B");  // 90.5 -> 91
  // In a gap between the ranges the program keeps its last letter: C for a
  // need that rounds to 90 still gets a positive distance to B.
  EXPECT_EQ(distance(9000, 'C'), "encore 1 kWh/m²·an pour la classe B");
  EXPECT_EQ(distance(5000, 'Z'), "none");
  EXPECT_EQ(distance(5000, 0), "none");
}

TEST(ClassBands, RangesOfEveryLetter) {
  EXPECT_EQ(band_texts(kBounds),
            (std::vector<std::string>{"≤ 50", "51 à 90", "91 à 150", "151 à 230", "231 à 330",
                                      "331 à 450", "> 450"}));
}

TEST(Comparison, SignPerCentAndVerdict) {
  const std::string minus = "\xE2\x88\x92", nbsp = "\xC2\xA0";
  Difference better = compare_values(30026, 41914, true);
  EXPECT_EQ(better.verdict, 1);
  EXPECT_EQ(difference_text(better, 0, "kWh/an"),
            minus + "11888" + nbsp + "kWh/an (" + minus + "28" + nbsp + "%)");
  Difference worse = compare_values(3.64, 0.18, true);
  EXPECT_EQ(worse.verdict, -1);
  EXPECT_EQ(difference_text(worse, 2, ""), "+3.46 (+1922" + nbsp + "%)");
  Difference same = compare_values(7, 7, true);
  EXPECT_EQ(same.verdict, 0);
  EXPECT_EQ(difference_text(same, 0, ""), "0 (0" + nbsp + "%)");
  EXPECT_FALSE(compare_values(5, 0, true).percent);
  EXPECT_EQ(compare_values(5, 0, false).verdict, 1);  // higher is better there
  EXPECT_EQ(decimals_of(" 306.9"), 1);
  EXPECT_EQ(decimals_of("41914"), 0);
}

// The compiled elements of a kind, in drawing order.
void find_kind(const std::vector<Node>& nodes, Kind kind, std::vector<const Node*>& out) {
  for (const Node& n : nodes) {
    if (n.kind == kind) out.push_back(&n);
    find_kind(n.children, kind, out);
  }
}

TEST(ClassDistance, HomesLineUnderTheLabelBreaksInTwo) {
  Home home;
  std::vector<const Node*> found;
  find_kind(home.renderer.nodes(), Kind::ClassDistance, found);
  ASSERT_EQ(found.size(), 1u);
  const Node& line = *found[0];
  EXPECT_EQ(class_distance_lines(home.view(), line),
            (std::vector<std::string>{"encore 89 kWh/m²·an", "pour la classe E"}));
  EXPECT_LT(class_distance_baseline(line, 1), class_distance_baseline(line, 0));
  home.records.text("FONDRES.G1", "4000");
  home.records.text("FONDRES.KLASS", "A");
  EXPECT_TRUE(class_distance_lines(home.view(), line).empty());
  home.records.text("FONDRES.KLASS", "");
  home.records.text("FONDRES.G1", "9050");
  EXPECT_TRUE(class_distance_lines(home.view(), line).empty()) << "no letter shown, no line";
}

TEST(ReportCsv, OneLinePerElementWithEveryColumnAndThePinnedTwins) {
  Home home;
  home.records.text("FONDRES.B3", "  2.7");  // padding blanks go
  CsvRows rows = report_csv_rows(home.view());
  ASSERT_EQ(rows.size(), 8u);
  for (const auto& row : rows) EXPECT_EQ(row.size(), 8u);
  EXPECT_EQ(rows[0][1], "U (W/m².K)");
  EXPECT_EQ(rows[1],
            (std::vector<std::string>{"murs", "3.64", "306.9", "6752", "29.9", "1.4", "", ""}));
  EXPECT_EQ(rows[3][1], "2.7");
  EXPECT_EQ(rows[6],
            (std::vector<std::string>{"ventilation", "", "81.6", "1795", "7.9", "", "", ""}));
  EXPECT_EQ(rows[7],
            (std::vector<std::string>{"total", "", "1027", "22601", "", "", "41914", "F"}));

  home.reference.pin(home.records.pointers());
  home.records.text("FONDRES.G1", "30026");
  home.records.text("FONDRES.KLASS", "E");
  rows = report_csv_rows(home.view());
  for (const auto& row : rows) EXPECT_EQ(row.size(), 15u);
  EXPECT_EQ(rows[0][8], "référence U (W/m².K)");
  EXPECT_EQ(rows[7][6], "30026");
  EXPECT_EQ(rows[7][7], "E");
  EXPECT_EQ(rows[7][13], "41914");
  EXPECT_EQ(rows[7][14], "F");
  EXPECT_EQ(rows[1][8], "3.64");
}

TEST(ReportCsv, FieldsAreQuotedAsRfc4180Says) {
  EXPECT_EQ(csv_text({{"a", "b,c"}, {"say \"hi\"", ""}}),
            "\"a\",\"b,c\"\r\n\"say \"\"hi\"\"\",\"\"\r\n");
}

// The captions of the controls the keyboard reaches now, in order.
std::vector<std::string> order(Home& home) {
  std::vector<std::string> out;
  kvr::FrameView v = home.view();
  for (const Focusable& f : reachable_focusables(home.renderer.nodes(), v).items)
    out.push_back(f.node->text.empty() ? "" : f.node->text[0].literal);
  return out;
}

TEST(FocusOrder, MenuButtonsThenTheOpenPanelsArrowsThenTheRest) {
  Home home;
  home.records.open_panel("TALMUR", {"brique pleine", "0.105", "sans", "0.000", "sans", "0.000"});
  std::vector<std::string> expected = {"Murs",     "Plancher",    "Plafond",     "Vide sanitaire",
                                       "Fenêtres", "Ventilation", "Température", "Localisation"};
  for (int row = 0; row < 6; ++row) {
    expected.push_back("−");
    expected.push_back("+");
  }
  for (const char* rest :
       {"", "?", "Référence", "Rapport", "Composition", "Condensation", "Pistes", "Couleurs", "×"})
    expected.push_back(rest);
  EXPECT_EQ(order(home), expected);
  // The clear button joins while a reference is pinned; a panel of two
  // rows has four arrows.
  home.reference.pin(home.records.pointers());
  home.records.open_panel("TALVMC", {"simple flux", "1.0"});
  std::vector<std::string> pinned = order(home);
  ASSERT_EQ(pinned.size(), 8u + 4u + 10u);
  EXPECT_EQ(pinned[15], "×");  // beside « Référence »
  EXPECT_EQ(pinned[16], "Rapport");
}

TEST(FocusOrder, ScopesOfTheResultsMenuAndTheIntroBar) {
  Home home;
  home.flag("menu", true);
  std::vector<std::string> menu = order(home);
  ASSERT_EQ(menu.size(), 13u);
  EXPECT_EQ(menu.back(), "Fermer");
  home.flag("menu", false);
  home.flag("intro", true);
  EXPECT_EQ(order(home), (std::vector<std::string>{"Utilisation", "Fonctionnement", "Remarques",
                                                   "Le décor seul"}));
}

TEST(FocusNavigator, WrapsAndRemembersItsPlacePerScope) {
  Home home;
  FocusNavigator nav;
  kvr::FrameView v = home.view();
  FocusReach main = reachable_focusables(home.renderer.nodes(), v);
  EXPECT_FALSE(nav.ring_shown());
  EXPECT_EQ(nav.mark(main).order, -1);
  nav.next(main);
  ASSERT_NE(nav.focused(main), nullptr);
  EXPECT_EQ(nav.focused(main)->node->text[0].literal, "Murs");
  nav.previous(main);
  EXPECT_EQ(nav.focused(main)->node->text[0].literal, "×");  // wrapped to quit
  nav.previous(main);
  EXPECT_EQ(nav.focused(main)->node->text[0].literal, "Couleurs");
  kvr::FocusMark in_main = nav.mark(main);
  home.flag("menu", true);
  FocusReach menu = reachable_focusables(home.renderer.nodes(), v);
  EXPECT_NE(menu.scope, main.scope);
  EXPECT_EQ(nav.focused(menu), nullptr);  // no place yet in the menu
  nav.enter(menu);                        // the menu opens: its first box
  EXPECT_EQ(nav.mark(menu).order, 1);
  nav.next(menu);
  EXPECT_EQ(nav.mark(menu).order, 2);
  nav.enter(menu);  // a scope with a place keeps it
  EXPECT_EQ(nav.mark(menu).order, 2);
  home.flag("menu", false);
  EXPECT_EQ(nav.mark(reachable_focusables(home.renderer.nodes(), v)), in_main);
  nav.hide_ring();
  EXPECT_EQ(nav.mark(main).order, -1);
  FocusNavigator fresh;
  fresh.enter(main);  // without the ring shown nothing is focused
  EXPECT_EQ(fresh.focused(main), nullptr);
}

TEST(SceneButtons, RuntimeOwnedButtonsCarryTheirActions) {
  Home home;
  kvr::FrameView v = home.view();
  const auto& nodes = home.renderer.nodes();
  ButtonAction pin = action_at(nodes, v, 706, 165);
  EXPECT_EQ(pin.kind, ButtonAction::Kind::Command);
  EXPECT_EQ(pin.command, kvr::Command::PinReference);
  EXPECT_EQ(action_at(nodes, v, 767, 165).kind, ButtonAction::Kind::Program);  // × hidden
  home.reference.pin(home.records.pointers());
  EXPECT_EQ(action_at(nodes, v, 767, 165).command, kvr::Command::ClearReference);
  EXPECT_EQ(action_at(nodes, v, 706, 135).command, kvr::Command::WriteReport);
  EXPECT_EQ(action_at(nodes, v, 660, 286).kind, ButtonAction::Kind::Program);  // menu closed
  home.flag("menu", true);
  ButtonAction close = action_at(nodes, v, 660, 286);
  EXPECT_EQ(close.kind, ButtonAction::Kind::PressAs);
  EXPECT_EQ(close.state, 2);
  EXPECT_FALSE(close.at_point);
  home.flag("menu", false);
  home.flag("intro", true);
  ButtonAction decor = action_at(nodes, v, 540, 579);
  EXPECT_EQ(decor.kind, ButtonAction::Kind::PressAs);
  ASSERT_TRUE(decor.at_point);
  // Reported outside the closed rectangle x 25..630, y 568..590.
  EXPECT_GT(decor.x, 630);
  const Node* arrow = button_at(nodes, v, 621, 509);
  EXPECT_EQ(arrow, nullptr);  // no panel open, no arrow drawn
}

TEST(SceneButtons, TheKeyboardPressesStrictlyInsideTheButton) {
  Node one;
  one.x1 = 610, one.y1 = 498, one.x2 = 633, one.y2 = 520;
  std::int32_t x = 0, y = 0;
  press_point(one, x, y);
  EXPECT_GT(x, 610);
  EXPECT_LT(x, 633);
  EXPECT_GT(y, 498);
  EXPECT_LT(y, 520);
  Node thin;
  thin.x1 = 10, thin.y1 = 10, thin.x2 = 12, thin.y2 = 12;
  press_point(thin, x, y);
  EXPECT_EQ(x, 11);
  EXPECT_EQ(y, 11);
}

class ReportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kvr-report-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ReportFiles, HomesPageCompilesCleanly) {
  kvr::Scene scene = load_home();
  ReportPage page(scene, 1'800'000'000);
  EXPECT_TRUE(page.present());
  EXPECT_NEAR(page.width(), 595.28, 0.01);
  for (const std::string& p : page.problems()) ADD_FAILURE() << p;
}

TEST_F(ReportFiles, BothFilesWithoutOverwritingAnEarlierReport) {
  Home home;
  std::ostringstream errors;
  EXPECT_TRUE(write_report(home.view(), dir_.string(), errors));
  EXPECT_TRUE(write_report(home.view(), dir_.string(), errors));
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  ASSERT_GE(names.size(), 4u);  // two seconds may have passed: -2 or a new stamp
  EXPECT_EQ(names.size(), 4u);
  for (const std::string& n : names) {
    EXPECT_EQ(n.rfind("maison-rapport-", 0), 0u) << n;
    EXPECT_NE(n.find(".part"), 0u);
  }
  std::string out = errors.str();
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 4);
  EXPECT_NE(out.find("report: " + (dir_ / names[0]).string()), std::string::npos) << out;
  std::ifstream pdf(dir_ / names[1], std::ios::binary);
  std::ostringstream read;
  read << pdf.rdbuf();
  const std::string bytes = read.str();
  EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
  // Vector throughout: no picture anywhere on the page (hatching and text
  // drawn as paths and glyphs), and DejaVu embedded for selectable text.
  EXPECT_EQ(bytes.find("/Subtype /Image"), std::string::npos) << "the page holds a bitmap";
  EXPECT_NE(bytes.find("DejaVuSans"), std::string::npos);
  EXPECT_NE(bytes.find("/FontFile2"), std::string::npos);
}

TEST_F(ReportFiles, AFolderThatCannotBeWrittenIsReportedAndLeavesNothing) {
  Home home;
  std::ostringstream errors;
  fs::path missing = dir_ / "no" / "such" / "folder";
  EXPECT_FALSE(write_report(home.view(), missing.string(), errors));
  EXPECT_NE(errors.str().find("cannot write the report"), std::string::npos) << errors.str();
  std::string out(1, '\n');
  out.append(errors.str());
  EXPECT_EQ(out.find("\nreport: "), std::string::npos) << out;  // no file written
  EXPECT_FALSE(fs::exists(dir_ / "no"));
}

TEST_F(ReportFiles, NamesTakeTheNextNumberWhenTakenAlready) {
  std::time_t when = 1'800'000'000;
  ReportPaths first = report_paths(dir_.string(), when);
  std::ofstream(first.csv) << "x";  // one of the two is enough to move on
  ReportPaths second = report_paths(dir_.string(), when);
  EXPECT_NE(second.pdf, first.pdf);
  EXPECT_NE(second.pdf.find("-2.pdf"), std::string::npos) << second.pdf;
}

}  // namespace

// The house views open one at a time and close on a second click; the
// humidity moves by its steps within 30 to 80 % and is kept in the
// settings file for the next run, that file's other lines untouched.
TEST(HouseViews, OneOpenAtATimeAndTheHumidityKeptInTheSettings) {
  fs::path dir = fs::temp_directory_path() / ("maison-house-views-" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::path ini = dir / "kvr.ini";
  std::ofstream(ini) << "; mine\n[runtime]\nbackend = window\n[house]\nhumidity = 35\n";
  std::ostringstream errors;
  CommandRunner runner(nullptr, dir.string(), errors);
  kvr::Settings settings;
  settings.file = ini.string();
  settings.indoor_humidity = 35;
  runner.use_settings(settings);
  kvr::FrameView view;
  std::vector<Node> nodes;
  using Shown = kvr::HouseViews::Shown;
  EXPECT_TRUE(runner.run(kvr::Command::ShowMoisture, view, nodes));
  EXPECT_EQ(runner.house_views().shown, Shown::Moisture);
  EXPECT_TRUE(runner.run(kvr::Command::ShowComposition, view, nodes));
  EXPECT_EQ(runner.house_views().shown, Shown::Composition);
  EXPECT_TRUE(runner.run(kvr::Command::ShowComposition, view, nodes));
  EXPECT_EQ(runner.house_views().shown, Shown::None);

  EXPECT_TRUE(runner.run(kvr::Command::HumidityDown, view, nodes));
  EXPECT_EQ(runner.house_views().humidity, 30);
  EXPECT_FALSE(runner.run(kvr::Command::HumidityDown, view, nodes)) << "30 % is the lowest";
  EXPECT_EQ(runner.house_views().humidity, 30);
  for (int i = 0; i < 12; ++i) runner.run(kvr::Command::HumidityUp, view, nodes);
  EXPECT_EQ(runner.house_views().humidity, 80);
  std::ostringstream read;
  read << std::ifstream(ini).rdbuf();
  std::string text = read.str();
  EXPECT_NE(text.find("humidity = 80"), std::string::npos) << text;
  EXPECT_NE(text.find("; mine\n[runtime]\nbackend = window\n"), std::string::npos) << text;
  // The palette switches back and forth and is kept beside the humidity.
  EXPECT_TRUE(runner.run(kvr::Command::TogglePalette, view, nodes));
  EXPECT_EQ(runner.house_views().palette, kvr::Palette::Cividis);
  std::ostringstream cividis;
  cividis << std::ifstream(ini).rdbuf();
  EXPECT_NE(cividis.str().find("humidity = 80\n[view]\npalette = cividis\n"), std::string::npos)
      << cividis.str();
  EXPECT_TRUE(runner.run(kvr::Command::TogglePalette, view, nodes));
  EXPECT_EQ(runner.house_views().palette, kvr::Palette::Standard);
  std::ostringstream standard;
  standard << std::ifstream(ini).rdbuf();
  EXPECT_NE(standard.str().find("[view]\npalette = standard\n"), std::string::npos)
      << standard.str();
  EXPECT_EQ(errors.str(), "");
  fs::remove_all(dir);
}

// HOME.SP1 draws each house view only while it is open, over the house and
// not over the panels, the class label or the runtime's own buttons.
TEST(HouseViews, HomeDrawsEachViewWhileOpenBesideThePanels) {
  Home home;
  std::vector<const Node*> views;
  std::function<void(const Node&)> find = [&](const Node& n) {
    if (n.kind == Kind::HouseView) views.push_back(&n);
    for (const Node& c : n.children) find(c);
  };
  for (const Node& n : home.renderer.nodes()) find(n);
  ASSERT_EQ(views.size(), 3u);
  std::set<int> kinds;
  for (const Node* v : views) {
    kinds.insert(v->house_view);
    EXPECT_LE(v->x2, 520.0) << "a house view stays left of the panel area";
    EXPECT_GE(v->y1, 110.0) << "and above the menu grid";
  }
  EXPECT_EQ(kinds, (std::set<int>{1, 2, 3}));

  // The marks of the surfaces at risk: every surface on the house and on
  // the thermal camera, inside the drawing, shown only with the
  // condensation view.
  std::vector<const Node*> marks;
  find_kind(home.renderer.nodes(), Kind::SurfaceMarks, marks);
  ASSERT_EQ(marks.size(), 2u);
  for (const Node* m : marks) {
    std::set<int> surfaces;
    for (const SurfaceMark& mark : m->marks) {
      surfaces.insert(mark.surface);
      EXPECT_TRUE(mark.at.x > 0 && mark.at.x < 520 && mark.at.y > 110 && mark.at.y < 560);
    }
    EXPECT_EQ(surfaces, (std::set<int>{0, 1, 2, 3, 4}));
  }
  const Node* group = nullptr;
  for (const Node& n : home.renderer.nodes())
    if (!n.children.empty() && n.children[0].kind == Kind::SurfaceMarks) group = &n;
  ASSERT_NE(group, nullptr);
  kvr::FrameView view = home.view();
  kvr::HouseViews shown;
  view.house_views = &shown;
  EXPECT_FALSE(holds(group->visible, view));
  shown.shown = kvr::HouseViews::Shown::Moisture;
  EXPECT_TRUE(holds(group->visible, view));
}

// Which surface each mark shows at risk: the verdict of its own surface,
// at the runtime's humidity; nothing without a house.
TEST(HouseViews, EachMarkShowsTheVerdictOfItsOwnSurface) {
  Node n;
  n.kind = Kind::SurfaceMarks;
  for (int surface : {4, 3, 2, 1, 0, 1})
    n.marks.push_back({static_cast<std::uint8_t>(surface), {}, {}, false});
  KvrHouseState state{};
  state.indoor_temperature = 20;
  state.temperature_difference = 22;
  state.floor_factor = state.ceiling_factor = 1;
  state.wall_u = 3.64;   // 20 − 3.64 × 0.25 × 22 = 0 °C: below the dew point (9.3 °C)
  state.window_u = 3.0;  // 20 − 3 × 0.13 × 22 = 11.4 °C: 88 % at the surface, mould
  state.door_u = 0.5;    // 17.3 °C
  state.floor_u = 0.3;
  state.ceiling_u = 0.2;
  KvrHouse house{KVR_HOUSE_VERSION, sizeof(KvrHouse), &state, nullptr};
  kvr::FrameView view;
  std::string risks;
  surface_risks(n, view, risks);
  EXPECT_EQ(risks, "      ");
  view.house = &house;
  surface_risks(n, view, risks);
  EXPECT_EQ(risks, "   MCM");
  kvr::HouseViews drier;
  drier.humidity = 35;  // dew point 4.1 °C, 74 % on the glass
  view.house_views = &drier;
  surface_risks(n, view, risks);
  EXPECT_EQ(risks, "    C ");
}

// The house's pages of the report: a cell wraps within its column, a
// number keeps its unit, a word too long for the column is cut, and a long
// section goes on over as many pages as it needs, under its title and
// column heads again, never below the bottom margin.
TEST(ReportFlow, LongSectionsWrapInTheirColumnsAndGoOnOverPages) {
  Fonts fonts;
  const std::string measure = "brique pleine 0.105 m, polyurethane 0.300 m, enduit chaux 0.020 m";
  std::vector<std::string> lines = wrap_words(measure, 120, 9.5, false, fonts);
  ASSERT_GT(lines.size(), 1u);
  std::string joined;
  for (const std::string& line : lines) {
    EXPECT_LE(text_width(fonts, line, 9.5, false), 120.0) << line;
    EXPECT_NE(line.back(), '0') << "a number is kept with its unit: " << line;
    if (!joined.empty()) joined += ' ';
    joined += line;
  }
  EXPECT_EQ(joined, measure);
  const std::string word(60, 'x');
  lines = wrap_words(word, 50, 9.5, false, fonts);
  EXPECT_GT(lines.size(), 1u);
  joined.clear();
  for (const std::string& line : lines) {
    EXPECT_LE(text_width(fonts, line, 9.5, false), 50.0);
    joined += line;
  }
  EXPECT_EQ(joined, word);

  FlowSection s;
  s.title = "Pistes";
  s.columns = {0, 60, 200};
  s.lines.push_back({FlowStyle::Head, {"Rang", "Mesure", "Gain"}});
  for (int i = 0; i < 150; ++i) {
    std::string rank = "r";
    rank += std::to_string(i);
    s.lines.push_back({FlowStyle::Row, {rank, measure, "-12 %"}, i % 10 == 0});
  }
  FlowSection after{"Sobriété", {}, {{FlowStyle::Note, {measure}}}, false};
  FlowFrame frame;
  std::vector<FlowPage> pages = lay_out_flow({s, after}, frame, fonts);
  ASSERT_GE(pages.size(), 3u);
  std::set<std::string> rows;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const std::vector<FlowText>& texts = pages[p].texts;
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, p == 0 ? "Pistes" : "Pistes (suite)");
    EXPECT_EQ(texts[1].text, "Rang") << "the column heads again on page " << p + 1;
    for (const FlowText& t : texts) {
      EXPECT_GE(t.y, frame.bottom) << t.text << " on page " << p + 1;
      EXPECT_LE(t.y, frame.height - frame.top);
      EXPECT_LE(t.x + text_width(fonts, t.text, t.size, t.bold), frame.width - frame.right);
      if (t.text[0] == 'r') {
        EXPECT_TRUE(rows.insert(t.text).second) << t.text << " twice";
      }
    }
  }
  EXPECT_EQ(rows.size(), 150u);
  EXPECT_EQ(pages.back().texts[pages.back().texts.size() - 2].text, "Sobriété")
      << "a section that follows stays on the page";
}

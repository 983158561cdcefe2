// The result charts: bar chart, gradient legend, energy-class scale and
// table. Each reads its numbers and letters from bound texts as the
// program wrote them.
#ifndef KVR_RENDER_CHARTS_H
#define KVR_RENDER_CHARTS_H

#include <string>

#include "draw_context.h"
#include "element_model.h"

namespace kvr::render {

void draw_bar_chart(const DrawContext& dc, const Node& n);        // bar_chart.cpp
void draw_gradient_legend(const DrawContext& dc, const Node& n);  // gradient_legend.cpp
void draw_class_scale(const DrawContext& dc, const Node& n);      // class_scale.cpp
void draw_table(const DrawContext& dc, const Node& n);            // table.cpp
void draw_comparison(const DrawContext& dc, const Node& n);       // comparison.cpp
void draw_class_distance(const DrawContext& dc, const Node& n);   // class_bands.cpp
void draw_scene_region(const DrawContext& dc, const Node& n);     // scene_region.cpp

// The number a text holds (blanks around it allowed); 0 when it holds none.
double parse_number(const std::string& s);

}  // namespace kvr::render

#endif

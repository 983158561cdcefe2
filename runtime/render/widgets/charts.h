// The result charts: bar chart, gradient legend, energy-class scale and
// table. Each reads its numbers and letters from bound texts as the
// program wrote them.
#ifndef KVR_RENDER_CHARTS_H
#define KVR_RENDER_CHARTS_H

#include <string>

#include "model/draw_context.h"
#include "model/element_model.h"

namespace kvr::render {

void draw_bar_chart(const DrawContext& dc, const Node& n);        // bar_chart.cpp
void draw_gradient_legend(const DrawContext& dc, const Node& n);  // gradient_legend.cpp
void draw_class_scale(const DrawContext& dc, const Node& n);      // class_scale.cpp
void draw_table(const DrawContext& dc, const Node& n);            // table.cpp
void draw_comparison(const DrawContext& dc, const Node& n);       // reference_lines.cpp
void draw_class_distance(const DrawContext& dc, const Node& n);   // reference_lines.cpp
void draw_house_view(const DrawContext& dc, const Node& n);       // house_view.cpp
void draw_surface_marks(const DrawContext& dc, const Node& n);    // house_view.cpp

}  // namespace kvr::render

#endif

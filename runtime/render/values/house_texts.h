// What a house view shows in a frame, line by line: the composition of the
// house, condensation and mould on its inner surfaces, or the « pistes
// d'amélioration », worked out with the program's own physics (KvHouse).
// Each line starts with how it is drawn: 'T' title, 'H' column heads, 'R'
// a row, 'W' a row that warns, 'M' a muted second line, 'N' a note; its
// cells are separated by tabs.
#ifndef KVR_RENDER_VALUES_HOUSE_TEXTS_H
#define KVR_RENDER_VALUES_HOUSE_TEXTS_H

#include <string>
#include <vector>

#include "backend.h"
#include "improvements.h"
#include "model/element_model.h"

namespace kvr::render {

// Appends the lines of house view `n` to `lines` (`count` of them in use,
// as ElementValues keeps them). The advice is computed again only when the
// house changed (`advice`).
void house_texts(const Node& n, const FrameView& view, house::AdviceCache& advice,
                 std::vector<std::string>& lines, std::size_t& count);

// What each mark of a surface_marks element shows, one character per mark
// into `out`: 'C' condensation, 'M' a risk of mould, ' ' nothing (a
// healthy surface, or no house handed over).
void surface_risks(const Node& n, const FrameView& view, std::string& out);

}  // namespace kvr::render

#endif

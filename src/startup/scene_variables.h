// The 92 program records bound to scene variables. Each keeps the scene's own
// name and lives at one fixed address for the whole run, because the scene
// keeps the address it was given. All start as zero bytes;
// set_initial_values gives the start values.
#ifndef MAISON_STARTUP_SCENE_VARIABLES_H
#define MAISON_STARTUP_SCENE_VARIABLES_H

#include <cstdint>

#include "startup/linked_records.h"

namespace maison {

// Wall models, windows and crawl space of the house ("HOME"; the last three
// are bound under "HOMBASE" as well).
inline DisplaySwitch TALBRIK;
inline DisplaySwitch TALROND;
inline DisplaySwitch TALOBOIS;
inline DisplaySwitch TALFENT;
inline DisplaySwitch TALMRSOL;
inline DisplaySwitch TALFNSOL;

// Outdoor temperature labels of the colour legend ("HOME").
inline LinkedText TEMPEXT;
inline LinkedText TEMPCINQ;
inline LinkedText TEMPDIX;

// Map sites ("HOME"): region 1 to 3, altitude band 1 (BA) or 2 (HO).
inline DisplaySwitch TALPACBA;
inline DisplaySwitch TALPACHO;
inline DisplaySwitch TALJURBA;
inline DisplaySwitch TALJURHO;
inline DisplaySwitch TALALPBA;
inline DisplaySwitch TALALPHO;

// Result views ("HOME" and "FONDRES").
inline DisplaySwitch TALREST;
inline DisplaySwitch TALTAB;
inline DisplaySwitch TALRESK;
inline DisplaySwitch TALRESD;
inline DisplaySwitch TALRESW;
inline DisplaySwitch TALRESAN;
inline DisplaySwitch TALCAM;

// Surface colours of the camera view ("HOME").
inline ColourTriple COLMUR;
inline ColourTriple COLPLAN;
inline ColourTriple COLPLAF;
inline ColourTriple COLFEN;
inline ColourTriple COLPORTE;

// Roof and ground of the normal view ("HOME").
inline DisplaySwitch TLTOISOL;

// Row states of the results-view menu ("DECBS1A"): 3 off, 4 on.
inline std::int32_t colvis0;
inline std::int32_t colvis1;
inline std::int32_t colvis2;
inline std::int32_t colvis3;
inline std::int32_t colvis4;
inline std::int32_t colvis5;
inline std::int32_t colvis6;

// Panel switches ("HOMBASE").
inline DisplaySwitch TALMUR;
inline DisplaySwitch TALPLAN;
inline DisplaySwitch TALPLAF;
inline DisplaySwitch TALSSOL;
inline DisplaySwitch TALFEN;
inline DisplaySwitch TALTEMP;
inline DisplaySwitch TALVMC;
inline DisplaySwitch TALLOC;

// Wall colours ("HOMURS").
inline ColourTriple MURBORD;
inline ColourTriple MURFOND;
inline ColourTriple MURSOMBR;

// Texts of the open panel, one per stepper row ("HOME").
inline LinkedText A1;
inline LinkedText A2;
inline LinkedText A3;
inline LinkedText A4;
inline LinkedText A5;
inline LinkedText A6;

// Results table ("FONDRES"). A7 to A11 and B6 are the scene's own.
inline LinkedText A7;
inline LinkedText A8;
inline LinkedText A9;
inline LinkedText A10;
inline LinkedText A11;
inline LinkedText B1;  // U-values: walls, windows, door, floor, ceiling
inline LinkedText B2;
inline LinkedText B3;
inline LinkedText B4;
inline LinkedText B5;
inline LinkedText B6;
inline LinkedText C1;  // loss coefficients: the five, ventilation, total
inline LinkedText C2;
inline LinkedText C3;
inline LinkedText C4;
inline LinkedText C5;
inline LinkedText C6;
inline LinkedText C7;
inline LinkedText D1;  // heat losses: the five, ventilation, total
inline LinkedText D2;
inline LinkedText D3;
inline LinkedText D4;
inline LinkedText D5;
inline LinkedText D6;
inline LinkedText D7;
inline LinkedText E1;  // shares of the total loss
inline LinkedText E2;
inline LinkedText E3;
inline LinkedText E4;
inline LinkedText E5;
inline LinkedText E6;
inline LinkedText F1;  // surface temperatures, then the base outdoor temperature
inline LinkedText F2;
inline LinkedText F3;
inline LinkedText F4;
inline LinkedText F5;
inline LinkedText F6;
inline LinkedText G1;     // annual heating need
inline LinkedText KLASS;  // energy class letter

// Bound under "DECBS2A" and otherwise unused.
inline TalnumArea TALNUM;

}  // namespace maison

#endif

#pragma once

#include "demo/DemoUi.h"
#include "platform/Surface.h"

namespace dovetail::tools {

// The demo's screen pictures (640 × 480 unless said): backgrounds, the title
// with its menu, the café board, the ending pictures, the ranking screen and
// the start-up splash.

Surface CafeExterior(bool evening);               // p01.dat (day), p09.dat (evening)
Surface CafeInterior();                           // p02.dat
Surface TitleScreen(const Captions& captions);    // p03.dat, with the five menu items
Surface CafeBoard(const Captions& captions);      // p04.dat
Surface EndingSunset();                           // p05.dat, the ending without staff roll
Surface EndingNight();                            // p06.dat, the ending with staff roll
Surface RankingScreen(const Captions& captions);  // p07.dat, with its exit button
Surface RiversidePark();                          // p08.dat
Surface Splash();                                 // P99.dat, 400 × 200, shown centred

}  // namespace dovetail::tools

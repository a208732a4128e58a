#pragma once

#include "demo/DemoUi.h"
#include "host/Surface.h"

namespace dovetail::tools {

// The demo's screen pictures (640 × 480 unless said): the backgrounds of the
// story, the title with its menu, the café board, the ending pictures, the
// ranking screen and the start-up splash.

Surface CafeFrontByDay(const Captions& captions);         // p01.dat
Surface CafeInsideByDay();                                // p02.dat
Surface TitleScreen(const Captions& captions);            // p03.dat, with the five menu items
Surface CafeBoard(const Captions& captions);              // p04.dat
Surface EndingSunset(const Captions& captions);           // p05.dat, the ending without staff roll
Surface EndingNight();                                    // p06.dat, the ending with staff roll
Surface RankingScreen(const Captions& captions);          // p07.dat, with its exit button
Surface RiversideByDay();                                 // p08.dat
Surface CafeFrontInTheEvening(const Captions& captions);  // p09.dat
Surface CafeInsideAtNight();                              // p10.dat, lamps lit, chairs up
Surface ShoppingStreetInTheMorning(const Captions& captions);  // p11.dat
Surface HerosRoomAtNight();                                    // p12.dat
Surface RiversideAtSunset();                                   // p13.dat
Surface SummerFestival(const Captions& captions);  // p14.dat, lanterns on the hill at night
Surface CafeKitchen();                             // p15.dat
Surface RainyStreet();                             // p16.dat
Surface Splash(const Captions& captions);          // P99.dat, 400 × 200, shown centred

}  // namespace dovetail::tools

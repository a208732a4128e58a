#pragma once

// The seam between the program and the page it runs in: every function the
// page provides (WebHostLibrary.js, answered by the page's modules of web/page/)
// and the one record the page writes into the program's memory, PageEvent.
// The program exports nothing by name: the page starts it through emscripten's
// callMain. The page's side of every number here (the offsets, the kinds) is
// generated from PageTables.h, so neither side copies the other by hand.

#include <cstddef>
#include <cstdint>
#include <type_traits>

extern "C" {

// ---- The host (WebHost.cpp).

// The browser's clock in milliseconds.
double dovetail_web_now();
// Suspends the program until input arrives or `ms` have passed.
void dovetail_web_wait(uint32_t ms);
// Writes the next input into `event` (a PageEvent) and returns 1, or 0 when
// the page's queue is empty.
int dovetail_web_next_event(void* event);
// Shows a frame of 0x00RRGGBB words.
void dovetail_web_present(const void* pixels, int32_t width, int32_t height);
// Suspends the program until the player answers; 1 for OK.
int dovetail_web_message_box(const char* text, const char* title, int okCancel);
// Shows (or shows anew) the dialog the page knows by `id`, from its JSON description.
void dovetail_web_show_dialog(int32_t id, const char* description);
void dovetail_web_close_dialog(int32_t id);
// The menu bar from its JSON description (an array of items).
void dovetail_web_set_menu(const char* description);
int dovetail_web_open_link(const char* url);
void dovetail_web_diagnostic(const char* line);
// The local date ("yyyy/MM/dd") and time ("H:mm:ss"), 32 bytes each.
void dovetail_web_local_now(char* date, char* time);
// The screen's width, height and depth, the device's memory in GiB and the
// number of processors, into `facts` (six numbers).
void dovetail_web_machine(double* facts);
// The browser's name (its user agent), NUL-terminated within `size` bytes.
void dovetail_web_system(char* name, int32_t size);

// ---- The player's files (BrowserStorage.cpp).

// Suspends the program until the browser's storage holds the file at `path`
// (inside the player's folder the page keeps) and returns 1; or returns 0
// with the browser's reason for refusing it in `reason`, NUL-terminated
// within `size` bytes.
int dovetail_web_store_file(const char* path, char* reason, int32_t size);

// ---- The sound (WebAudioOutput.cpp).

int dovetail_web_audio_open();
void dovetail_web_midi(int status, int data1, int data2);
void dovetail_web_midi_reset();
void dovetail_web_play_effect(const float* samples, uint32_t frames, uint32_t rate);
void dovetail_web_set_gain(double gain);

// ---- The program's run (WebMain.cpp).

// The program has ended with `code`.
void dovetail_web_ended(int code);
// What the program waits for, and at a café customer the gestures that
// serve the one waiting longest (JSON), for the page's tests.
void dovetail_web_report(const char* waiting, const char* serving);
// One finished line of the run's log.
void dovetail_web_log(const char* line);
}

namespace dovetail {

// An input event as the page writes it: eight 32-bit numbers, then the name
// and the text as NUL-terminated UTF-8 (cut to fit). The page writes the
// numbers as whole words and the texts at their offsets, from the generated
// table of this layout; a change here is a change of the page's side too.
struct PageEvent {
  int32_t kind;  // InputEvent::Kind
  int32_t x;
  int32_t y;
  int32_t button;  // MouseButton
  int32_t shift;
  int32_t keyCode;
  int32_t wheel;
  int32_t dialog;  // the number the page knows the dialog by; 0: none
  char name[256];
  char text[1024];
};

// Whether every one of the fields is a 32-bit number, as the page writes it.
template <typename... Fields>
constexpr bool AllWords = (std::is_same_v<Fields, int32_t> && ...);

static_assert(
    AllWords<decltype(PageEvent::kind), decltype(PageEvent::x), decltype(PageEvent::y),
             decltype(PageEvent::button), decltype(PageEvent::shift), decltype(PageEvent::keyCode),
             decltype(PageEvent::wheel), decltype(PageEvent::dialog)>,
    "the page writes PageEvent's numbers as whole 32-bit words");
static_assert(offsetof(PageEvent, kind) == 0 && offsetof(PageEvent, x) == 4 &&
                  offsetof(PageEvent, y) == 8 && offsetof(PageEvent, button) == 12 &&
                  offsetof(PageEvent, shift) == 16 && offsetof(PageEvent, keyCode) == 20 &&
                  offsetof(PageEvent, wheel) == 24 && offsetof(PageEvent, dialog) == 28,
              "the page writes PageEvent's numbers as 32-bit words at these offsets");
static_assert(offsetof(PageEvent, name) == 32 && sizeof(PageEvent::name) == 256 &&
                  offsetof(PageEvent, text) == 288 && sizeof(PageEvent::text) == 1024,
              "the page writes PageEvent's texts at these offsets, cut to these sizes");
static_assert(sizeof(PageEvent) == 1312, "PageEvent has a field the page does not write");

}  // namespace dovetail

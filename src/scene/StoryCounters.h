#pragma once

#include <cstdint>
#include <string_view>

#include "host/Host.h"
#include "story/Interpreter.h"
#include "story/StoryState.h"

namespace dovetail {

// The script commands that keep and test the story's state. The variant is
// the command's last character. Each returns 1 after a jump to CurJump (the
// interpreter goes on at the target) and 2 otherwise. An unknown variant is
// reported with the command's error text and the record's label number, and
// the story goes on with the next record; so is a field that should hold a
// number and does not (the command then changes nothing and does not jump).

// The counter that a record's text addresses: its first three characters
// ("kai" refined by the text's last three, so "kaiumi" is kai/umi). HappyCount
// ("hap") only when `withHappy`. Null when the text names no counter.
int16_t* CounterFor(StoryCounters& counters, std::string_view text, bool withHappy);

// "p": p1 raises the addressed counter by 1; p2 adds CurParam1 to "set";
// p0, p7, p8 and p9 do nothing. Counters stay inside −32768 .. 32767.
int32_t CmdCount(StoryState& story, Host& host);

// "i": i0 jumps when the current player's grade is "A" or "B"; i1 when the
// addressed counter (not "hap") equals CurParam1; i2 never.
int32_t CmdIf(StoryState& story, Interpreter& interpreter, Host& host);

// "d": compares the stage StageNo with V = CurText: d0 =, d1 >, d2 >=, d3 <,
// d4 <=; d9 jumps when the stage is at least V and at least CurParam1.
int32_t CmdCompare(StoryState& story, Interpreter& interpreter, Host& host);

// "c": reserved; the digits 0, 1 and 2 do nothing, any other is reported.
int32_t CmdReserved(StoryState& story, Host& host);

}  // namespace dovetail

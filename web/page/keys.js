// The browser's keys as the program's virtual key codes and shift bits
// (the tables come from the program's own, through the generated seam.js).
import { KeyByName, KeyByPlace, Shift } from './seam.js';

// The key's code: by its name first (Enter, the arrows, F1 to F12), else by
// its place on the keyboard (letters, digits, the keypad's digits), so that
// a letter keeps its code whatever the layout and the shift state; 0 for a
// key the program does not know.
export function keyCodeOf(event) {
  if (Object.hasOwn(KeyByName, event.key)) return KeyByName[event.key];
  if (Object.hasOwn(KeyByPlace, event.code)) return KeyByPlace[event.code];
  return 0;
}

export function shiftOf(event) {
  return (event.shiftKey ? Shift.Shift : 0) | (event.ctrlKey ? Shift.Ctrl : 0) |
    (event.altKey ? Shift.Alt : 0);
}

// The browser's keys as the program's key codes and shift bits.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { pageModule } from './page-modules.mjs';

const { keyCodeOf, shiftOf } = await pageModule('keys.js');

test('keys map to the program\'s virtual key codes', () => {
  const cases = [
    [{ key: 'Enter', code: 'Enter' }, 13],
    [{ key: 'Escape', code: 'Escape' }, 27],
    [{ key: ' ', code: 'Space' }, 32],
    [{ key: 'PageDown', code: 'PageDown' }, 34],
    [{ key: 'ArrowLeft', code: 'ArrowLeft' }, 37],
    [{ key: 'ArrowDown', code: 'ArrowDown' }, 40],
    [{ key: 'Control', code: 'ControlLeft' }, 17],
    [{ key: 'Backspace', code: 'Backspace' }, 8],
    [{ key: 'F1', code: 'F1' }, 112],
    [{ key: 'F12', code: 'F12' }, 123],
    // Letters and digits by their place, whatever the layout and shift give.
    [{ key: 'a', code: 'KeyA' }, 65],
    [{ key: 'Z', code: 'KeyZ' }, 90],
    [{ key: 'q', code: 'KeyA' }, 65],
    [{ key: '!', code: 'Digit1' }, 49],
    [{ key: '9', code: 'Digit9' }, 57],
    [{ key: '0', code: 'Numpad0' }, 96],
    [{ key: '9', code: 'Numpad9' }, 105],
    // Keys the program does not know.
    [{ key: 'F13', code: 'F13' }, 0],
    [{ key: 'Dead', code: 'Quote' }, 0],
    [{ key: '+', code: 'NumpadAdd' }, 0],
    [{ key: 'Meta', code: 'MetaLeft' }, 0],
    [{ key: 'constructor', code: 'toString' }, 0],
  ];
  for (const [event, code] of cases) assert.equal(keyCodeOf(event), code, JSON.stringify(event));
});

test('shift, control and alt are the program\'s shift bits', () => {
  assert.equal(shiftOf({}), 0);
  assert.equal(shiftOf({ shiftKey: true }), 1);
  assert.equal(shiftOf({ ctrlKey: true }), 2);
  assert.equal(shiftOf({ altKey: true }), 4);
  assert.equal(shiftOf({ shiftKey: true, ctrlKey: true, altKey: true, metaKey: true }), 7);
});

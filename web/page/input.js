// The player's mouse, wheel, touches and keys on the canvas, posted to the
// session that plays as the program's input events (none while a message
// box is open).
import { canvas, clientPoint, fitCanvas } from './canvas.js';
import { keyCodeOf, shiftOf } from './keys.js';
import { closeMenus } from './menu.js';
import { ButtonOfBrowser, Kind, MouseButton } from './seam.js';

// `currentSession()` is the session playing now, or null.
export function listenToInput(currentSession) {
  const playing = () => {
    const session = currentSession();
    return session && !session.modal ? session : null;
  };
  const buttonOf = (event) => ButtonOfBrowser[event.button] || MouseButton.Left;
  const mouse = (kind, event, button) => {
    const session = playing();
    if (!session) return;
    const point = clientPoint(event);
    session.post({ kind, x: point.x, y: point.y, button, shift: shiftOf(event) });
  };
  canvas.addEventListener('mousedown', (event) => {
    canvas.focus();
    event.preventDefault();
    // The second press of a double click is a double click of its own.
    mouse(event.detail === 2 ? Kind.DoubleClick : Kind.MouseDown, event, buttonOf(event));
  });
  window.addEventListener('mouseup', (event) => {
    if (event.target === canvas) mouse(Kind.MouseUp, event, buttonOf(event));
  });
  // The buttons held, as the browser's bits: left 1, right 2, middle 4.
  canvas.addEventListener('mousemove', (event) => mouse(Kind.MouseMove, event, event.buttons & 7));
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  canvas.addEventListener('wheel', (event) => {
    event.preventDefault();
    const session = playing();
    if (event.deltaY === 0 || !session) return;
    const point = clientPoint(event);
    session.post({ kind: Kind.Wheel, x: point.x, y: point.y, wheel: event.deltaY < 0 ? 1 : -1 });
  }, { passive: false });
  // A tap is the pointer moved there, pressed and released, so that what
  // answers to the pointer over it (the café's staff) sees it first.
  canvas.addEventListener('touchend', (event) => {
    const session = playing();
    if (event.changedTouches.length !== 1 || !session) return;
    event.preventDefault();
    const point = clientPoint(event.changedTouches[0]);
    for (const kind of [Kind.MouseMove, Kind.MouseDown, Kind.MouseUp]) {
      const button = kind === Kind.MouseMove ? MouseButton.None : MouseButton.Left;
      session.post({ kind, x: point.x, y: point.y, button });
    }
  }, { passive: false });
  const key = (kind) => (event) => {
    const session = playing();
    if (!session) return;
    if (event.target !== canvas && event.target !== document.body) return;
    const code = keyCodeOf(event);
    if (!code || event.metaKey) return;
    event.preventDefault();
    session.post({ kind, keyCode: code, shift: shiftOf(event) });
  };
  document.addEventListener('keydown', key(Kind.KeyDown));
  document.addEventListener('keyup', key(Kind.KeyUp));
  window.addEventListener('resize', fitCanvas);
  document.addEventListener('fullscreenchange', () => requestAnimationFrame(fitCanvas));
  document.addEventListener('click', closeMenus);
}

// One run of the program on one game: the page's side of every call the
// program makes (WebHostLibrary.js calls these methods on Module.page).
import { HEIGHT, WIDTH, canvas, drawFrame } from './canvas.js';
import { DialogViews, showMessageBox } from './dialogs.js';
import { renderMenu } from './menu.js';
import { setStatus, statusLine } from './status.js';
import { reasonOf } from './storage.js';

export class Session {
  // `sound` is the page's one Sound; `playAgain` starts the same game anew.
  constructor(gameId, sound, playAgain) {
    this.gameId = gameId;
    this.queue = [];
    this.waiter = null;
    this.stopped = false;
    this.modal = false;
    this.context = canvas.getContext('2d');
    this.image = this.context.createImageData(WIDTH, HEIGHT);
    this.dialogs = new DialogViews((event) => this.post(event));
    this.menu = [];
    this.audio = sound;
    this.playAgain = playAgain;
    // For the page's tests: what the program waits for, its log, its last frame.
    this.waiting = '';
    this.serving = null;
    this.log = [];
    this.presented = 0;
    this.rounds = 0;
    this.exitCode = null;
  }

  now() {
    return performance.now();
  }

  post(event) {
    if (this.stopped) return;
    this.queue.push(event);
    this.wake();
  }

  wake() {
    const waiter = this.waiter;
    if (!waiter) return;
    this.waiter = null;
    clearTimeout(waiter.timer);
    waiter.wake();
  }

  waitForInput(ms, wake) {
    if (this.stopped) return;  // a replaced session never resumes
    const waiter = { wake, timer: 0 };
    waiter.timer = setTimeout(() => {
      if (this.waiter === waiter) this.waiter = null;
      wake();
    }, this.queue.length ? 0 : ms);
    this.waiter = waiter;
  }

  nextEvent() {
    const next = this.queue.shift() || null;
    // For the page's tests: rounds in which the program took all input.
    if (!next) ++this.rounds;
    return next;
  }

  present(pixels, width, height) {
    if (this.stopped) return;
    this.image = drawFrame(this.context, this.image, pixels, width, height);
    ++this.presented;
  }

  frame() {
    return Array.from(this.image.data);
  }

  messageBox(text, title, okCancel, answer) {
    this.modal = true;
    showMessageBox(text, title, okCancel, (ok) => {
      this.modal = false;
      canvas.focus();
      answer(ok);
    });
  }

  // Keeps a file the program wrote in the browser's storage (the Storage
  // the page mounted, this.storage); `done` gets null once it is held, or
  // the browser's reason for refusing it. A replaced session never resumes.
  storeFile(path, done) {
    this.storage.store([path]).then(() => {
      if (!this.stopped) done(null);
    }, (error) => {
      const reason = reasonOf(error);
      console.warn('dovetail: ' + path + ' could not be stored: ' + reason);
      if (this.stopped) return;
      setStatus('ブラウザに保存できませんでした：' + path.slice(path.lastIndexOf('/') + 1) + '（' + reason + '）');
      done(reason);
    });
  }

  showDialog(id, description) {
    this.dialogs.show(id, description);
  }

  closeDialog(id) {
    this.dialogs.close(id);
    canvas.focus();
  }

  setMenu(items) {
    this.menu = items;
    renderMenu(this, items);
  }

  openLink(url) {
    if (!/^(https?:|mailto:)/.test(url)) return false;
    return window.open(url, '_blank', 'noopener') !== null || url.startsWith('mailto:');
  }

  diagnostic(line) {
    console.warn(line);
  }

  ended(code) {
    this.exitCode = code;
    this.waiting = '';
    if (this.stopped) return;
    renderMenu(this, []);
    // The program's window is gone: its last picture stays dimmed, silent.
    this.audio.reset();
    canvas.classList.add('ended');
    statusLine.textContent = 'ゲームは終了しました。';
    const again = document.createElement('button');
    again.type = 'button';
    again.textContent = 'もう一度遊ぶ';
    again.addEventListener('click', () => this.playAgain());
    statusLine.append(' ', again);
  }

  report(waiting, serving) {
    this.waiting = waiting;
    this.serving = serving ? JSON.parse(serving) : null;
  }

  logLine(line) {
    this.log.push(line);
  }

  stop() {
    this.stopped = true;
    this.waiter = null;
    this.dialogs.removeAll();
    renderMenu(this, []);
  }
}

// The page of the game in a web browser: starts the program (dovetail.js,
// made with createDovetail) on the bundled game or on a folder the player
// chooses, and is the program's host on the page (WebHostLibrary.js calls
// the session's methods): the canvas, input, the HTML message boxes, dialogs
// and menu bar, the sound, and the player's files in the browser's storage.
'use strict';

(function () {
  // InputEvent::Kind, in its order.
  const Kind = {
    MouseDown: 0, DoubleClick: 1, MouseUp: 2, MouseMove: 3, KeyDown: 4, KeyUp: 5, Wheel: 6,
    MenuClick: 7, CloseRequest: 8, Type: 9, Press: 10, DialogClose: 11, DialogLostFocus: 12,
    DialogKey: 13,
  };
  const WIDTH = 640;
  const HEIGHT = 480;
  const BUNDLED_GAME = 'demo';
  const SOUND_HINT = '最初のクリックで音が出ます。';
  const params = new URLSearchParams(location.search);

  const $ = (id) => document.getElementById(id);
  const canvas = $('screen');
  const overlays = $('overlays');
  const statusLine = $('status');

  function setStatus(text) {
    statusLine.textContent = text;
  }

  // ---- Sound: the synthesizer (js-synthesizer) and the effects, one for the page.

  class Sound {
    constructor() {
      this.context = null;
      this.master = null;
      this.synth = null;
      this.ready = false;
      this.effect = null;
      // What the channels were set to before the synthesizer was ready.
      this.channels = [];
      this.resetChannels();
    }

    resetChannels() {
      this.channels = Array.from({ length: 16 }, () => ({ program: null, controls: new Map(), bend: null }));
    }

    open() {
      if (this.context) return true;
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return false;
      this.context = new Context();
      this.master = this.context.createGain();
      this.master.connect(this.context.destination);
      // The browser lets sound start only after the player's first click or key.
      const resume = () => {
        if (this.context.state === 'running') return;
        this.context.resume().then(() => {
          if (statusLine.textContent.endsWith(SOUND_HINT)) setStatus('');
        });
      };
      for (const type of ['pointerdown', 'keydown', 'touchend']) {
        document.addEventListener(type, resume, { capture: true });
      }
      this.loadSynthesizer().catch((error) => {
        console.warn('dovetail: the music is off: ' + error);
        setStatus('音楽を鳴らせません：' + error);
      });
      return true;
    }

    async loadSynthesizer() {
      if (!window.JSSynth) throw new Error('js-synthesizer is missing');
      await JSSynth.waitForReady();
      const response = await fetch('soundfont.sf2');
      if (!response.ok) throw new Error('soundfont.sf2: ' + response.status);
      const font = await response.arrayBuffer();
      const synth = new JSSynth.Synthesizer();
      synth.init(this.context.sampleRate);
      const node = synth.createAudioNode(this.context, 4096);
      node.connect(this.master);
      await synth.loadSFont(font);
      this.synth = synth;
      this.ready = true;
      // The piece that should be playing goes on from where it stands.
      this.channels.forEach((channel, number) => {
        if (channel.program !== null) synth.midiProgramChange(number, channel.program);
        for (const [control, value] of channel.controls) synth.midiControl(number, control, value);
        if (channel.bend !== null) synth.midiPitchBend(number, channel.bend);
      });
    }

    reset() {
      this.resetChannels();
      if (this.ready) this.synth.midiSystemReset();
    }

    midi(status, data1, data2) {
      const type = status & 0xf0;
      const number = status & 0x0f;
      const channel = this.channels[number];
      if (type === 0xb0) channel.controls.set(data1, data2);
      if (type === 0xc0) channel.program = data1;
      if (type === 0xe0) channel.bend = (data2 << 7) | data1;
      if (!this.ready) return;
      const synth = this.synth;
      switch (type) {
        case 0x80: synth.midiNoteOff(number, data1); break;
        case 0x90:
          if (data2 === 0) synth.midiNoteOff(number, data1);
          else synth.midiNoteOn(number, data1, data2);
          break;
        case 0xa0: synth.midiKeyPressure(number, data1, data2); break;
        case 0xb0: synth.midiControl(number, data1, data2); break;
        case 0xc0: synth.midiProgramChange(number, data1); break;
        case 0xd0: synth.midiChannelPressure(number, data1); break;
        case 0xe0: synth.midiPitchBend(number, (data2 << 7) | data1); break;
        default: break;
      }
    }

    playEffect(samples, frames, rate) {
      if (!this.context) return;
      const buffer = this.context.createBuffer(2, frames, rate);
      const left = buffer.getChannelData(0);
      const right = buffer.getChannelData(1);
      for (let i = 0; i < frames; ++i) {
        left[i] = samples[2 * i];
        right[i] = samples[2 * i + 1];
      }
      // A new effect cuts off the one still playing.
      if (this.effect) this.effect.stop();
      const source = this.context.createBufferSource();
      source.buffer = buffer;
      source.connect(this.master);
      source.start();
      this.effect = source;
    }

    setGain(gain) {
      if (this.master) this.master.gain.value = gain;
    }
  }

  const sound = new Sound();

  // ---- The player's files: one IndexedDB store per game, written through
  // after every change.

  function savesFolder(gameId) {
    return '/saves/' + gameId;
  }

  class Storage {
    constructor(FS, folder) {
      this.FS = FS;
      this.folder = folder;
      this.syncing = false;
      this.again = false;
    }

    mount() {
      const FS = this.FS;
      FS.mkdirTree(this.folder);
      FS.mount(FS.filesystems.IDBFS, {}, this.folder);
      return this.sync(true).then(() => {
        // Every file closed, renamed or removed in the folder is written
        // through: the program's own calls all pass these three.
        const mine = (path) => typeof path === 'string' && path.startsWith(this.folder + '/');
        const { close, rename, unlink } = FS;
        FS.close = (stream) => {
          const path = stream && stream.path;
          const result = close.call(FS, stream);
          if (mine(path)) this.flush();
          return result;
        };
        FS.rename = (from, to) => {
          const result = rename.call(FS, from, to);
          if (mine(to)) this.flush();
          return result;
        };
        FS.unlink = (path) => {
          const result = unlink.call(FS, path);
          if (mine(path)) this.flush();
          return result;
        };
      });
    }

    sync(populate) {
      return new Promise((resolve, reject) => {
        this.FS.syncfs(populate, (error) => (error ? reject(error) : resolve()));
      });
    }

    // Writes the folder to the browser's storage; a change made meanwhile
    // is written by another round.
    flush() {
      if (this.syncing) {
        this.again = true;
        return;
      }
      this.syncing = true;
      this.sync(false).catch((error) => {
        console.warn('dovetail: the saves could not be stored: ' + error);
        setStatus('セーブをブラウザに保存できませんでした：' + error);
      }).finally(() => {
        this.syncing = false;
        if (this.again) {
          this.again = false;
          this.flush();
        }
      });
    }

    files() {
      const FS = this.FS;
      const found = [];
      const walk = (path, relative) => {
        for (const name of FS.readdir(path)) {
          if (name === '.' || name === '..') continue;
          const full = path + '/' + name;
          const inside = relative ? relative + '/' + name : name;
          if (FS.isDir(FS.stat(full).mode)) walk(full, inside);
          else found.push({ name: inside, data: FS.readFile(full) });
        }
      };
      walk(this.folder, '');
      return found;
    }

    write(files) {
      for (const file of files) {
        const full = this.folder + '/' + file.name;
        this.FS.mkdirTree(full.slice(0, full.lastIndexOf('/')));
        this.FS.writeFile(full, file.data);
      }
      return this.sync(false);
    }
  }

  // ---- The player's files as one archive (tar).

  const Tar = {
    write(files) {
      const encoder = new TextEncoder();
      const parts = [];
      const field = (header, at, length, text) => {
        header.set(encoder.encode(text).subarray(0, length), at);
      };
      const octal = (value, length) => value.toString(8).padStart(length - 1, '0') + '\0';
      for (const file of files) {
        const header = new Uint8Array(512);
        let name = file.name;
        let prefix = '';
        if (encoder.encode(name).length > 100 && name.includes('/')) {
          prefix = name.slice(0, name.lastIndexOf('/'));
          name = name.slice(name.lastIndexOf('/') + 1);
        }
        field(header, 0, 100, name);
        field(header, 100, 8, '0000644\0');
        field(header, 108, 8, '0000000\0');
        field(header, 116, 8, '0000000\0');
        field(header, 124, 12, octal(file.data.length, 12));
        field(header, 136, 12, octal(Math.floor(Date.now() / 1000), 12));
        field(header, 148, 8, '        ');
        field(header, 156, 1, '0');
        field(header, 257, 8, 'ustar\x0000');
        field(header, 345, 155, prefix);
        let sum = 0;
        for (const byte of header) sum += byte;
        field(header, 148, 8, sum.toString(8).padStart(6, '0') + '\0 ');
        parts.push(header, file.data);
        const padding = (512 - (file.data.length % 512)) % 512;
        if (padding) parts.push(new Uint8Array(padding));
      }
      parts.push(new Uint8Array(1024));
      return new Blob(parts, { type: 'application/x-tar' });
    },

    read(bytes) {
      const decoder = new TextDecoder();
      const text = (at, length) => {
        const slice = bytes.subarray(at, at + length);
        const end = slice.indexOf(0);
        return decoder.decode(end < 0 ? slice : slice.subarray(0, end));
      };
      const files = [];
      let at = 0;
      while (at + 512 <= bytes.length) {
        if (bytes.subarray(at, at + 512).every((byte) => byte === 0)) break;
        if (text(at + 257, 5) !== 'ustar') throw new Error('not a tar archive');
        const size = parseInt(text(at + 124, 12).trim() || '0', 8);
        const type = text(at + 156, 1);
        const prefix = text(at + 345, 155);
        const name = (prefix ? prefix + '/' : '') + text(at, 100);
        if (!(size >= 0) || at + 512 + size > bytes.length) throw new Error('the archive is cut short');
        // Only plain files, and no path that climbs out of the folder.
        const safe = name.split('/').every((part) => part !== '..') && !name.startsWith('/');
        if ((type === '0' || type === '') && safe && name) {
          files.push({ name, data: bytes.slice(at + 512, at + 512 + size) });
        }
        at += 512 + Math.ceil(size / 512) * 512;
      }
      return files;
    },
  };

  // ---- Keys: the virtual key codes the program knows.

  const NAMED_KEYS = {
    Enter: 13, Escape: 27, ' ': 32, PageUp: 33, PageDown: 34, End: 35, Home: 36, ArrowLeft: 37,
    ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Control: 17, Shift: 16, Alt: 18, Backspace: 8,
    Tab: 9, Delete: 46, Insert: 45,
  };

  function keyCodeOf(event) {
    if (event.key in NAMED_KEYS) return NAMED_KEYS[event.key];
    if (/^F([1-9]|1[0-2])$/.test(event.key)) return 111 + Number(event.key.slice(1));
    if (/^Key[A-Z]$/.test(event.code)) return event.code.charCodeAt(3);
    if (/^Digit[0-9]$/.test(event.code)) return 48 + Number(event.code.slice(5));
    if (/^Numpad[0-9]$/.test(event.code)) return 96 + Number(event.code.slice(6));
    return 0;
  }

  function shiftOf(event) {
    return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
  }

  // ---- One run of the program on one game.

  class Session {
    constructor(gameId) {
      this.gameId = gameId;
      this.queue = [];
      this.waiter = null;
      this.stopped = false;
      this.modal = false;
      this.context = canvas.getContext('2d');
      this.image = this.context.createImageData(WIDTH, HEIGHT);
      this.dialogs = new Map();
      this.menu = [];
      this.audio = sound;
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
      if (width !== this.image.width || height !== this.image.height) {
        canvas.width = width;
        canvas.height = height;
        this.image = this.context.createImageData(width, height);
        fitCanvas();
      }
      // The program's pixels are 0x00RRGGBB words: B, G, R, 0 in memory.
      const out = this.image.data;
      for (let i = 0; i < out.length; i += 4) {
        out[i] = pixels[i + 2];
        out[i + 1] = pixels[i + 1];
        out[i + 2] = pixels[i];
        out[i + 3] = 255;
      }
      this.context.putImageData(this.image, 0, 0);
      ++this.presented;
    }

    frame() {
      return Array.from(this.image.data);
    }

    // ---- Message boxes: modal, in the page.

    messageBox(text, title, okCancel, answer) {
      this.modal = true;
      const shade = document.createElement('div');
      shade.className = 'modal-shade';
      const box = document.createElement('div');
      box.className = 'message-box';
      box.setAttribute('role', 'alertdialog');
      box.innerHTML = '<div class="caption"></div><div class="text"></div><div class="buttons"></div>';
      box.querySelector('.caption').textContent = title || 'Dovetail';
      box.querySelector('.text').textContent = text.replace(/\r\n/g, '\n');
      const close = (ok) => {
        shade.remove();
        box.remove();
        this.modal = false;
        canvas.focus();
        answer(ok);
      };
      const buttons = box.querySelector('.buttons');
      const add = (caption, ok) => {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = caption;
        button.dataset.answer = ok ? 'ok' : 'cancel';
        button.addEventListener('click', () => close(ok));
        buttons.appendChild(button);
        return button;
      };
      const ok = add('OK', true);
      if (okCancel) add('キャンセル', false);
      box.addEventListener('keydown', (event) => {
        event.stopPropagation();
        if (event.key === 'Escape') close(!okCancel);
        else if (event.key === 'Enter') close(document.activeElement.dataset.answer !== 'cancel');
      });
      document.body.append(shade, box);
      ok.focus();
    }

    // ---- Dialogs: HTML over the canvas, from the program's description.

    showDialog(id, description) {
      let view = this.dialogs.get(id);
      const names = description.controls.map((control) => control.kind + ':' + control.name).join();
      if (!view || view.names !== names) {
        if (view) view.element.remove();
        view = this.buildDialog(id, description);
        view.names = names;
        this.dialogs.set(id, view);
      }
      this.updateDialog(view, description);
    }

    buildDialog(id, description) {
      const element = document.createElement('div');
      element.className = 'dialog';
      element.setAttribute('role', 'dialog');
      element.dataset.dialog = String(id);
      const caption = document.createElement('div');
      caption.className = 'caption';
      const title = document.createElement('span');
      const closeBox = document.createElement('button');
      closeBox.type = 'button';
      closeBox.textContent = '×';
      closeBox.title = '閉じる';
      closeBox.addEventListener('click', () => this.post({ kind: Kind.DialogClose, dialog: id }));
      caption.append(title, closeBox);
      const client = document.createElement('div');
      client.className = 'client';
      element.append(caption, client);
      const controls = new Map();
      // Frames first, so that the controls in them lie on top.
      const ordered = description.controls.filter((c) => c.kind === 'frame')
        .concat(description.controls.filter((c) => c.kind !== 'frame'));
      let firstText = null;
      for (const control of ordered) {
        const made = this.makeControl(id, control);
        made.element.style.left = control.left + 'px';
        made.element.style.top = control.top + 'px';
        made.element.style.width = control.width + 'px';
        made.element.style.height = control.height + 'px';
        made.element.dataset.control = control.name;
        client.appendChild(made.element);
        controls.set(control.name, made);
        if (control.kind === 'text' && !firstText) firstText = made.input;
      }
      element.addEventListener('keydown', (event) => {
        event.stopPropagation();
        if (event.key === 'Enter' && !(event.target.tagName === 'TEXTAREA') && !event.isComposing) {
          event.preventDefault();
          this.post({ kind: Kind.DialogKey, dialog: id, keyCode: 13 });
        } else if (event.key === 'Escape') {
          event.preventDefault();
          this.post({ kind: Kind.DialogKey, dialog: id, keyCode: 27 });
        }
      });
      overlays.appendChild(element);
      const view = { element, title, client, controls };
      requestAnimationFrame(() => (firstText || element.querySelector('button'))?.focus());
      return view;
    }

    makeControl(id, control) {
      const press = (event) => {
        event.preventDefault();
        this.post({ kind: Kind.Press, dialog: id, name: control.name });
      };
      switch (control.kind) {
        case 'text': {
          const input = document.createElement(control.multiLine ? 'textarea' : 'input');
          if (control.maxLength > 0) input.maxLength = control.maxLength;
          input.addEventListener('input', () => {
            this.post({ kind: Kind.Type, dialog: id, text: input.value });
          });
          return { element: input, input };
        }
        case 'button': {
          const button = document.createElement('button');
          button.type = 'button';
          button.addEventListener('click', press);
          return { element: button, text: button };
        }
        case 'check':
        case 'option': {
          const label = document.createElement('label');
          const input = document.createElement('input');
          input.type = control.kind === 'check' ? 'checkbox' : 'radio';
          const text = document.createElement('span');
          label.append(input, text);
          label.addEventListener('click', press);
          return { element: label, input, text };
        }
        case 'frame': {
          const fieldset = document.createElement('fieldset');
          const legend = document.createElement('legend');
          fieldset.appendChild(legend);
          return { element: fieldset, text: legend };
        }
        case 'link': {
          const link = document.createElement('a');
          link.href = '#';
          link.addEventListener('click', press);
          return { element: link, text: link };
        }
        default: {
          const label = document.createElement('div');
          label.style.whiteSpace = 'pre-wrap';
          return { element: label, text: label };
        }
      }
    }

    updateDialog(view, description) {
      view.title.textContent = description.caption;
      view.client.style.width = description.width + 'px';
      view.client.style.height = description.height + 'px';
      for (const control of description.controls) {
        const made = view.controls.get(control.name);
        if (!made) continue;
        if (made.text) made.text.textContent = control.text.replace(/&(?!&)/g, '');
        if (made.input) {
          made.input.disabled = !control.enabled;
          if (control.kind === 'text') {
            if (made.input.value !== control.text) made.input.value = control.text;
          } else {
            made.input.checked = control.checked;
          }
        }
        if (made.element.tagName === 'BUTTON') made.element.disabled = !control.enabled;
        made.element.classList.toggle('disabled', !control.enabled);
      }
      this.placeDialog(view);
    }

    placeDialog(view) {
      const zoom = currentZoom();
      const element = view.element;
      element.style.transformOrigin = '0 0';
      element.style.transform = 'scale(' + zoom + ')';
      const width = element.offsetWidth * zoom;
      const height = element.offsetHeight * zoom;
      element.style.left = Math.max(0, (WIDTH * zoom - width) / 2) + 'px';
      element.style.top = Math.max(0, (HEIGHT * zoom - height) / 2) + 'px';
    }

    closeDialog(id) {
      const view = this.dialogs.get(id);
      if (view) view.element.remove();
      this.dialogs.delete(id);
      canvas.focus();
    }

    // ---- The menu bar, mirrored from the program's items.

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
      sound.reset();
      canvas.classList.add('ended');
      statusLine.textContent = 'ゲームは終了しました。';
      const again = document.createElement('button');
      again.type = 'button';
      again.textContent = 'もう一度遊ぶ';
      again.addEventListener('click', () => startGame(currentGame).catch(showFailure));
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
      for (const view of this.dialogs.values()) view.element.remove();
      this.dialogs.clear();
      renderMenu(this, []);
    }
  }

  // ---- The menu bar.

  function renderMenu(session, items) {
    const menu = $('menu');
    menu.textContent = '';
    const drops = new Map();
    const itemElement = (item) => {
      const element = document.createElement('div');
      const [caption, hint] = item.caption.replace(/&(?!&)/g, '').split('\t');
      element.className = 'item' + (item.enabled ? '' : ' disabled') + (item.checked ? ' checked' : '');
      element.dataset.menu = item.name;
      element.setAttribute('role', item.checkable ? 'menuitemcheckbox' : 'menuitem');
      if (item.checkable) element.setAttribute('aria-checked', String(item.checked));
      const text = document.createElement('span');
      text.textContent = caption;
      element.appendChild(text);
      if (hint) {
        const key = document.createElement('span');
        key.className = 'hint';
        key.textContent = hint;
        element.appendChild(key);
      }
      element.addEventListener('click', (event) => {
        event.stopPropagation();
        menu.querySelectorAll('.drop.open').forEach((drop) => drop.classList.remove('open'));
        if (item.enabled) session.post({ kind: Kind.MenuClick, name: item.name });
      });
      return element;
    };
    for (const item of items) {
      if (!item.menu) {
        menu.appendChild(itemElement(item));
        continue;
      }
      let drop = drops.get(item.menu);
      if (!drop) {
        drop = document.createElement('div');
        drop.className = 'drop';
        const title = document.createElement('div');
        title.className = 'title';
        title.textContent = item.menu.replace(/&(?!&)/g, '');
        title.addEventListener('click', () => drop.classList.toggle('open'));
        const list = document.createElement('div');
        list.className = 'list';
        list.setAttribute('role', 'menu');
        drop.append(title, list);
        menu.appendChild(drop);
        drops.set(item.menu, drop);
      }
      drop.querySelector('.list').appendChild(itemElement(item));
    }
  }

  // ---- The canvas: whole-number zoom, input.

  function currentZoom() {
    return Number(canvas.dataset.zoom || 1);
  }

  function fitCanvas() {
    const stage = $('stage');
    const room = stage.getBoundingClientRect();
    const zoom = Math.max(1, Math.floor(Math.min((room.width - 8) / canvas.width,
                                                 (room.height - 30) / canvas.height)));
    canvas.dataset.zoom = String(zoom);
    canvas.style.width = canvas.width * zoom + 'px';
    canvas.style.height = canvas.height * zoom + 'px';
    if (session) for (const view of session.dialogs.values()) session.placeDialog(view);
  }

  function clientPoint(event) {
    const box = canvas.getBoundingClientRect();
    const zoom = box.width / canvas.width;
    return {
      x: Math.min(canvas.width - 1, Math.max(0, Math.floor((event.clientX - box.left) / zoom))),
      y: Math.min(canvas.height - 1, Math.max(0, Math.floor((event.clientY - box.top) / zoom))),
    };
  }

  // Browser buttons (0 left, 1 middle, 2 right) as the program's 1, 4, 2.
  const BUTTONS = [1, 4, 2];

  function listenToInput() {
    const mouse = (kind, event, button) => {
      if (!session || session.modal) return;
      const point = clientPoint(event);
      session.post({ kind, x: point.x, y: point.y, button, shift: shiftOf(event) });
    };
    canvas.addEventListener('mousedown', (event) => {
      canvas.focus();
      event.preventDefault();
      // The second press of a double click is a double click of its own.
      mouse(event.detail === 2 ? Kind.DoubleClick : Kind.MouseDown, event, BUTTONS[event.button] || 1);
    });
    window.addEventListener('mouseup', (event) => {
      if (event.target === canvas) mouse(Kind.MouseUp, event, BUTTONS[event.button] || 1);
    });
    canvas.addEventListener('mousemove', (event) => mouse(Kind.MouseMove, event, event.buttons & 7));
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('wheel', (event) => {
      event.preventDefault();
      if (event.deltaY === 0 || !session || session.modal) return;
      const point = clientPoint(event);
      session.post({ kind: Kind.Wheel, x: point.x, y: point.y, wheel: event.deltaY < 0 ? 1 : -1 });
    }, { passive: false });
    // A tap is the pointer moved there, pressed and released, so that what
    // answers to the pointer over it (the café's staff) sees it first.
    canvas.addEventListener('touchend', (event) => {
      if (event.changedTouches.length !== 1 || !session || session.modal) return;
      event.preventDefault();
      const touch = event.changedTouches[0];
      const point = clientPoint(touch);
      for (const kind of [Kind.MouseMove, Kind.MouseDown, Kind.MouseUp]) {
        session.post({ kind, x: point.x, y: point.y, button: kind === Kind.MouseMove ? 0 : 1 });
      }
    }, { passive: false });
    const key = (kind) => (event) => {
      if (!session || session.modal) return;
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
    document.addEventListener('click', () => {
      $('menu').querySelectorAll('.drop.open').forEach((drop) => drop.classList.remove('open'));
    });
  }

  // ---- Starting a game.

  let session = null;
  let currentGame = null;
  let glyphTable = null;
  let programBinary = null;
  let bundledGame = null;

  // A file the build packed with gzip, unpacked (a server that already sent
  // it unpacked, as Content-Encoding, leaves nothing to do).
  async function fetchPacked(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(url + ': ' + response.status + ' ' + response.statusText);
    const bytes = new Uint8Array(await response.arrayBuffer());
    if (bytes.length < 2 || bytes[0] !== 0x1f || bytes[1] !== 0x8b) return bytes;
    const unpacked = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Uint8Array(await new Response(unpacked).arrayBuffer());
  }

  async function loadBundledGame() {
    const names = await (await fetch('game/files.json')).json();
    const files = new Map();
    await Promise.all(names.map(async (name) => files.set(name, await fetchPacked('game/' + name + '.gz'))));
    return { id: BUNDLED_GAME, title: 'デモ', files };
  }

  // A name fit for the game's storage: the folder's name, kept to safe letters.
  function gameIdOf(folderName) {
    const id = folderName.normalize('NFC').replace(/[^\p{L}\p{N}_-]+/gu, '_').slice(0, 60);
    return 'folder-' + (id || 'game');
  }

  async function startGame(game) {
    if (session) session.stop();
    currentGame = game;
    canvas.classList.remove('ended');
    const mine = new Session(game.id);
    session = mine;
    window.dovetailPage.session = mine;
    setStatus('読み込み中…');
    const module = await createDovetail({
      page: mine,
      wasmBinary: programBinary,
      print: (line) => console.log(line),
      printErr: (line) => console.warn(line),
    });
    const FS = module.FS;
    for (const [name, data] of game.files) {
      const full = '/game/' + name;
      FS.mkdirTree(full.slice(0, full.lastIndexOf('/')));
      FS.writeFile(full, data);
    }
    FS.mkdirTree('/dovetail');
    FS.writeFile('/dovetail/glyphs.bin', glyphTable);
    const storage = new Storage(FS, savesFolder(game.id));
    await storage.mount();
    mine.storage = storage;
    if (mine.stopped) return;
    setStatus(sound.context && sound.context.state === 'running' ? '' : game.title + ' — ' + SOUND_HINT);
    const args = ['--player', storage.folder];
    if (params.has('seed')) args.push('--seed', params.get('seed'));
    if (params.has('log')) args.push('--log');
    canvas.focus();
    module.callMain(args);
  }

  // Files of a folder the player chose, by their path inside it.
  function filesOfPicked(list) {
    const files = new Map();
    let folder = '';
    const reads = [];
    for (const file of list) {
      const parts = file.webkitRelativePath.split('/');
      folder = parts[0];
      const name = parts.slice(1).join('/');
      reads.push(file.arrayBuffer().then((data) => files.set(name, new Uint8Array(data))));
    }
    return Promise.all(reads).then(() => ({ folder, files }));
  }

  // The same for a folder dropped on the page.
  async function filesOfDropped(entry) {
    const files = new Map();
    const readAll = (reader) => new Promise((resolve, reject) => {
      const all = [];
      const next = () => reader.readEntries((batch) => {
        if (!batch.length) resolve(all);
        else { all.push(...batch); next(); }
      }, reject);
      next();
    });
    const walk = async (directory, prefix) => {
      for (const child of await readAll(directory.createReader())) {
        const name = prefix + child.name;
        if (child.isDirectory) {
          await walk(child, name + '/');
        } else {
          const file = await new Promise((resolve, reject) => child.file(resolve, reject));
          files.set(name, new Uint8Array(await file.arrayBuffer()));
        }
      }
    };
    await walk(entry, '');
    return { folder: entry.name, files };
  }

  function playFolder(picked) {
    if (!picked.files.size) {
      setStatus('フォルダが空です：' + picked.folder);
      return;
    }
    startGame({ id: gameIdOf(picked.folder), title: picked.folder, files: picked.files })
      .catch(showFailure);
  }

  function showFailure(error) {
    console.error(error);
    setStatus('起動できませんでした：' + (error && error.message ? error.message : error));
  }

  function listenToTools() {
    $('open-folder').addEventListener('click', () => $('folder-input').click());
    $('folder-input').addEventListener('change', (event) => {
      filesOfPicked(event.target.files).then(playFolder).catch(showFailure);
      event.target.value = '';
    });
    $('full-screen').addEventListener('click', () => {
      if (document.fullscreenElement) document.exitFullscreen();
      else document.documentElement.requestFullscreen().catch(() => {});
    });
    $('export-saves').addEventListener('click', () => {
      if (!session || !session.storage) return;
      const blob = Tar.write(session.storage.files());
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = 'dovetail-' + session.gameId + '-saves.tar';
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    });
    $('import-saves').addEventListener('click', () => $('archive-input').click());
    $('archive-input').addEventListener('change', async (event) => {
      const file = event.target.files[0];
      event.target.value = '';
      if (!file || !session || !session.storage) return;
      try {
        const files = Tar.read(new Uint8Array(await file.arrayBuffer()));
        await session.storage.write(files);
        setStatus(files.length + ' 個のファイルを読み込みました。ページを読み込み直します。');
        setTimeout(() => location.reload(), 800);
      } catch (error) {
        setStatus('読み込めませんでした：' + file.name + '（' + error.message + '）');
      }
    });
    const hint = $('drop-hint');
    document.addEventListener('dragover', (event) => {
      event.preventDefault();
      hint.hidden = false;
    });
    document.addEventListener('dragleave', (event) => {
      if (!event.relatedTarget) hint.hidden = true;
    });
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      hint.hidden = true;
      const item = event.dataTransfer.items[0];
      const entry = item && item.webkitGetAsEntry && item.webkitGetAsEntry();
      if (!entry || !entry.isDirectory) {
        setStatus('フォルダを落としてください。');
        return;
      }
      filesOfDropped(entry).then(playFolder).catch(showFailure);
    });
  }

  window.dovetailPage = { session: null, sound, Tar, startBundled: () => startGame(bundledGame) };

  async function main() {
    listenToInput();
    listenToTools();
    fitCanvas();
    [programBinary, glyphTable, bundledGame] = await Promise.all([
      fetchPacked('dovetail.wasm.gz'), fetchPacked('glyphs.bin.gz'), loadBundledGame()]);
    await startGame(bundledGame);
  }

  main().catch(showFailure);
})();

// make web-test: the page in headless Chromium (Debian's), driven by
// Playwright against a server on the loopback address, compared with the
// headless runner (dovetail-run) playing the same play file.
//
//   node test/run.js SITE NATIVE_BUILD
//
// Checks that the demo's title appears; that the first day, played from
// content/demo/play/first-day.play with real clicks, typing, a choice and a
// café customer served by mouse, gives the runner's sequence of script
// steps, dialogs, choices, message boxes, stages, customers and servings;
// that every snapshot of the play file (the title, pages of text, the name
// entry, the café) has the runner's pixels; that the save made on the way
// survives a reload of the page and an export to an archive and back; that
// a screenshot keeps the picture's pixels; that a save the browser's storage
// refuses is told as a failed save and the story goes on; and that a folder
// the player chooses plays with a store of its own. Screenshots of the page go to
// build-web/test/.
'use strict';

const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { chromium } = require('playwright-core');
const { serve } = require('./server');

const [site, nativeBuild] = process.argv.slice(2).map((p) => path.resolve(p));
const repository = path.resolve(__dirname, '..', '..');
const playFile = path.join(repository, 'content', 'demo', 'play', 'first-day.play');
const shots = path.join(repository, 'build-web', 'test');
// Customers are left out: the café draws them from the time of day, which
// the runner's virtual clock and the browser's real one give differently.
const LOGGED = ['step', 'dialog', 'choice', 'msgbox', 'stage', 'serve'];

// ---- The runner's side.

function runRunner(gameFolder, saveFolder, snapFolder, play) {
  const playPath = path.join(snapFolder, 'input.play');
  fs.writeFileSync(playPath, play);
  const logPath = path.join(snapFolder, 'log.jsonl');
  childProcess.execFileSync(path.join(nativeBuild, 'dovetail-run'), [
    '--game', gameFolder, '--save-dir', saveFolder, '--snap-dir', snapFolder, '--seed', '1',
    '--play', playPath, '--log', logPath,
  ], { stdio: ['ignore', 'ignore', 'inherit'] });
  return fs.readFileSync(logPath, 'utf8').split('\n').filter(Boolean);
}

// The events both runs must share, without their times.
function sequence(lines) {
  return lines.map((line) => JSON.parse(line)).filter((event) => LOGGED.includes(event.event))
    .map((event) => {
      const copy = { ...event };
      delete copy.t;
      delete copy.ms;  // how long a serving took: the player's speed
      return JSON.stringify(copy);
    });
}

// The pixels of a PNG the runner wrote (8-bit RGB or RGBA, no interlace) as RGBA.
function readPng(file) {
  const bytes = fs.readFileSync(file);
  let at = 8;
  let width = 0;
  let height = 0;
  let channels = 3;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const rgba = new Uint8Array(width * height * 4);
  const stride = 1 + width * channels;
  let previous = new Uint8Array(width * channels);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * stride];
    const row = Uint8Array.from(raw.subarray(y * stride + 1, (y + 1) * stride));
    for (let i = 0; i < row.length; ++i) {
      const left = i >= channels ? row[i - channels] : 0;
      const up = previous[i];
      const upLeft = i >= channels ? previous[i - channels] : 0;
      if (filter === 1) row[i] += left;
      else if (filter === 2) row[i] += up;
      else if (filter === 3) row[i] += (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft;
        const pa = Math.abs(p - left);
        const pb = Math.abs(p - up);
        const pc = Math.abs(p - upLeft);
        row[i] += pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
    }
    for (let x = 0; x < width; ++x) {
      for (let c = 0; c < 3; ++c) rgba[(y * width + x) * 4 + c] = row[x * channels + c];
      rgba[(y * width + x) * 4 + 3] = 255;
    }
    previous = row;
  }
  return { width, height, rgba };
}

// ---- The page's side.

const PLAY_KEYS = {
  enter: 'Enter', escape: 'Escape', space: 'Space', pageup: 'PageUp', pagedown: 'PageDown',
  left: 'ArrowLeft', up: 'ArrowUp', right: 'ArrowRight', down: 'ArrowDown', f12: 'F12',
};

class PageDriver {
  constructor(page) {
    this.page = page;
  }

  session(expression) {
    return this.page.evaluate(`(() => { const s = window.dovetailPage.session; return s ? ${expression} : null; })()`);
  }

  // Answers a message box with OK, as the runner answers them.
  async answerMessageBoxes() {
    const ok = this.page.locator('.message-box button[data-answer=ok]');
    if (await ok.count()) await ok.first().click();
  }

  // Until the program has taken the input given and run another round;
  // a message box it shows meanwhile is answered.
  async settle() {
    const rounds = await this.session('s.rounds');
    const end = Date.now() + 60000;
    for (;;) {
      await this.answerMessageBoxes();
      const done = await this.page.evaluate((r) => {
        const s = window.dovetailPage.session;
        return s.queue.length === 0 && s.rounds >= r + 2;
      }, rounds);
      if (done) return;
      if (Date.now() > end) throw new Error('the page never took the input given');
      await this.page.waitForTimeout(10);
    }
  }

  async until(state, timeoutMs) {
    const end = Date.now() + timeoutMs;
    for (;;) {
      await this.answerMessageBoxes();
      if (await this.session('s.waiting') === state) return;
      if (Date.now() > end) throw new Error('the page never waited for ' + state);
      await this.page.waitForTimeout(20);
    }
  }

  async canvasPoint(x, y) {
    const box = await this.page.locator('#screen').boundingBox();
    const zoom = box.width / 640;
    return { x: box.x + (x + 0.5) * zoom, y: box.y + (y + 0.5) * zoom };
  }

  async click(x, y) {
    const point = await this.canvasPoint(x, y);
    await this.page.mouse.click(point.x, point.y);
    await this.settle();
  }

  // The café's gestures for the customer waiting longest, made with the mouse.
  async serve() {
    await this.page.waitForFunction(() => window.dovetailPage.session.serving, null, { timeout: 30000 });
    const gestures = await this.session('s.serving');
    for (const gesture of gestures) {
      const point = await this.canvasPoint(gesture.x, gesture.y);
      await this.page.mouse.move(point.x, point.y);
      if (gesture.kind === 0) await this.page.mouse.down();
      if (gesture.kind === 2) await this.page.mouse.up();
    }
    await this.settle();
  }

  async frame() {
    return Uint8Array.from(await this.session('s.frame()'));
  }
}

async function playInPage(driver, commands, onSnap) {
  for (const line of commands) {
    const [command, ...rest] = line.split(' ');
    const argument = rest.join(' ');
    switch (command) {
      case 'until': await driver.until(argument, 120000); break;
      case 'click': await driver.click(Number(rest[0]), Number(rest[1])); break;
      case 'type': await driver.page.locator('.dialog input, .dialog textarea').first().fill(argument); await driver.settle(); break;
      case 'press': await driver.page.locator(`.dialog [data-control="${argument}"]`).click(); await driver.settle(); break;
      case 'key': await driver.page.keyboard.press(PLAY_KEYS[argument] || argument.toUpperCase()); await driver.settle(); break;
      case 'serve': await driver.serve(); break;
      case 'snap': await onSnap(argument); break;
      default: throw new Error('the page test cannot play "' + line + '"');
    }
  }
}

function commandsOf(text) {
  return text.split('\n').map((line) => line.replace(/#.*/, '').trim()).filter(Boolean);
}

function samePixels(name, expected, actual) {
  assert.strictEqual(actual.length, expected.rgba.length, name + ': the frame has another size');
  let differing = 0;
  for (let i = 0; i < actual.length; i += 4) {
    if (actual[i] !== expected.rgba[i] || actual[i + 1] !== expected.rgba[i + 1] ||
        actual[i + 2] !== expected.rgba[i + 2]) ++differing;
  }
  assert.strictEqual(differing, 0, name + ': ' + differing + ' pixels differ from the runner\'s');
}

const results = [];
async function check(name, body) {
  const start = Date.now();
  try {
    await body();
    results.push(true);
    console.log(`ok - ${name} (${((Date.now() - start) / 1000).toFixed(1)} s)`);
  } catch (error) {
    results.push(false);
    console.log(`not ok - ${name}\n  ${String(error.stack || error).split('\n').join('\n  ')}`);
  }
}

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'dovetail-web-test-'));
  const game = path.join(work, 'game');
  fs.cpSync(path.join(nativeBuild, 'packaged-game'), game, { recursive: true });
  for (const folder of ['save', 'snap', 'save-continue', 'snap-continue']) fs.mkdirSync(path.join(work, folder));
  const play = fs.readFileSync(playFile, 'utf8');
  const reference = runRunner(game, path.join(work, 'save'), path.join(work, 'snap'), play);
  // Continuing the saved story from the title, after the first day.
  fs.cpSync(path.join(work, 'save'), path.join(work, 'save-continue'), { recursive: true });
  const continuePlay = 'until title\nclick 420 270\nuntil click-wait\n';
  const continued = runRunner(game, path.join(work, 'save-continue'), path.join(work, 'snap-continue'), continuePlay);

  const server = await serve(site);
  const url = `http://127.0.0.1:${server.address().port}/?log&seed=1`;
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--autoplay-policy=no-user-gesture-required'],
  });
  const context = await browser.newContext({ viewport: { width: 1320, height: 1020 } });
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  const consoleLines = [];
  page.on('console', (message) => consoleLines.push(message.type() + ': ' + message.text()));
  const driver = new PageDriver(page);

  await check('the demo\'s title appears', async () => {
    const start = Date.now();
    await page.goto(url);
    await driver.until('title', 60000);
    console.log(`# time to the title: ${Date.now() - start} ms (the splash included)`);
    await page.screenshot({ path: path.join(shots, 'title.png') });
  });

  const snapshots = [];
  await check('the title music sounds once the player has clicked', async () => {
    // A click on the picture where nothing answers starts the sound.
    await driver.click(600, 20);
    await page.waitForFunction(() => window.dovetailPage.sound.ready, null, { timeout: 30000 });
    const level = await page.evaluate(() => new Promise((resolve) => {
      const sound = window.dovetailPage.sound;
      const analyser = sound.context.createAnalyser();
      analyser.fftSize = 2048;
      sound.master.connect(analyser);
      const samples = new Float32Array(analyser.fftSize);
      let loudest = 0;
      const started = performance.now();
      const listen = () => {
        analyser.getFloatTimeDomainData(samples);
        for (const sample of samples) loudest = Math.max(loudest, Math.abs(sample));
        if (performance.now() - started < 3000) setTimeout(listen, 50);
        else resolve(loudest);
      };
      listen();
    }));
    assert.ok(level > 0.01, 'the music is silent (peak ' + level + ')');
    console.log('# the title music\'s peak: ' + level.toFixed(3));
  });

  await check('the first day plays as the runner plays it', async () => {
    const shotAt = {
      'day-heading': 'story.png', 'name-entry': 'name-entry.png', 'cafe-customer': 'cafe.png',
      choice: 'choice.png',
    };
    await playInPage(driver, commandsOf(play).slice(1), async (name) => {
      // The café's snapshots show its customers, drawn from the time of day
      // (see LOGGED): only the rest can have the runner's pixels.
      if (name !== 'title' && !name.startsWith('cafe-')) snapshots.push({ name, frame: await driver.frame() });
      if (shotAt[name]) await page.screenshot({ path: path.join(shots, shotAt[name]) });
    });
    await driver.settle();
    const log = await driver.session('s.log');
    fs.writeFileSync(path.join(shots, 'first-day.log'), log.join('\n') + '\n');
    assert.deepStrictEqual(sequence(log), sequence(reference));
  });

  await check('every snapshot has the runner\'s pixels', async () => {
    assert.ok(snapshots.length > 5, 'too few snapshots: ' + snapshots.length);
    for (const snapshot of snapshots) {
      samePixels(snapshot.name, readPng(path.join(work, 'snap', snapshot.name + '.png')), snapshot.frame);
    }
  });

  await check('the save survives a reload of the page', async () => {
    await page.reload();
    await driver.until('title', 60000);
    const before = (await driver.session('s.log')).length;
    await playInPage(driver, commandsOf(continuePlay).slice(1), async () => {});
    const log = (await driver.session('s.log')).slice(before);
    assert.deepStrictEqual(sequence(log), sequence(continued));
    assert.ok(sequence(continued).length > 0, 'the runner did not continue');
  });

  await check('the player\'s files go out as one archive and come back from it', async () => {
    const files = () => driver.session('s.storage.files().map((f) => f.name + ":" + f.data.length).sort()');
    const before = await files();
    assert.ok(before.some((name) => name.startsWith('40.dat:')), 'no save to export: ' + before);
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#export-saves')]);
    const archive = path.join(work, 'saves.tar');
    await download.saveAs(archive);
    // The files gone from the browser, then the archive read back in.
    await page.evaluate(() => {
      const storage = window.dovetailPage.session.storage;
      for (const file of storage.files()) storage.FS.unlink(storage.folder + '/' + file.name);
      return storage.sync(false);
    });
    assert.deepStrictEqual(await files(), []);
    const reloaded = page.waitForNavigation();
    await page.setInputFiles('#archive-input', archive);
    await reloaded;
    await driver.until('title', 60000);
    assert.deepStrictEqual(await files(), before);
  });

  await check('the title\'s snapshot has the runner\'s pixels', async () => {
    await page.goto(url);
    await driver.until('title', 60000);
    samePixels('title', readPng(path.join(work, 'snap', 'title.png')), await driver.frame());
  });

  await check('a screenshot is kept with the player\'s files, with the picture\'s pixels', async () => {
    const frame = await driver.frame();
    await page.locator('#screen').focus();
    await page.keyboard.press('F12');
    await driver.settle();
    await page.waitForFunction(() => window.dovetailPage.session.storage.files()
      .some((file) => file.name.startsWith('screenshots/')), null, { timeout: 10000 });
    const shot = await page.evaluate(() => Array.from(window.dovetailPage.session.storage.files()
      .find((file) => file.name.startsWith('screenshots/')).data));
    const file = path.join(work, 'screenshot.png');
    fs.writeFileSync(file, Buffer.from(shot));
    samePixels('screenshot', readPng(file), frame);
  });

  await check('a store the browser refuses fails the save, and the game goes on', async () => {
    // From here every write to IndexedDB is refused, as a full storage refuses it.
    await page.evaluate(() => {
      window.dovetailTestPut = IDBObjectStore.prototype.put;
      IDBObjectStore.prototype.put = () => {
        throw new DOMException('the test has filled the storage', 'QuotaExceededError');
      };
    });
    try {
      const before = (await driver.session('s.log')).length;
      // A new story, as the first day starts it: it saves at the page after
      // the hero is named.
      const commands = commandsOf(play);
      const named = commands.indexOf('press Command1');
      await playInPage(driver, commands.slice(1, named + 4), async () => {});
      const boxes = (await driver.session('s.log')).slice(before).map((line) => JSON.parse(line))
        .filter((event) => event.event === 'msgbox').map((event) => event.text);
      assert.deepStrictEqual(boxes, ['セーブに失敗しました.']);
      const status = await page.locator('#status').textContent();
      assert.ok(status.includes('QuotaExceededError'), 'the page did not tell the refusal: ' + status);
      // The story goes on past the failed save: its next page is taken.
      await driver.click(320, 440);
      await driver.until('click-wait', 60000);
    } finally {
      await page.evaluate(() => {
        IDBObjectStore.prototype.put = window.dovetailTestPut;
      });
    }
  });

  await check('a game folder the player chooses plays, with a store of its own', async () => {
    const folder = path.join(work, 'my-game');
    fs.cpSync(game, path.join(folder, 'data'), { recursive: true });
    await page.setInputFiles('#folder-input', folder);
    await page.waitForFunction(() => {
      const s = window.dovetailPage.session;
      return s.gameId === 'folder-my-game' && s.waiting === 'title';
    }, null, { timeout: 60000 });
    assert.strictEqual(await driver.session('s.storage.folder'), '/saves/folder-my-game');
    assert.deepStrictEqual(await driver.session('s.storage.files()'), []);
  });

  await check('the program refuses a seed that is no whole number, with its message', async () => {
    const refused = await context.newPage();
    try {
      await refused.goto(`http://127.0.0.1:${server.address().port}/?seed=x`);
      const box = refused.locator('.message-box .text');
      await box.waitFor({ timeout: 60000 });
      assert.strictEqual(await box.textContent(), '--seed needs a whole number');
      await refused.locator('.message-box button[data-answer="ok"]').click();
      await refused.waitForFunction(() => window.dovetailPage.session.exitCode === 2, null,
                                    { timeout: 30000 });
    } finally {
      await refused.close();
    }
  });

  await check('the page raised no error', async () => {
    assert.deepStrictEqual(problems, []);
    // The rounds of writing the player's files wait for one another.
    assert.deepStrictEqual(consoleLines.filter((line) => line.includes('in flight at once')), []);
  });

  fs.writeFileSync(path.join(shots, 'console.log'), consoleLines.join('\n') + '\n');
  await browser.close();
  server.close();
  fs.rmSync(work, { recursive: true, force: true });
  const failed = results.filter((ok) => !ok).length;
  console.log(`# ${results.length - failed} of ${results.length} passed`);
  process.exit(failed ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});

// The page of the game in a web browser: starts the program (dovetail.js,
// made with createDovetail) on the bundled game or on a folder the player
// chooses, one Session at a time, and keeps the page's tools: the folder to
// play, full screen, and the player's files out to an archive and back.
import { canvas, fitCanvas, onZoom } from './canvas.js';
import { listenToInput } from './input.js';
import { Session } from './session.js';
import { SOUND_HINT, Sound } from './sound.js';
import { setStatus } from './status.js';
import { Storage, reasonOf, savesFolder } from './storage.js';
import { readTar, writeTar } from './tar.js';

const BUNDLED_GAME = 'demo';
const params = new URLSearchParams(location.search);
const sound = new Sound();
const $ = (id) => document.getElementById(id);

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
  const mine = new Session(game.id, sound, () => startGame(currentGame).catch(showFailure));
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
    const blob = writeTar(session.storage.files());
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
      const files = readTar(new Uint8Array(await file.arrayBuffer()));
      // The game starts anew on them once the browser's storage holds them.
      await session.storage.write(files);
      setStatus(files.length + ' 個のファイルを読み込みました。ページを読み込み直します。');
      location.reload();
    } catch (error) {
      setStatus('読み込めませんでした：' + file.name + '（' + reasonOf(error) + '）');
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

window.dovetailPage = {
  session: null, sound, Tar: { write: writeTar, read: readTar },
  startBundled: () => startGame(bundledGame),
};

async function main() {
  listenToInput(() => session);
  onZoom(() => {
    if (session) session.dialogs.placeAll();
  });
  listenToTools();
  fitCanvas();
  [programBinary, glyphTable, bundledGame] = await Promise.all([
    fetchPacked('dovetail.wasm.gz'), fetchPacked('glyphs.bin.gz'), loadBundledGame()]);
  await startGame(bundledGame);
}

main().catch(showFailure);

// The player's files in the browser's storage: what a store writes in
// IDBFS's layout, that every refusal ends the wait with the browser's
// reason, and that rounds of writing never overlap. The file system and
// IndexedDB are small fakes that settle each transaction a moment later.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { pageModule } from './page-modules.mjs';

const { Storage, reasonOf } = await pageModule('storage.js');

const DIR = 0o40000;
const FILE = 0o100000;
const later = () => new Promise((resolve) => setTimeout(resolve, 1));
const refusal = (name) => Object.assign(new Error('refused by the fake'), { name });

// IndexedDB as IDBFS's database of one folder: `fault` makes the next
// transactions fail the way a browser does.
class FakeDatabase {
  constructor() {
    this.records = new Map();
    this.fault = null;
    this.running = 0;
    this.mostAtOnce = 0;
  }

  transaction() {
    if (this.fault === 'closed') throw refusal('InvalidStateError');
    const db = this;
    const pending = new Map();
    const transaction = {
      error: null,
      aborted: false,
      abort() {
        if (this.aborted) throw refusal('InvalidStateError');
        this.aborted = true;
      },
      objectStore: () => ({
        put(entry, key) {
          if (db.fault === 'put-throws') throw refusal('DataError');
          pending.set(key, entry);
        },
      }),
    };
    this.mostAtOnce = Math.max(this.mostAtOnce, ++this.running);
    const fault = this.fault;
    later().then(() => {
      --this.running;
      if (fault === 'quota') transaction.error = refusal('QuotaExceededError');
      if (transaction.error || transaction.aborted) {
        transaction.onabort();
        return;
      }
      for (const [key, entry] of pending) db.records.set(key, entry);
      transaction.oncomplete();
    });
    return transaction;
  }
}

// Emscripten's FS as far as the storage uses it, over a map of paths.
function fakeFileSystem(db) {
  const nodes = new Map([['/saves/game', { mode: DIR, mtime: new Date(1) }]]);
  const FS = {
    filesystems: {
      IDBFS: {
        DB_STORE_NAME: 'FILE_DATA',
        getDB: (name, callback) => later().then(() =>
          (db.fault === 'no-database' ? callback(refusal('UnknownError')) : callback(null, db))),
      },
    },
    isDir: (mode) => mode === DIR,
    isFile: (mode) => mode === FILE,
    stat(path) {
      const node = nodes.get(path);
      if (!node) throw new Error(path + ': no such file');
      return { mode: node.mode, mtime: node.mtime };
    },
    readFile: (path) => Uint8Array.from(nodes.get(path).data),
    mkdirTree(path) {
      for (let at = path; at.length > '/saves/game'.length; at = at.slice(0, at.lastIndexOf('/'))) {
        if (!nodes.has(at)) nodes.set(at, { mode: DIR, mtime: new Date(2) });
      }
    },
    writeFile(path, data) {
      nodes.set(path, { mode: FILE, mtime: new Date(3 + nodes.size), data: Uint8Array.from(data) });
    },
    syncfs(populate, callback) {
      ++db.running;
      db.mostAtOnce = Math.max(db.mostAtOnce, db.running);
      later().then(() => {
        --db.running;
        callback(null);
      });
    },
  };
  return FS;
}

function storageWith(...files) {
  const db = new FakeDatabase();
  const FS = fakeFileSystem(db);
  for (const [name, text] of files) {
    const full = '/saves/game/' + name;
    FS.mkdirTree(full.slice(0, full.lastIndexOf('/')));
    FS.writeFile(full, new TextEncoder().encode(text));
  }
  return { db, FS, storage: new Storage(FS, '/saves/game') };
}

test('a stored file is kept as IDBFS keeps it, with the folders that hold it', async () => {
  const { db, FS, storage } = storageWith(['screenshots/shot.png', 'png'], ['40.dat', 'save']);
  await storage.store(['/saves/game/screenshots/shot.png']);
  assert.deepEqual([...db.records.keys()],
                   ['/saves/game/screenshots', '/saves/game/screenshots/shot.png']);
  const folder = db.records.get('/saves/game/screenshots');
  assert.deepEqual(folder, { timestamp: FS.stat('/saves/game/screenshots').mtime, mode: DIR });
  const file = db.records.get('/saves/game/screenshots/shot.png');
  assert.equal(file.timestamp, FS.stat('/saves/game/screenshots/shot.png').mtime);
  assert.equal(file.mode, FILE);
  assert.equal(new TextDecoder().decode(file.contents), 'png');
});

test('every refusal ends the wait with the browser\'s reason, and the next store goes on', { timeout: 5000 }, async () => {
  const faults = [
    ['quota', 'QuotaExceededError'],      // the transaction aborts
    ['put-throws', 'DataError'],          // a write throws while the transaction is filled
    ['closed', 'InvalidStateError'],      // the storage was cleared under the page
    ['no-database', 'UnknownError'],      // the database cannot be had
  ];
  for (const [fault, name] of faults) {
    const { db, storage } = storageWith(['40.dat', 'save']);
    db.fault = fault;
    await assert.rejects(storage.store(['/saves/game/40.dat']), (error) => {
      assert.equal(error.name, name, fault);
      assert.equal(reasonOf(error), name + ': refused by the fake');
      return true;
    });
    assert.equal(db.records.size, 0, fault + ': something was kept');
    db.fault = null;
    await storage.store(['/saves/game/40.dat']);
    assert.deepEqual([...db.records.keys()], ['/saves/game/40.dat'], fault);
  }
});

test('a file outside the player\'s folder is refused, not stored', async () => {
  const { db, storage } = storageWith(['40.dat', 'save']);
  await assert.rejects(storage.store(['/game/data/20.dat']), /not in the folder/);
  await assert.rejects(storage.store(['/saves/game/gone.dat']), /no such file/);
  assert.equal(db.records.size, 0);
});

test('rounds of writing run one at a time, in the order asked', async () => {
  const { db, FS, storage } = storageWith(['a', '1'], ['b', '2'], ['c', '3']);
  const done = [];
  const rounds = ['a', 'b', 'c'].map((name) =>
    storage.store(['/saves/game/' + name]).then(() => done.push(name)));
  // A change made while rounds wait is read when its own round starts.
  rounds[0].then(() => FS.writeFile('/saves/game/a', new TextEncoder().encode('changed')));
  rounds.push(storage.sync(false).then(() => done.push('sync')));
  rounds.push(storage.store(['/saves/game/a']).then(() => done.push('a again')));
  await Promise.all(rounds);
  assert.equal(db.mostAtOnce, 1);
  assert.deepEqual(done, ['a', 'b', 'c', 'sync', 'a again']);
  assert.equal(new TextDecoder().decode(db.records.get('/saves/game/a').contents), 'changed');
});

test('files put back from an archive are stored before the write resolves', async () => {
  const { db, storage } = storageWith();
  const bytes = (text) => new TextEncoder().encode(text);
  await storage.write([{ name: '40.dat', data: bytes('save') }, { name: 'screenshots/s.png', data: bytes('png') }]);
  assert.deepEqual([...db.records.keys()].sort(),
                   ['/saves/game/40.dat', '/saves/game/screenshots', '/saves/game/screenshots/s.png']);
  db.fault = 'quota';
  await assert.rejects(storage.write([{ name: '20.dat', data: bytes('settings') }]),
                       { name: 'QuotaExceededError' });
});

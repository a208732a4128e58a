// The player's files: one IndexedDB database per game, in the layout of
// emscripten's IDBFS, which reads them back into the folder when the game
// starts. The program asks for each file it writes to be stored and waits
// for the answer (store); the page's archive does the same with the files
// it puts back. One round of writing runs at a time, in the order asked.

export function savesFolder(gameId) {
  return '/saves/' + gameId;
}

// The browser's reason for a failure, as a line for the player.
export function reasonOf(error) {
  if (!error) return 'unknown error';
  if (!error.message) return String(error);
  return error.name && error.name !== 'Error' ? error.name + ': ' + error.message : error.message;
}

export class Storage {
  constructor(FS, folder) {
    this.FS = FS;
    this.folder = folder;
    this.IDBFS = FS.filesystems.IDBFS;
    // The end of the last round asked for, whatever its outcome: the next
    // one starts after it, so that two never run at once.
    this.lastRound = Promise.resolve();
  }

  // Mounts the folder and reads the browser's copy into it.
  mount() {
    this.FS.mkdirTree(this.folder);
    this.FS.mount(this.IDBFS, {}, this.folder);
    return this.sync(true);
  }

  // The whole folder read from the browser's storage (`populate`) or
  // written to it, through IDBFS.
  sync(populate) {
    return this.inTurn(() => new Promise((resolve, reject) => {
      this.FS.syncfs(populate, (error) => (error ? reject(error) : resolve()));
    }));
  }

  // Stores the files at `paths` (inside the folder), with the folders that
  // hold them, in one transaction: resolves once the browser's storage holds
  // them all; rejects with the browser's error when it refused them (a full
  // or cleared storage), and then keeps none of them.
  store(paths) {
    return this.inTurn(() => this.put(this.entriesOf(paths)));
  }

  inTurn(round) {
    const result = this.lastRound.then(round);
    this.lastRound = result.catch(() => {});
    return result;
  }

  // IDBFS's record of each file and of each folder between ours and it,
  // outer folders first (IDBFS makes them in the order of their names).
  entriesOf(paths) {
    const entries = new Map();
    for (const path of paths) {
      if (!path.startsWith(this.folder + '/')) {
        throw new Error(path + ': not in the folder of the player\'s files');
      }
      let at = this.folder;
      for (const part of path.slice(this.folder.length + 1).split('/')) {
        at += '/' + part;
        if (!entries.has(at)) entries.set(at, this.entryOf(at));
      }
    }
    return entries;
  }

  entryOf(path) {
    const FS = this.FS;
    const stat = FS.stat(path);
    if (FS.isDir(stat.mode)) return { timestamp: stat.mtime, mode: stat.mode };
    if (!FS.isFile(stat.mode)) throw new Error(path + ': neither a file nor a folder');
    return { timestamp: stat.mtime, mode: stat.mode, contents: FS.readFile(path) };
  }

  // The transaction settles the promise when it completes or aborts; a
  // failed request aborts it, and so does an exception while it is filled.
  // The database is the one the mount opened (IDBFS keeps it open).
  put(entries) {
    return new Promise((resolve, reject) => {
      this.IDBFS.getDB(this.folder, (error, db) => {
        if (error) {
          reject(error);
          return;
        }
        let transaction = null;
        try {
          transaction = db.transaction([this.IDBFS.DB_STORE_NAME], 'readwrite');
          transaction.oncomplete = () => resolve();
          transaction.onabort = () => reject(transaction.error || new Error('the write was aborted'));
          const files = transaction.objectStore(this.IDBFS.DB_STORE_NAME);
          for (const [path, entry] of entries) files.put(entry, path);
        } catch (thrown) {
          reject(thrown);
          if (transaction) abortQuietly(transaction);
        }
      });
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

  // Puts the files into the folder; resolves once the browser's storage
  // holds them, rejects when it could not take them.
  write(files) {
    const paths = [];
    for (const file of files) {
      const full = this.folder + '/' + file.name;
      this.FS.mkdirTree(full.slice(0, full.lastIndexOf('/')));
      this.FS.writeFile(full, file.data);
      paths.push(full);
    }
    return this.store(paths);
  }
}

// A transaction already finished or aborted refuses another abort.
function abortQuietly(transaction) {
  try {
    transaction.abort();
  } catch {
    // nothing left to undo
  }
}

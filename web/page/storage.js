// The player's files: one IndexedDB store per game (emscripten's IDBFS),
// written through after every change.
import { setStatus } from './status.js';

export function savesFolder(gameId) {
  return '/saves/' + gameId;
}

export class Storage {
  constructor(FS, folder) {
    this.FS = FS;
    this.folder = folder;
    this.syncing = false;
    this.again = false;
    this.waiters = [];
    // The error of the last round, or null when it stored everything.
    this.failure = null;
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
    this.sync(false).then(() => {
      this.failure = null;
    }, (error) => {
      this.failure = error;
      console.warn('dovetail: the saves could not be stored: ' + error);
      setStatus('セーブをブラウザに保存できませんでした：' + error);
    }).finally(() => {
      this.syncing = false;
      if (this.again) {
        this.again = false;
        this.flush();
        return;
      }
      for (const resolve of this.waiters.splice(0)) resolve();
    });
  }

  // Resolves when no round of writing is running or owed.
  idle() {
    if (!this.syncing) return Promise.resolve();
    return new Promise((resolve) => this.waiters.push(resolve));
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
  async write(files) {
    for (const file of files) {
      const full = this.folder + '/' + file.name;
      this.FS.mkdirTree(full.slice(0, full.lastIndexOf('/')));
      this.FS.writeFile(full, file.data);
    }
    this.flush();
    await this.idle();
    if (this.failure) throw this.failure;
  }
}

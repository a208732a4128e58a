// Where the unit tests find the page's modules: the native build's copy of
// web/page/ beside the generated seam.js (DOVETAIL_PAGE_DIR, which the
// build's test sets; build/page/ of the repository otherwise).
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const folder = process.env.DOVETAIL_PAGE_DIR || path.resolve(here, '..', '..', '..', 'build', 'page');

export function pageModule(name) {
  return import(pathToFileURL(path.join(folder, name)).href);
}

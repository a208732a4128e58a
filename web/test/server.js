// A static file server for the page's tests, on the loopback address only.
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.json': 'application/json',
  '.gz': 'application/gzip', '.sf2': 'application/octet-stream',
};

// Serves `root` on 127.0.0.1 at a free port; resolves to the server.
function serve(root) {
  const base = path.resolve(root);
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://127.0.0.1');
    const file = path.resolve(base, '.' + decodeURIComponent(url.pathname));
    if (!file.startsWith(base + path.sep) && file !== base) {
      response.writeHead(403).end();
      return;
    }
    const target = fs.existsSync(file) && fs.statSync(file).isDirectory()
      ? path.join(file, 'index.html') : file;
    fs.readFile(target, (error, data) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { 'Content-Type': TYPES[path.extname(target)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

module.exports = { serve };

if (require.main === module) {
  serve(process.argv[2] || '.').then((server) => {
    console.log('http://127.0.0.1:' + server.address().port + '/');
  });
}

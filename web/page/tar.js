// The player's files as one archive (POSIX ustar): written for the export,
// read back for the import. Only plain files; names longer than 100 bytes
// go into the header's prefix at their last '/'.

export function writeTar(files, now = Date.now()) {
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
    field(header, 136, 12, octal(Math.floor(now / 1000), 12));
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
}

// The plain files of an archive, as { name, data }. Throws on what is not a
// ustar archive or is cut short; leaves out links, folders and any name
// that would climb out of the player's folder.
export function readTar(bytes) {
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
    const safe = name.split('/').every((part) => part !== '..') && !name.startsWith('/');
    if ((type === '0' || type === '') && safe && name) {
      files.push({ name, data: bytes.slice(at + 512, at + 512 + size) });
    }
    at += 512 + Math.ceil(size / 512) * 512;
  }
  return files;
}

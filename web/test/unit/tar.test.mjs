// The player's archive: what writeTar writes, readTar reads back, and what
// readTar refuses or leaves out.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { pageModule } from './page-modules.mjs';

const { readTar, writeTar } = await pageModule('tar.js');

const bytesOf = (text) => new TextEncoder().encode(text);
const archiveOf = async (files) => new Uint8Array(await writeTar(files, 0).arrayBuffer());
const asText = (files) => files.map((file) => [file.name, new TextDecoder().decode(file.data)]);

test('files come back as written, whatever their size and name', async () => {
  const longFolder = 'screenshots/' + 'a'.repeat(95);
  const files = [
    { name: '40.dat', data: bytesOf('save') },
    { name: 'empty', data: new Uint8Array(0) },
    { name: 'block', data: new Uint8Array(512).fill(7) },
    { name: 'セーブ/名前.txt', data: bytesOf('名前') },
    { name: longFolder + '/shot.png', data: bytesOf('png') },
  ];
  const archive = await archiveOf(files);
  assert.equal(archive.length % 512, 0);
  const back = readTar(archive);
  assert.deepEqual(back.map((file) => file.name), files.map((file) => file.name));
  back.forEach((file, i) => assert.deepEqual(file.data, files[i].data));
});

test('the header is a valid ustar header with its checksum', async () => {
  const archive = await archiveOf([{ name: 'a', data: bytesOf('xyz') }]);
  const header = archive.subarray(0, 512);
  const stored = parseInt(new TextDecoder().decode(header.subarray(148, 154)), 8);
  let sum = 0;
  header.forEach((byte, i) => { sum += i >= 148 && i < 156 ? 32 : byte; });
  assert.equal(stored, sum);
  assert.equal(new TextDecoder().decode(header.subarray(257, 262)), 'ustar');
  assert.equal(parseInt(new TextDecoder().decode(header.subarray(124, 135)), 8), 3);
});

test('what is not a plain file inside the folder is left out', async () => {
  const archive = await archiveOf([
    { name: '../outside', data: bytesOf('1') },
    { name: '/absolute', data: bytesOf('2') },
    { name: 'kept', data: bytesOf('3') },
    { name: 'a folder', data: bytesOf('') },
  ]);
  // The last entry made a folder (type '5'): its checksum does not matter to the reader.
  archive[3 * 1024 + 156] = '5'.charCodeAt(0);
  assert.deepEqual(asText(readTar(archive)), [['kept', '3']]);
});

test('an archive cut short or of another kind is refused', async () => {
  const archive = await archiveOf([{ name: 'big', data: new Uint8Array(2000) }]);
  assert.throws(() => readTar(archive.subarray(0, 1024)), /cut short/);
  assert.throws(() => readTar(bytesOf('x'.repeat(1024))), /not a tar archive/);
  assert.deepEqual(readTar(new Uint8Array(0)), []);
});

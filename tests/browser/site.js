// A scratch web site for the browser test: project files written here, pages written from them
// by the built kelmor-cli, the pictures and sounds they name, and a local server for all of it.
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');

// The type of a file the site holds, from its first bytes: pictures and sounds keep the names
// a project gives them, whatever their extension. A style sheet, which has no such bytes, by its
// name: a browser drops one served as anything else.
function contentType(bytes, name) {
  const start = bytes.subarray(0, 4).toString('latin1');
  if (start === '<svg')
    return 'image/svg+xml';
  if (start === 'RIFF')
    return 'audio/wav';
  if (start === '\x89PNG')
    return 'image/png';
  return name.endsWith('.css') ? 'text/css' : 'text/html';
}

// The file a page's relative address `name` is fetched as: the browser drops blanks around an
// address and reads the rest as a path.
function fetchedName(name) {
  return decodeURIComponent(new URL(name, 'http://host/').pathname.slice(1));
}

// A mono 16-bit PCM WAV file holding `seconds` of a sine tone.
function wavBytes(seconds, frequency) {
  const rate = 8000;
  const frames = Math.round(seconds * rate);
  const out = Buffer.alloc(44 + 2 * frames);
  out.write('RIFF', 0);
  out.writeUInt32LE(36 + 2 * frames, 4);
  out.write('WAVEfmt ', 8);
  out.writeUInt32LE(16, 16);
  out.writeUInt16LE(1, 20);
  out.writeUInt16LE(1, 22);
  out.writeUInt32LE(rate, 24);
  out.writeUInt32LE(2 * rate, 28);
  out.writeUInt16LE(2, 32);
  out.writeUInt16LE(16, 34);
  out.write('data', 36);
  out.writeUInt32LE(2 * frames, 40);
  for (let i = 0; i < frames; ++i)
    out.writeInt16LE(Math.round(8000 * Math.sin((2 * Math.PI * frequency * i) / rate)), 44 + 2 * i);
  return out;
}

// A flat-coloured picture of 48 x 24 pixels.
function pictureText(colour) {
  return '<svg xmlns="http://www.w3.org/2000/svg" width="48" height="24">' +
    `<rect width="48" height="24" fill="${colour}"/></svg>`;
}

// The Button list columns a project file stores, by name.
const COLUMNS = {
  normal: 0, width: 1, height: 2, frame: 3, link: 4, over: 5, overWidth: 6, overHeight: 7,
  sound: 8, bg: 9, bgColor: 10, title: 11, target: 12,
};

// A project file's bytes: the size line, then one line per non-empty cell. `rows` are objects
// keyed by the names of COLUMNS; row 1 also carries the page fields.
function projectText(rows) {
  const lines = [`13,${rows.length + 1}`];
  rows.forEach((row, i) => {
    for (const [name, value] of Object.entries(row)) {
      if (value !== '')
        lines.push(`${COLUMNS[name]},${i + 1},${value}`);
    }
  });
  return lines.map((line) => line + '\r\n').join('');
}

// The rows of a project file, as projectText takes them.
function readProject(file) {
  const names = Object.keys(COLUMNS);
  const rows = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\r\n')) {
    const cell = /^(\d+),(\d+),(.*)$/.exec(line);
    if (!cell || cell[2] === '0')
      continue;
    const row = Number(cell[2]);
    rows[row - 1] = { ...rows[row - 1], [names[Number(cell[1])]]: cell[3] };
  }
  return Array.from(rows, (row) => row || {});
}

class Site {
  constructor(cli) {
    this.cli = cli;
    this.folder = fs.mkdtempSync(path.join(os.tmpdir(), 'kelmor-browser-'));
    this.missing = [];
    this.served = [];
  }

  // Writes the file that a page naming it by `name` fetches.
  write(name, bytes) {
    const file = path.join(this.folder, fetchedName(name));
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, bytes);
  }

  read(name, encoding = 'latin1') {
    return fs.readFileSync(path.join(this.folder, name), encoding);
  }

  // Two pictures per button (normal and mouse-over) in different colours.
  // Writes the pictures and sounds the rows name; blank names are left out.
  addMedia(rows) {
    const named = (name) => name !== undefined && name.trim() !== '';
    rows.forEach((row, i) => {
      for (const [name, colour] of [[row.normal, 40], [row.over, 80], [row.bg, 95]]) {
        if (named(name))
          this.write(name, pictureText(`hsl(${36 * i}, 70%, ${colour}%)`));
      }
      if (named(row.sound))
        this.write(row.sound, wavBytes(2, 440 + 110 * i));
    });
  }

  // Writes NAME.kxq and has kelmor-cli write NAME.html from it with `options`; returns the
  // page's file name.
  page(name, rows, options = []) {
    this.write(`${name}.kxq`, projectText(rows));
    execFileSync(this.cli, ['page', ...options, path.join(this.folder, `${name}.kxq`),
      path.join(this.folder, `${name}.html`)], { stdio: ['ignore', 'inherit', 'inherit'] });
    return `${name}.html`;
  }

  // Serves the folder on 127.0.0.1; the names of the files served are listed in `served`, those
  // of missing files, answered 404, in `missing`, so a page that names a file wrongly is seen.
  async serve() {
    this.server = http.createServer((request, response) => {
      const name = fetchedName(request.url);
      const file = path.join(this.folder, name);
      if (name === 'favicon.ico') {
        response.writeHead(204).end();
        return;
      }
      if (!fs.existsSync(file) || !fs.statSync(file).isFile()) {
        this.missing.push(name);
        response.writeHead(404).end();
        return;
      }
      this.served.push(name);
      const bytes = fs.readFileSync(file);
      response.writeHead(200, { 'Content-Type': contentType(bytes, name) }).end(bytes);
    });
    await new Promise((resolve) => this.server.listen(0, '127.0.0.1', resolve));
    this.origin = `http://127.0.0.1:${this.server.address().port}/`;
  }

  async close() {
    if (this.server)
      await new Promise((resolve) => this.server.close(resolve));
    fs.rmSync(this.folder, { recursive: true, force: true });
  }
}

module.exports = { Site, projectText, readProject, fetchedName };

// Assembles the publishable page: the page's own files, the compiled game,
// the card pictures, the icons at the sizes browsers ask for (made from the
// game's icon by whole-pixel enlargement, so they stay sharp), and the
// service worker, which learns the list of files and the name of its cache.
//
// usage: node assemble.mjs --source web/ --assets assets/ --core DIR
//                          --version 1.0 --out DIR
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

const args = {};
for (let i = 2; i < process.argv.length; i += 2) {
    args[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
}
for (const name of ['source', 'assets', 'testi', 'core', 'version', 'out']) {
    if (!args[name]) {
        console.error(`assemble.mjs: missing --${name}`);
        process.exit(2);
    }
}

// The old folder goes whole: a file that a new version dropped must not be
// published, nor listed for the service worker.
fs.rmSync(args.out, { recursive: true, force: true });
fs.mkdirSync(path.join(args.out, 'cards'), { recursive: true });
fs.mkdirSync(path.join(args.out, 'icons'), { recursive: true });

const copy = (from, to) => fs.copyFileSync(from, path.join(args.out, to));
// The page's title and the app's name before the game runs: the game's own
// words, read from the one place they are kept.
const testi = {};
for (const [, nome, testo] of fs.readFileSync(args.testi, 'utf8')
    .matchAll(/inline constexpr const char\* (\w+) =\s*"((?:[^"\\]|\\.)*)";/g)) {
    testi[nome] = testo;
}
const conTesti = (f) => fs.readFileSync(path.join(args.source, f), 'utf8').replace(/@(\w+)@/g, (_, nome) => {
    if (!(nome in testi)) throw new Error(`${f}: no text ${nome} in ${args.testi}`);
    return testi[nome];
});
fs.writeFileSync(path.join(args.out, 'manifest.webmanifest'), conTesti('manifest.webmanifest'));

// The style and the page's script go inside the page, two requests fewer
// before the first box; the game's loader and code come in parallel from
// the page's head. The sources stay files of their own.
const dentro = (tag, f, dir = args.source) => {
    const testo = fs.readFileSync(path.join(dir, f), 'utf8');
    if (testo.includes(`</${tag}`)) throw new Error(`${f} holds </${tag}: it cannot go inside the page`);
    return `<${tag}>\n${testo}</${tag}>`;
};
const sostituisci = (testo, vecchio, nuovo) => {
    if (!testo.includes(vecchio)) throw new Error(`index.html has no ${vecchio}`);
    return testo.replace(vecchio, () => nuovo);
};
let pagina = conTesti('index.html');
pagina = sostituisci(pagina, '<link rel="stylesheet" href="style.css">', dentro('style', 'style.css'));
pagina = sostituisci(pagina, '<script src="app.js"></script>', dentro('script', 'app.js'));
fs.writeFileSync(path.join(args.out, 'index.html'), pagina);
for (const f of ['trivanta.js', 'trivanta.wasm']) {
    copy(path.join(args.core, f), f);
}
const cards = path.join(args.assets, 'cards');
for (const f of fs.readdirSync(cards).sort()) {
    if (/^[a-z0-9]+(\.gif|@2x\.png)$/.test(f)) {
        copy(path.join(cards, f), path.join('cards', f));
    }
}

// ---------------------------------------------------------------- icons

const crcTable = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
});
function crc32(buf) {
    let c = 0xffffffff;
    for (const b of buf) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
}

// An 8-bit, non-interlaced PNG (palette, RGB or RGBA) as RGBA pixels.
function readPng(file) {
    const data = fs.readFileSync(file);
    let pos = 8;
    let width = 0, height = 0, type = 0, palette = null, alpha = null;
    const idat = [];
    while (pos < data.length) {
        const len = data.readUInt32BE(pos);
        const kind = data.toString('latin1', pos + 4, pos + 8);
        const body = data.subarray(pos + 8, pos + 8 + len);
        if (kind === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            type = body[9];
            if (body[8] !== 8 || body[12] !== 0) throw new Error(`${file}: not an 8-bit plain PNG`);
        } else if (kind === 'PLTE') palette = body;
        else if (kind === 'tRNS') alpha = body;
        else if (kind === 'IDAT') idat.push(body);
        pos += 12 + len;
    }
    const channels = { 2: 3, 3: 1, 6: 4 }[type];
    if (!channels) throw new Error(`${file}: colour type ${type}`);
    const raw = zlib.inflateSync(Buffer.concat(idat));
    const stride = width * channels;
    const rows = Buffer.alloc(height * stride);
    for (let y = 0; y < height; y++) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        for (let x = 0; x < stride; x++) {
            const a = x >= channels ? rows[y * stride + x - channels] : 0;
            const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
            const c = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
            const p = a + b - c;
            const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
            const paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const pred = [0, a, b, (a + b) >> 1, paeth][filter];
            rows[y * stride + x] = (line[x] + pred) & 0xff;
        }
    }
    const rgba = Buffer.alloc(width * height * 4);
    for (let i = 0; i < width * height; i++) {
        if (type === 3) {
            const k = rows[i];
            palette.copy(rgba, i * 4, k * 3, k * 3 + 3);
            rgba[i * 4 + 3] = alpha && k < alpha.length ? alpha[k] : 255;
        } else {
            rows.copy(rgba, i * 4, i * channels, i * channels + 3);
            rgba[i * 4 + 3] = channels === 4 ? rows[i * 4 + 3] : 255;
        }
    }
    return { width, height, rgba };
}

function writePng(file, { width, height, rgba }) {
    const raw = Buffer.alloc(height * (width * 4 + 1));
    for (let y = 0; y < height; y++) {
        rgba.copy(raw, y * (width * 4 + 1) + 1, y * width * 4, (y + 1) * width * 4);
    }
    const chunk = (kind, body) => {
        const head = Buffer.alloc(8);
        head.writeUInt32BE(body.length, 0);
        head.write(kind, 4, 'latin1');
        const crc = Buffer.alloc(4);
        crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), body])), 0);
        return Buffer.concat([head, body, crc]);
    };
    const ihdr = Buffer.alloc(13);
    ihdr.writeUInt32BE(width, 0);
    ihdr.writeUInt32BE(height, 4);
    ihdr.set([8, 6, 0, 0, 0], 8);
    fs.writeFileSync(file, Buffer.concat([
        Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
        chunk('IHDR', ihdr),
        chunk('IDAT', zlib.deflateSync(raw, { level: 9 })),
        chunk('IEND', Buffer.alloc(0)),
    ]));
}

// Each pixel becomes a square of factor x factor pixels.
function enlarge({ width, height, rgba }, factor) {
    const out = Buffer.alloc(width * height * factor * factor * 4);
    for (let y = 0; y < height * factor; y++) {
        for (let x = 0; x < width * factor; x++) {
            const from = (Math.floor(y / factor) * width + Math.floor(x / factor)) * 4;
            rgba.copy(out, (y * width * factor + x) * 4, from, from + 4);
        }
    }
    return { width: width * factor, height: height * factor, rgba: out };
}

const icon = (size) => path.join(args.assets, 'icons', 'hicolor', `${size}x${size}`, 'apps', 'trivanta.png');
copy(icon(16), 'icons/trivanta-16.png');
copy(icon(32), 'icons/trivanta-32.png');
writePng(path.join(args.out, 'icons', 'trivanta-192.png'), enlarge(readPng(icon(64)), 3));
writePng(path.join(args.out, 'icons', 'trivanta-512.png'), enlarge(readPng(icon(128)), 4));

// ---------------------------------------------------------------- service worker

// Every file of the folder, the page's own address first; the cache is named
// by the version and by the files' contents, so that a new build never shares
// a cache with an old one, even under the same version.
const files = [];
const walk = (dir) => {
    for (const f of fs.readdirSync(path.join(args.out, dir)).sort()) {
        const rel = dir ? `${dir}/${f}` : f;
        if (fs.statSync(path.join(args.out, rel)).isDirectory()) walk(rel);
        else files.push(rel);
    }
};
walk('');
const hash = createHash('sha256');
for (const f of files) {
    hash.update(f);
    hash.update(fs.readFileSync(path.join(args.out, f)));
}
const cache = `trivanta-${args.version}-${hash.digest('hex').slice(0, 12)}`;
const list = ['./', ...files.filter((f) => f !== 'index.html')];
const sw = fs.readFileSync(path.join(args.source, 'sw.js'), 'utf8')
    .replace("'@CACHE@'", JSON.stringify(cache))
    .replace("'@FILES@'", JSON.stringify(list));
fs.writeFileSync(path.join(args.out, 'sw.js'), sw);

// The committed card pictures and Chromium's screenshots as plain RGB pixels,
// decoded here rather than by the browser under test.
import fs from 'node:fs';
import zlib from 'node:zlib';

// width, height and 3 bytes a pixel, row by row.
const immagine = (width, height) => ({ width, height, rgb: Buffer.alloc(width * height * 3) });

// An 8-bit PNG without interlacing: grey, RGB, palette or RGBA (alpha
// dropped: the screenshots are opaque).
export function leggiPng(dati) {
    let w = 0, h = 0, tipo = 0, palette = null;
    const idat = [];
    for (let p = 8; p < dati.length;) {
        const n = dati.readUInt32BE(p), nome = dati.toString('latin1', p + 4, p + 8);
        const corpo = dati.subarray(p + 8, p + 8 + n);
        if (nome === 'IHDR') {
            [w, h, tipo] = [corpo.readUInt32BE(0), corpo.readUInt32BE(4), corpo[9]];
            if (corpo[8] !== 8 || corpo[12] !== 0) {
                throw new Error('PNG: only 8 bits, not interlaced');
            }
        } else if (nome === 'PLTE') {
            palette = corpo;
        } else if (nome === 'IDAT') {
            idat.push(corpo);
        }
        p += n + 12;
    }
    const canali = { 0: 1, 2: 3, 3: 1, 6: 4 }[tipo];
    const grezzi = zlib.inflateSync(Buffer.concat(idat));
    const riga = w * canali;
    const px = Buffer.alloc(h * riga);
    for (let y = 0; y < h; y++) {
        const filtro = grezzi[y * (riga + 1)];
        for (let x = 0; x < riga; x++) {
            const a = x >= canali ? px[y * riga + x - canali] : 0;
            const b = y > 0 ? px[(y - 1) * riga + x] : 0;
            const c = x >= canali && y > 0 ? px[(y - 1) * riga + x - canali] : 0;
            const stima = a + b - c;
            const [da, db, dc] = [Math.abs(stima - a), Math.abs(stima - b), Math.abs(stima - c)];
            const predetto = [0, a, b, (a + b) >> 1, da <= db && da <= dc ? a : db <= dc ? b : c][filtro];
            px[y * riga + x] = (grezzi[y * (riga + 1) + 1 + x] + predetto) & 0xff;
        }
    }
    const out = immagine(w, h);
    for (let i = 0; i < w * h; i++) {
        for (let k = 0; k < 3; k++) {
            out.rgb[i * 3 + k] = tipo === 3 ? palette[px[i] * 3 + k] : tipo === 0 ? px[i] : px[i * canali + k];
        }
    }
    return out;
}

// A GIF's first picture, through its global or local colour table.
export function leggiGif(dati) {
    const colori = (p, campi) => dati.subarray(p, p + 3 * (2 << (campi & 7)));
    let palette = dati[10] & 0x80 ? colori(13, dati[10]) : null;
    let p = 13 + (palette ? palette.length : 0);
    while (dati[p] === 0x21) { // extensions, skipped
        p += 2;
        while (dati[p] !== 0) {
            p += dati[p] + 1;
        }
        p += 1;
    }
    if (dati[p] !== 0x2c) {
        throw new Error('GIF: no picture');
    }
    const [w, h, campi] = [dati.readUInt16LE(p + 5), dati.readUInt16LE(p + 7), dati[p + 9]];
    if (campi & 0x40) {
        throw new Error('GIF: interlaced');
    }
    p += 10;
    if (campi & 0x80) {
        palette = colori(p, campi);
        p += palette.length;
    }
    const minimo = dati[p++];
    const blocchi = [];
    while (dati[p] !== 0) {
        blocchi.push(dati.subarray(p + 1, p + 1 + dati[p]));
        p += dati[p] + 1;
    }
    const indici = lzw(minimo, Buffer.concat(blocchi));
    const out = immagine(w, h);
    for (let i = 0; i < w * h; i++) {
        palette.copy(out.rgb, i * 3, indici[i] * 3, indici[i] * 3 + 3);
    }
    return out;
}

function lzw(minimo, dati) {
    const pulisci = 1 << minimo, fine = pulisci + 1;
    let dizionario = [], bit = 0, taglia = 0, prima = null;
    const azzera = () => {
        dizionario = Array.from({ length: pulisci + 2 }, (_, i) => [i]);
        taglia = minimo + 1;
        prima = null;
    };
    azzera();
    const out = [];
    while (bit + taglia <= dati.length * 8) {
        let codice = 0;
        for (let k = 0; k < taglia; k++, bit++) {
            codice |= ((dati[bit >> 3] >> (bit & 7)) & 1) << k;
        }
        if (codice === pulisci) {
            azzera();
            continue;
        }
        if (codice === fine) {
            break;
        }
        const voce = codice < dizionario.length ? dizionario[codice] : [...prima, prima[0]];
        out.push(...voce);
        if (prima) {
            dizionario.push([...prima, voce[0]]);
            if (dizionario.length === 1 << taglia && taglia < 12) {
                taglia += 1;
            }
        }
        prima = voce;
    }
    return out;
}

export const leggiFile = (file) => (file.endsWith('.gif') ? leggiGif : leggiPng)(fs.readFileSync(file));

// How many pixels differ, and by how much at most in one channel.
export function differenze(a, b) {
    if (a.width !== b.width || a.height !== b.height) {
        return { pixel: Infinity, massimo: Infinity, taglie: `${a.width}x${a.height} ${b.width}x${b.height}` };
    }
    let pixel = 0, massimo = 0;
    for (let i = 0; i < a.width * a.height; i++) {
        let d = 0;
        for (let k = 0; k < 3; k++) {
            d = Math.max(d, Math.abs(a.rgb[i * 3 + k] - b.rgb[i * 3 + k]));
        }
        pixel += d > 0 ? 1 : 0;
        massimo = Math.max(massimo, d);
    }
    return { pixel, massimo };
}

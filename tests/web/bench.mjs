// The page's figures, measured in headless Chromium on this machine: the
// whole transfer before and after gzip, the time from navigation to the
// dealer's box against a static page that opens one <dialog> (same server,
// same run, alternating), the memory at the first box, and the expert's
// decision times in the page.
//
// usage: node tests/web/bench.mjs [--dir build/web] [--runs 10] [--games 10]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

import { Arbitro } from './arbitro.mjs';
import { apri, avviaChromium, cartellaPagina, giocaFinoAllaFine, servi } from './pagina.mjs';

const args = { dir: cartellaPagina(), runs: '10', games: '10' };
for (let i = 2; i < process.argv.length; i += 2) {
    args[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
}
const runs = Number(args.runs), games = Number(args.games);

const mediana = (v) => {
    const s = [...v].sort((a, b) => a - b);
    return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
// The nearest-rank percentile.
const percentile = (v, p) => [...v].sort((a, b) => a - b)[Math.max(0, Math.ceil((p / 100) * v.length) - 1)];
const kb = (n) => `${(n / 1000).toFixed(0)} KB`;
const ms = (n) => `${n.toFixed(1)} ms`;

// ------------------------------------------------------------ transfer

function trasferimento(cartella) {
    const gruppi = {};
    let crudi = 0, compressi = 0, file = 0;
    const visita = (rel) => {
        for (const f of fs.readdirSync(path.join(cartella, rel))) {
            const r = path.join(rel, f);
            if (fs.statSync(path.join(cartella, r)).isDirectory()) {
                visita(r);
                continue;
            }
            const dati = fs.readFileSync(path.join(cartella, r));
            // What a host that compresses sends: gzip at its usual level.
            const z = zlib.gzipSync(dati, { level: 6 }).length;
            const g = /\.(gif|png)$/.test(r) ? 'pictures' : path.extname(r).slice(1);
            gruppi[g] ??= { file: 0, crudi: 0, compressi: 0 };
            gruppi[g].file += 1;
            gruppi[g].crudi += dati.length;
            gruppi[g].compressi += z;
            crudi += dati.length;
            compressi += z;
            file += 1;
        }
    };
    visita('');
    return { file, crudi, compressi, gruppi };
}

// ------------------------------------------------------------ start-up

const Statico = `<!DOCTYPE html>
<html lang="it"><head><meta charset="utf-8"><title>Trivanta</title></head>
<body><dialog id="box"><p>Sarai tu a dare carte</p><button>OK</button></dialog>
<script>document.getElementById('box').showModal();</script></body></html>
`;

// Notes when the first box is opened and when a frame with it has been drawn
// (two animation frames later), in ms from the navigation's start.
function cronometro() {
    window.cronometro = {};
    const showModal = HTMLDialogElement.prototype.showModal;
    HTMLDialogElement.prototype.showModal = function (...a) {
        const r = showModal.apply(this, a);
        if (window.cronometro.aperta === undefined) {
            window.cronometro.aperta = performance.now();
            requestAnimationFrame(() => requestAnimationFrame(() => {
                window.cronometro.disegnata = performance.now();
            }));
        }
        return r;
    };
}

async function avvio(chromium, url, memoria) {
    const context = await chromium.newContext({ locale: 'it-IT', viewport: { width: 1024, height: 700 } });
    try {
        const page = await context.newPage();
        await page.addInitScript(cronometro);
        await page.goto(url, { waitUntil: 'commit' });
        await page.waitForFunction(() => window.cronometro.disegnata !== undefined, null, { timeout: 30000 });
        const tempo = await page.evaluate(() => window.cronometro.disegnata);
        if (!memoria) {
            return { tempo };
        }
        const cdp = await context.newCDPSession(page);
        await cdp.send('HeapProfiler.collectGarbage');
        const { usedSize } = await cdp.send('Runtime.getHeapUsage');
        const wasm = await page.evaluate(() => window.trivanta?.memoriaWasm?.() ?? 0);
        return { tempo, heap: usedSize, wasm };
    } finally {
        await context.close();
    }
}

// ------------------------------------------------------------ the expert

async function esperto(chromium, server) {
    const tempi = [];
    for (let g = 0; g < games; g++) {
        const { context, page } = await apri(chromium, `${server.url}?avversario=esperto&seme=${1000 + g}`);
        try {
            const arbitro = new Arbitro();
            await giocaFinoAllaFine(page, arbitro, {
                async scegli(p) {
                    await p.click('#user0');
                    return 0;
                },
                gioca: (p) => p.click('#giocatautente'),
                rispondi: (p, box) => p.click(box.pulsanti === 'ok' ? '#box-ok' : '#box-no'),
            });
            if (arbitro.errori.length > 0 || arbitro.partite !== 1) {
                throw new Error(`game ${g}: ${arbitro.errori.join('; ')}`);
            }
            tempi.push(...(await page.evaluate(() => window.trivanta.tempiEsperto())));
        } finally {
            await context.close();
        }
    }
    return tempi;
}

// ------------------------------------------------------------ the run

const t = trasferimento(args.dir);
console.log(`transfer: ${t.file} files, ${kb(t.crudi)} (${(t.crudi / 1024).toFixed(0)} KiB), gzip -6 ${kb(t.compressi)}`);
for (const [g, x] of Object.entries(t.gruppi).sort((a, b) => b[1].crudi - a[1].crudi)) {
    console.log(`  ${g}: ${x.file} files, ${kb(x.crudi)}, gzip ${kb(x.compressi)}`);
}

const cartella = fs.mkdtempSync(path.join(os.tmpdir(), 'trivanta-bench-'));
fs.cpSync(args.dir, cartella, { recursive: true });
fs.writeFileSync(path.join(cartella, 'statico.html'), Statico);
const server = await servi(cartella);
const chromium = await avviaChromium();
try {
    // A first run of each warms Chromium itself, and is not counted.
    await avvio(chromium, server.url, false);
    await avvio(chromium, `${server.url}statico.html`, false);
    const pagina = [], statico = [], heap = [], wasm = [];
    for (let i = 0; i < runs; i++) {
        const p = await avvio(chromium, `${server.url}?seme=${i}`, true);
        pagina.push(p.tempo);
        heap.push(p.heap);
        wasm.push(p.wasm);
        statico.push((await avvio(chromium, `${server.url}statico.html`, false)).tempo);
    }
    console.log(`navigation to the dealer's box drawn, median of ${runs} (fresh profile each): ` +
        `page ${ms(mediana(pagina))}, static page with one <dialog> ${ms(mediana(statico))}, ` +
        `ratio ${(mediana(pagina) / mediana(statico)).toFixed(2)}`);
    console.log(`  page: ${pagina.map((x) => x.toFixed(0)).join(' ')}`);
    console.log(`  static: ${statico.map((x) => x.toFixed(0)).join(' ')}`);
    console.log(`memory at the first box, median: JS heap ${kb(mediana(heap))}, ` +
        `wasm memory ${kb(mediana(wasm))}, together ${kb(mediana(heap) + mediana(wasm))}`);

    const tempi = await esperto(chromium, server);
    console.log(`expert's decisions in ${games} games (${tempi.length}): median ${ms(mediana(tempi))}, ` +
        `p99 ${ms(percentile(tempi, 99))}, slowest ${ms(Math.max(...tempi))}`);
} finally {
    await chromium.close();
    await server.chiudi();
    fs.rmSync(cartella, { recursive: true, force: true });
}

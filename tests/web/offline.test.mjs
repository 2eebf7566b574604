// Offline play and updates: after one visit the page reloads, opens under
// another address and plays with its server gone; a new version's files
// replace the old ones at once, and nothing of the old version stays.
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { apri, attendi, avviaChromium, cartellaPagina, servi } from './pagina.mjs';
import { radice } from './testi.mjs';

let chromium, cartella;
before(async () => {
    chromium = await avviaChromium();
    cartella = fs.mkdtempSync(path.join(os.tmpdir(), 'trivanta-offline-'));
});
after(async () => {
    await chromium?.close();
    fs.rmSync(cartella, { recursive: true, force: true });
});

// The dealer's box, then one trick: the game runs.
async function gioca(page) {
    let s = await attendi(page, 0, { pausa: false });
    assert.ok(s.box, JSON.stringify(s));
    await page.click('#box-ok');
    s = await attendi(page, s.aperte);
    await page.click('#giocatautente');
    s = await attendi(page, s.aperte, { pausa: false });
    assert.ok(s.box && s.vista.terrauser && s.vista.terrapc, JSON.stringify(s));
}

// Each file the page's cache holds, by its path, with a digest of its bytes.
const cache = (page) => page.evaluate(async () => {
    const nomi = await caches.keys();
    const tenuti = {};
    for (const nome of nomi) {
        const c = await caches.open(nome);
        for (const r of await c.keys()) {
            const dati = await (await c.match(r)).arrayBuffer();
            const h = [...new Uint8Array(await crypto.subtle.digest('SHA-256', dati))];
            tenuti[new URL(r.url).pathname.slice(1) || 'index.html'] = h.map((b) => b.toString(16).padStart(2, '0')).join('');
        }
    }
    return { nomi, tenuti };
});

const digest = (file) => createHash('sha256').update(fs.readFileSync(file)).digest('hex');

test('after one visit the page plays with the network gone, and a new version replaces the old at once', { timeout: 120000 }, async () => {
    const v1 = path.join(cartella, 'v1'), v2 = path.join(cartella, 'v2');
    fs.cpSync(cartellaPagina(), v1, { recursive: true });
    const versione = /project\(Trivanta VERSION ([0-9.]+)/.exec(fs.readFileSync(path.join(radice, 'CMakeLists.txt'), 'utf8'))[1];
    const nomeCache = /"(trivanta-[^"]*)"/.exec(fs.readFileSync(path.join(v1, 'sw.js'), 'utf8'))[1];
    assert.ok(nomeCache.startsWith(`trivanta-${versione}`), nomeCache);

    let server = await servi(v1);
    const porta = new URL(server.url).port;
    const { context, page, errori } = await apri(chromium, server.url);
    try {
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
        await gioca(page);
        const primo = await cache(page);
        assert.deepEqual(primo.nomi, [nomeCache]);

        // No server: the page, under its own address and under another.
        await server.chiudi();
        for (const indirizzo of [server.url, `${server.url}?seme=5`]) {
            await page.goto(indirizzo);
            await attendi(page, 0, { pausa: false });
            await gioca(page);
        }

        // A new version: another page and another cache's name. One visit
        // brings it in whole, and the old cache goes.
        fs.cpSync(v1, v2, { recursive: true });
        const nuovoNome = `trivanta-${versione}-nuova`;
        fs.writeFileSync(path.join(v2, 'sw.js'),
            fs.readFileSync(path.join(v2, 'sw.js'), 'utf8').replace(`"${nomeCache}"`, `"${nuovoNome}"`));
        fs.writeFileSync(path.join(v2, 'index.html'), fs.readFileSync(path.join(v2, 'index.html'), 'utf8')
            .replace('<head>', '<head>\n<meta name="versione-di-prova" content="2">'));
        server = await servi(v2, porta);
        await page.goto(server.url);
        await page.waitForFunction(() => document.querySelector('meta[name="versione-di-prova"]'), null, { timeout: 20000 });
        await attendi(page, 0, { pausa: false });
        const secondo = await cache(page);
        assert.deepEqual(secondo.nomi, [nuovoNome]);
        for (const [file, h] of Object.entries(secondo.tenuti)) {
            assert.equal(h, digest(path.join(v2, file)), file);
        }
        assert.deepEqual(Object.keys(secondo.tenuti).sort(), Object.keys(primo.tenuti).sort());

        // And the new version plays offline too.
        await server.chiudi();
        await page.reload();
        await gioca(page);
        assert.ok(await page.$('meta[name="versione-di-prova"]'));
        assert.deepEqual(errori.filter((e) => !/ERR_CONNECTION_REFUSED|Failed to load resource/.test(e)), []);
    } finally {
        await context.close();
        await server.chiudi();
    }
});

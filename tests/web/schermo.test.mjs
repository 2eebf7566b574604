// The table on screens of every kind: at device scale factors 1, 2 and 1.5
// the trump card is, pixel for pixel, the picture meant for that scale; on a
// phone, held either way, and on a 4K screen the whole table shows, in its
// proportions, and a finger plays as the mouse does.
import assert from 'node:assert/strict';
import path from 'node:path';
import { test } from 'node:test';

import { apri, attendi, cartellaPagina, leggi, preparaBanco } from './pagina.mjs';

const banco = preparaBanco();

// The window's size: the table at its own size fills the viewport.
const Finestra = { width: 794, height: 530 };

// The first table of seed 7, the user to play; its trump card and the
// rectangle of that card's picture in CSS pixels.
async function tavola(opzioni) {
    const aperta = await apri(banco.chromium, `${banco.server.url}?seme=7`, opzioni);
    const s = await attendi(aperta.page, 0, { pausa: false });
    await aperta.page.click('#box-ok');
    await attendi(aperta.page, s.aperte);
    return aperta;
}

const rettangolo = (page, selettore) => page.$eval(selettore, (e) => {
    const r = e.getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
});

test('the trump card on the screen is, pixel for pixel, the picture for the scale: 1, 2 and 1.5', async () => {
    for (const scala of [1, 2, 1.5]) {
        const { context, page } = await tavola({ viewport: Finestra, deviceScaleFactor: scala });
        try {
            const { vista } = await leggi(page);
            await page.waitForFunction(() => document.querySelector('#cartabriscola img').complete);
            const clip = await rettangolo(page, '#cartabriscola img');
            assert.deepEqual([clip.width, clip.height], [74, 130], `${scala}: the stage is not at its size`);
            // The file meant for the scale, as Chromium draws it alone at the
            // same place: the GIF at 1, one pixel of the large picture to a
            // pixel of the screen at 2, and that picture smoothly scaled at
            // any other ratio.
            const prova = await context.newPage();
            const file = `cards/${vista.cartabriscola}${scala === 1 ? '.gif' : '@2x.png'}`;
            await prova.setContent(`<body style="margin:0"><img src="${banco.server.url}${file}"
                style="position:absolute;left:${clip.x}px;top:${clip.y}px;width:74px;height:130px"></body>`);
            await prova.waitForFunction(() => document.images[0].complete && document.images[0].naturalWidth > 0);
            const [schermo, atteso] = [await page.screenshot({ clip }), await prova.screenshot({ clip })];
            assert.ok(schermo.equals(atteso), `scale ${scala}: the trump card is not ${file}`);
        } finally {
            await context.close();
        }
    }
});

test('a phone either way up and a 4K screen show the whole table in its proportions; a finger plays', async () => {
    const schermi = {
        'phone sideways': { viewport: { width: 740, height: 360 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
        'phone upright': { viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
        '4K': { viewport: { width: 3840, height: 2160 }, deviceScaleFactor: 1 },
    };
    for (const [nome, opzioni] of Object.entries(schermi)) {
        const { context, page, errori } = await tavola(opzioni);
        try {
            const { width: w, height: h } = opzioni.viewport;
            // Every control of the window lies inside the viewport.
            const fuori = await page.$$eval('#finestra *', (tutti, [w, h]) => tutti
                .filter((e) => e.checkVisibility())
                .map((e) => [e.id || e.tagName, e.getBoundingClientRect()])
                .filter(([, r]) => r.left < -0.5 || r.top < -0.5 || r.right > w + 0.5 || r.bottom > h + 0.5)
                .map(([id]) => id), [w, h]);
            assert.deepEqual(fuori, [], nome);
            // The window keeps its proportions and fills the viewport one way.
            const r = await rettangolo(page, '#finestra');
            assert.ok(Math.abs(r.width / r.height - Finestra.width / Finestra.height) < 0.005, `${nome}: ${JSON.stringify(r)}`);
            assert.ok(Math.abs(r.width - w) < 1 || Math.abs(r.height - h) < 1, `${nome}: ${JSON.stringify(r)}`);
            if (opzioni.hasTouch) {
                const { aperte } = await leggi(page);
                await page.tap('#user1');
                assert.deepEqual((await leggi(page)).vista.shape, [false, true, false], nome);
                await page.tap('#giocatautente');
                const s = await attendi(page, aperte, { pausa: false });
                assert.ok(s.box && s.vista.terrauser !== '', nome);
            }
            // Kept beside the page for a person to look at.
            await page.screenshot({ path: `${cartellaPagina()}-schermi/${nome.replace(' ', '-')}.png` });
            assert.deepEqual(errori, []);
        } finally {
            await context.close();
        }
    }
});

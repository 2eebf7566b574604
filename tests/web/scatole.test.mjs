// What the page says in its boxes outside the play: the address's bad values,
// the donation link and a blocked tab, the menus by keys and by mouse in the
// middle of a trick, the buttons' words, leaving; and what it says when the
// game cannot load or fails.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { Arbitro } from './arbitro.mjs';
import { apri, attendi, cartellaPagina, leggi, preparaBanco } from './pagina.mjs';
import { testi } from './testi.mjs';

const banco = preparaBanco();

const Box = (testo, titolo = testi.TitoloFinestra, pulsanti = 'ok', icona = 'none') =>
    ({ testo, titolo, pulsanti, icona });

// Answers the box open now and waits for what comes next.
async function rispondi(page, pulsante) {
    const { aperte } = await leggi(page);
    await page.click(pulsante);
    return attendi(page, aperte);
}

test('each bad value of the address, or a value given twice, shows its box and starts nothing', async () => {
    const casi = {
        'seme=-1': [testi.SemeNonValido + '-1', testi.ValoriValidiSeme],
        'seme=-1&seme=-1': [testi.OpzioneSeme + testi.DatoPiuVolte, testi.ValoriValidiSeme],
        // As typed in the address bar, the sign stays a sign.
        'seme=+5': [testi.SemeNonValido + '+5', testi.ValoriValidiSeme],
        'seme=%2B5&seme=%2B5': [testi.OpzioneSeme + testi.DatoPiuVolte, testi.ValoriValidiSeme],
        'seme=18446744073709551616': [testi.SemeNonValido + '18446744073709551616', testi.ValoriValidiSeme],
        'seme=1&seme=2': [testi.OpzioneSeme + testi.DatoPiuVolte, testi.ValoriValidiSeme],
        'avversario=x': [testi.AvversarioSconosciuto + 'x', testi.ValoriValidiAvversario],
        'avversario=x&avversario=x': [testi.OpzioneAvversario + testi.DatoPiuVolte, testi.ValoriValidiAvversario],
        'avversario=casuale&avversario=esperto':
            [testi.OpzioneAvversario + testi.DatoPiuVolte, testi.ValoriValidiAvversario],
    };
    const context = await banco.chromium.newContext({ locale: 'it-IT' });
    try {
        for (const [query, parti] of Object.entries(casi)) {
            const { page, errori } = await apri(banco.chromium, `${banco.server.url}?${query}`, { context });
            const s = await attendi(page, 0, { pausa: false });
            assert.ok(s.box && s.box.pulsanti === 'ok' && parti.every((p) => s.box.testo.includes(p)),
                `${query}: ${JSON.stringify(s.box)}`);
            const dopo = await rispondi(page, '#box-ok');
            const carte = await page.$$eval('.posto', (posti) =>
                posti.filter((p) => p.checkVisibility() && /^[oscb]\d$/.test(p.dataset.immagine)).length);
            assert.ok(dopo.aperte === 1 && !dopo.box && carte === 0, `${query} started a game`);
            assert.deepEqual(errori, [], query);
            await page.close();
        }
        // The largest seed is a seed.
        const { page } = await apri(banco.chromium, `${banco.server.url}?seme=18446744073709551615`, { context });
        const s = await attendi(page, 0, { pausa: false });
        assert.ok([testi.DaraCarteUser, testi.DaraCartePc].includes(s.box?.testo));
    } finally {
        await context.close();
    }
});

test('the donation buttons and menu entry open the whole address in a new tab, a blocked tab gives the box', async () => {
    const context = await banco.chromium.newContext({ locale: 'it-IT' });
    await context.route(`${testi.IndirizzoDonazione}*`, (r) => r.fulfill({ body: 'grazie', contentType: 'text/html' }));
    try {
        const { page, errori } = await apri(banco.chromium, `${banco.server.url}?seme=3`, { context });
        await rispondi(page, '#box-ok');
        const prima = await leggi(page);
        const apre = [() => page.click('#Command1'), () => page.click('#Command2'),
            async () => {
                await page.click('#helpami');
                await page.click('#cmdDonazione');
            }];
        for (const azione of apre) {
            const [scheda] = await Promise.all([context.waitForEvent('page'), azione()]);
            await scheda.waitForURL(testi.IndirizzoDonazione);
            assert.equal(await scheda.evaluate(() => window.opener), null);
            await scheda.close();
        }
        const dopo = await leggi(page);
        assert.deepEqual([dopo.aperte, dopo.vista], [prima.aperte, prima.vista]);

        // A browser that blocks the new tab gives window.open nothing back.
        await page.evaluate(() => { window.open = () => null; });
        await page.click('#Command2');
        const s = await attendi(page, prima.aperte, { pausa: false });
        assert.deepEqual(s.box, Box(testi.BrowserNonTrovato + testi.IndirizzoDonazione,
            testi.TitoloBrowserNonTrovato, 'ok', 'exclamation'));
        const fine = await rispondi(page, '#box-ok');
        assert.deepEqual(fine.vista, prima.vista);
        assert.deepEqual(errori, []);
    } finally {
        await context.close();
    }
});

test('the menus by keys and by mouse in the middle of a trick: No and the close button change nothing, Yes deals anew; About; Esci', async () => {
    const { context, page, errori } = await apri(banco.chromium, `${banco.server.url}?seme=7`);
    try {
        // Seed 7: the user deals, so the computer's card lies on the table.
        const arbitro = new Arbitro();
        let s = await attendi(page, 0, { pausa: false });
        arbitro.box(s.box, s.vista);
        s = await rispondi(page, '#box-ok');
        arbitro.pausa(s.vista);
        assert.ok(arbitro.guida === 'pc' && s.vista.terrapc !== '');
        const tavola = s.vista;

        const sicuro = Box(testi.Sicuro, testi.TitoloSicuro, 'yesno');
        // Alt+Shift and the underlined letter open a menu; in it the
        // underlined letter chooses. Yes is the default.
        await page.keyboard.press('Alt+Shift+F');
        assert.ok(await page.isVisible('#menu-file'));
        await page.keyboard.press('n');
        s = await attendi(page, s.aperte, { pausa: false });
        assert.deepEqual(s.box, sicuro);
        assert.deepEqual(await page.evaluate(() => [document.activeElement.id,
            document.getElementById('box-yes').textContent, document.getElementById('box-no').textContent]),
        ['box-yes', 'Sì', 'No']);
        await page.keyboard.press('Escape');
        s = await attendi(page, s.aperte);
        assert.ok(!s.box && !(await page.isVisible('#menu-file')));
        assert.deepEqual(s.vista, tavola);
        await page.click('#file');
        await page.click('#newpart');
        s = await attendi(page, s.aperte, { pausa: false });
        assert.deepEqual(s.box, sicuro);
        s = await rispondi(page, '#box-close');
        assert.deepEqual([s.box, s.vista], [null, tavola]);

        await page.keyboard.press('Alt+Shift+Slash');
        await page.keyboard.press('i');
        s = await attendi(page, s.aperte, { pausa: false });
        const a = testi.FineRiga;
        assert.deepEqual(s.box, Box(`${testi.Prodotto}${a}${a}${testi.Autore}${a}${testi.Contatto}${a}${testi.PaginaWeb}`,
            testi.TitoloInformazioni, 'ok', 'information'));
        s = await rispondi(page, '#box-ok');
        assert.deepEqual(s.vista, tavola);

        // Yes: a new game from scratch, nothing of the old one on the table.
        await page.click('#file');
        await page.click('#newpart');
        await attendi(page, s.aperte, { pausa: false });
        s = await rispondi(page, '#box-yes');
        arbitro.box(s.box, s.vista);
        s = await rispondi(page, '#box-ok');
        arbitro.pausa(s.vista);
        assert.deepEqual(arbitro.errori, []);

        // Esci ends at once, asking nothing.
        const aperte = s.aperte;
        await page.click('#file');
        await page.click('#esci');
        s = await attendi(page, s.aperte, { pausa: false });
        assert.ok(s.fine && !s.box && s.aperte === aperte && await page.isHidden('#main'));
        assert.deepEqual(errori, []);

        // Leaving the page asks nothing either.
        let domanda = false;
        page.on('dialog', (d) => { domanda = true; d.dismiss(); });
        await page.close({ runBeforeUnload: true });
        assert.equal(domanda, false);
    } finally {
        await context.close();
    }
});

test('outside Italian the buttons say Yes and No', async () => {
    const { context, page } = await apri(banco.chromium, `${banco.server.url}?seme=7`, { locale: 'en-GB' });
    try {
        await attendi(page, 0, { pausa: false });
        const s = await rispondi(page, '#box-ok');
        await page.click('#file');
        await page.click('#newpart');
        await attendi(page, s.aperte, { pausa: false });
        assert.deepEqual(await page.$$eval('#box-yes, #box-no', (b) => b.map((x) => x.textContent)), ['Yes', 'No']);
    } finally {
        await context.close();
    }
});

test('a game that cannot load, or fails, says so in Italian on the page', async () => {
    const wasm = fs.readFileSync(path.join(cartellaPagina(), 'trivanta.wasm'));
    const guasti = {
        'no WebAssembly': { script: () => { delete window.WebAssembly; } },
        'the wasm missing': { file: 'trivanta.wasm', risposta: { status: 404, body: 'no' } },
        'the wasm as another type': { file: 'trivanta.wasm', risposta: { body: wasm, contentType: 'application/octet-stream' } },
        'the wasm cut short': { file: 'trivanta.wasm', risposta: { body: wasm.subarray(0, wasm.length >> 1), contentType: 'application/wasm' } },
        'the loader missing': { file: 'trivanta.js', risposta: { status: 404, body: 'no' } },
    };
    for (const [nome, guasto] of Object.entries(guasti)) {
        const context = await banco.chromium.newContext({ locale: 'it-IT' });
        try {
            if (guasto.file) {
                await context.route(`**/${guasto.file}`, (r) => r.fulfill(guasto.risposta));
            }
            if (guasto.script) {
                await context.addInitScript(guasto.script);
            }
            const { page } = await apri(banco.chromium, banco.server.url, { context });
            assert.equal(await page.evaluate(() => document.documentElement.dataset.stato), 'errore', nome);
            const frase = await page.textContent('#errore');
            assert.ok(await page.isVisible('#errore') && /\b(il|la|per|non)\b/.test(frase), `${nome}: ${frase}`);
            assert.ok(!(await page.isVisible('#main')) && !(await page.evaluate(() => document.getElementById('box').open)), nome);
        } finally {
            await context.close();
        }
    }

    // An exception out of the game shows too, and reaches the console.
    const { context, page, errori } = await apri(banco.chromium, `${banco.server.url}?seme=7`);
    try {
        await rispondi(page, '#box-ok');
        await page.evaluate(() => { window.sonda.guasto = 'guasto di prova'; });
        await page.click('#giocatautente');
        await page.waitForFunction(() => document.documentElement.dataset.stato === 'errore');
        assert.match(await page.textContent('#errore'), /guasto di prova/);
        assert.ok(errori.some((e) => e.includes('guasto di prova')));
    } finally {
        await context.close();
    }
});

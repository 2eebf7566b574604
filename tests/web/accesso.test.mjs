// The page as a screen reader and a keyboard user meet it: the names in
// Chromium's own accessibility tree, the live region that tells each change
// once and before a box hides the table, the focus order, and the menus'
// underlined letters.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { Arbitro, carta } from './arbitro.mjs';
import { apri, attendi, giocaFinoAllaFine, preparaBanco } from './pagina.mjs';
import { testi } from './testi.mjs';

const banco = preparaBanco();

// What a screen reader says of a picture, by the rules of the desktop's names.
function nome(immagine, manoPc = false) {
    const c = carta(immagine);
    if (!c) {
        return manoPc ? testi.CartaCoperta : testi.PostoVuoto;
    }
    return `${testi.NomiValori[c.valore - 1]}${testi.ValoreDiSeme}${testi.NomiSemi[c.seme - 1]}`;
}

// Chromium's accessibility tree, each node of an element with an id under
// that id: role, name, description, the live property, and whether it is
// left out of what assistive technology gets.
async function albero(page) {
    const cdp = await page.context().newCDPSession(page);
    try {
        const { root } = await cdp.send('DOM.getDocument', { depth: -1 });
        const ids = new Map();
        const visita = (n) => {
            const a = n.attributes ?? [];
            const i = a.indexOf('id');
            if (i >= 0 && i % 2 === 0) {
                ids.set(n.backendNodeId, a[i + 1]);
            }
            (n.children ?? []).forEach(visita);
        };
        visita(root);
        const { nodes } = await cdp.send('Accessibility.getFullAXTree');
        const perId = {};
        for (const n of nodes) {
            const id = ids.get(n.backendDOMNodeId);
            if (id) {
                const prop = (p) => n.properties?.find((x) => x.name === p)?.value.value;
                perId[id] = { ruolo: n.role?.value, nome: n.name?.value, descrizione: n.description?.value,
                    live: prop('live'), modale: prop('modal'), fuori: n.ignored };
            }
        }
        return perId;
    } finally {
        await cdp.detach();
    }
}

const stato = (pc, user) => `${testi.CartePresePc}${pc}${testi.CartePreseUser}${user}`;

test('the accessibility tree names every place, control and count as the desktop does; a box hides the table', async () => {
    const { context, page } = await apri(banco.chromium, `${banco.server.url}?seme=7`);
    try {
        // A box: a modal dialog named by its title, its text the description;
        // the table behind it is gone from the tree.
        let s = await attendi(page, 0, { pausa: false });
        let a = await albero(page);
        assert.deepEqual([a.box.ruolo, a.box.nome, a.box.descrizione, a.box.modale],
            ['dialog', testi.TitoloFinestra, s.box.testo, true]);
        assert.ok(!a.user0 || a.user0.fuori, 'the table is in the tree behind a modal box');
        await page.click('#box-ok');
        s = await attendi(page, s.aperte);
        a = await albero(page);
        const v = s.vista;
        const atteso = {
            file: ['menuitem', 'File'], helpami: ['menuitem', '?'], menubar: ['menubar', undefined],
            giocatautente: ['button', testi.Gioca],
            Command1: ['button', testi.InvitoDonazione], Command2: ['button', testi.InvitoDonazione],
            StatusBar1: ['status', testi.PrefissoBarraDiStato + stato(0, 0)],
            cartabriscola: ['image', testi.PrefissoBriscola + nome(v.cartabriscola)],
            terrauser: ['image', testi.PostoVuoto, testi.DescrizioneTerraUser],
            terrapc: ['image', nome(v.terrapc), testi.DescrizioneTerraPc],
        };
        for (let k = 0; k < 3; k++) {
            atteso[`user${k}`] = ['button', nome(v.user[k]),
                testi.DescrizioneManoUser + (k + 1) + (v.shape[k] ? testi.DescrizioneScelta : '')];
            if (v.pc[k]) {
                atteso[`pc${k}`] = ['image', testi.CartaCoperta, testi.DescrizioneManoPc];
            }
        }
        for (const [id, [ruolo, n, descrizione]] of Object.entries(atteso)) {
            const x = a[id] ?? {};
            assert.deepEqual([x.ruolo, x.nome || undefined, x.descrizione || undefined, Boolean(x.fuori)],
                [ruolo, n, descrizione, false], id);
        }
        assert.ok(!v.pc[2] && (!a.pc2 || a.pc2.fuori), 'a hidden place is in the tree');
        assert.equal(a.annuncio.live, 'polite');
        assert.equal(await page.evaluate(() => document.documentElement.lang), 'it');

        // The menus' entries, named without the ampersand, the letter after
        // it underlined on screen.
        await page.click('#file');
        const menuFile = await albero(page);
        await page.keyboard.press('Escape');
        await page.click('#helpami');
        a = { ...menuFile, ...(await albero(page)) };
        const sottolineate = await page.evaluate(() => Object.fromEntries(
            ['file', 'helpami', 'newpart', 'esci', 'Info', 'cmdDonazione'].map((id) => [id,
                [...document.getElementById(id).querySelectorAll('*')]
                    .filter((e) => getComputedStyle(e).textDecorationLine.includes('underline'))
                    .map((e) => e.textContent).join('')])));
        const voci = { file: testi.MenuFile, helpami: testi.MenuAiuto, Info: testi.VoceInformazioni,
            cmdDonazione: testi.VoceDonazione, newpart: testi.VoceNuovaPartita, esci: testi.VoceEsci };
        for (const [id, t] of Object.entries(voci)) {
            assert.equal(sottolineate[id], t[t.indexOf('&') + 1], id);
            assert.deepEqual([a[id]?.ruolo, a[id]?.nome], ['menuitem', t.replace('&', '')], id);
        }
    } finally {
        await context.close();
    }
});

test('through a whole game the live region tells each card put down and each new count once, before the box', async () => {
    const { context, page, errori } = await apri(banco.chromium, `${banco.server.url}?seme=11`);
    try {
        const arbitro = new Arbitro();
        let premute = 0;
        const { eventi } = await giocaFinoAllaFine(page, arbitro, {
            async scegli(p, s) {
                const k = premute++ % s.vista.user.filter(Boolean).length;
                await p.click(`#user${k}`);
                return k;
            },
            gioca: (p) => p.click('#giocatautente'),
            rispondi: (p, box) => p.click(box.pulsanti === 'ok' ? '#box-ok' : '#box-no'),
        });
        assert.deepEqual(arbitro.errori, []);
        const annunci = await page.evaluate(() => window.sonda.annunci);
        const quante = (frase) => annunci.filter((x) => x.testo.split('. ').includes(frase));
        // Each card put on the table is told once, before the box that names
        // the taker opens.
        let box = 0;
        for (const e of eventi) {
            box += e.box ? 1 : 0;
            if (e.box?.testo === testi.PrendeUtente || e.box?.testo === testi.PrendePc) {
                for (const [frase, cosa] of [[`${testi.DescrizioneTerraUser}: ${nome(e.vista.terrauser)}`, 'user'],
                    [`${testi.DescrizioneTerraPc}: ${nome(e.vista.terrapc)}`, 'pc']]) {
                    const dette = quante(frase);
                    assert.ok(dette.length === 1 && dette[0].aperte < box,
                        `trick ${box}, the ${cosa}'s card: ${JSON.stringify(dette)}`);
                }
            }
        }
        // Each count of the status bar, from the first trick's to the last.
        const conti = [...new Set(eventi.map((e) => (e.pausa ?? e.vista).status))]
            .filter((c) => c !== '' && c !== stato(0, 0));
        assert.equal(conti.length, 20);
        for (const c of conti) {
            assert.equal(quante(testi.PrefissoBarraDiStato + c).length, 1, c);
        }
        assert.deepEqual(errori, []);
    } finally {
        await context.close();
    }
});

test('Tab goes card by card, choosing each, then to Gioca and the donation buttons; Shift+Tab comes back', async () => {
    const { context, page } = await apri(banco.chromium, `${banco.server.url}?seme=7`);
    try {
        const s = await attendi(page, 0, { pausa: false });
        await page.click('#box-ok');
        await attendi(page, s.aperte);
        const dove = () => page.evaluate(() => [document.activeElement?.id,
            [0, 1, 2].find((k) => !document.getElementById(`Shape2_${k}`).hidden)]);
        assert.deepEqual(await dove(), ['user0', 0]);
        const giro = [['user1', 1], ['user2', 2], ['giocatautente', 2], ['Command1', 2], ['Command2', 2]];
        for (const passo of giro) {
            await page.keyboard.press('Tab');
            assert.deepEqual(await dove(), passo);
        }
        for (const passo of [['Command1', 2], ['giocatautente', 2], ['user2', 2], ['user1', 1], ['user0', 0]]) {
            await page.keyboard.press('Shift+Tab');
            assert.deepEqual(await dove(), passo);
        }
    } finally {
        await context.close();
    }
});

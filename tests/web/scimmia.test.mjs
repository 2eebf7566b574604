// A random run through the page: a seeded stream of clicks on every control
// (hidden and inert ones too), keys, menu entries, reloads and boxes answered
// every way, while the referee judges each box and each moment the game waits
// for the user, every place shows the picture and the name of its card, and
// nothing reaches the console as an error or escapes as an exception. Each
// load of the page (a life) draws from dice of its own, and its game from a
// seed of its own, so the first failure names the life that replays it alone.
//
//   TRIVANTA_SCIMMIA_EVENTI  events to run (default 600)
//   TRIVANTA_SCIMMIA_SEME    seed of the run (default 20261208)
//   TRIVANTA_SCIMMIA_VITA    start at this life of the run, to replay a failure
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { Arbitro } from './arbitro.mjs';
import { apri, attendi, preparaBanco } from './pagina.mjs';
import { testi } from './testi.mjs';

const EVENTI = Number(process.env.TRIVANTA_SCIMMIA_EVENTI ?? 600);
const SEME = Number(process.env.TRIVANTA_SCIMMIA_SEME ?? 20261208);
const PRIMA_VITA = Number(process.env.TRIVANTA_SCIMMIA_VITA ?? 0);

const banco = preparaBanco();

// Dice fully determined by their seed (mulberry32).
function dado(seme) {
    let a = seme >>> 0;
    const prossimo = () => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = Math.imul(a ^ (a >>> 15), a | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
    return { sotto: (n) => Math.floor(prossimo() * n), probabile: (p) => prossimo() < p, scegli: (l) => l[Math.floor(prossimo() * l.length)] };
}

const Inerti = ['Frame1', 'Label1', 'Label2', 'Label4', 'pc0', 'pc1', 'pc2', 'terrauser', 'terrapc',
    'cartabriscola', 'StatusBar1', 'Shape2_0', 'Shape2_1', 'Shape2_2'];
const Attivi = ['giocatautente', 'user0', 'user1', 'user2', 'Command1', 'Command2'];
const Tasti = ['Enter', 'Space', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', '1', '2', '3', '4',
    'Tab', 'Shift+Tab', 'Escape', 'Alt+Shift+F', 'Alt+Shift+Slash', 'n', 'e', 'i', 'd'];
// What the run reached: a run that missed a part proves nothing of it.
const Parti = ['another game: yes', 'another game: no', 'new game: yes', 'donation', 'Esci', 'reload',
    'trick by keyboard', 'trick by mouse'];

// Each place shows the picture of its card, for this screen, and is named
// for a screen reader as that card.
function controllaPosti(page) {
    return page.evaluate(({ valori, semi, coperta, vuoto, briscola }) => {
        const torti = [];
        for (const id of ['user0', 'user1', 'user2', 'pc0', 'pc1', 'pc2', 'terrauser', 'terrapc', 'cartabriscola']) {
            const e = document.getElementById(id);
            if (e.hidden) {
                continue;
            }
            const nome = e.dataset.immagine;
            const m = /^([oscb])(\d)$/.exec(nome);
            let atteso = m ? `${valori[m[2] === '0' ? 9 : Number(m[2]) - 1]} di ${semi['oscb'.indexOf(m[1])]}`
                : id.startsWith('pc') && nome === 'vuota' ? coperta : vuoto;
            atteso = id === 'cartabriscola' ? briscola + atteso : atteso;
            const src = e.querySelector('img').getAttribute('src') ?? '';
            const immagine = nome === '' ? src === '' : new RegExp(`^cards/${nome}(\\.gif|@2x\\.png)$`).test(src);
            if (e.getAttribute('aria-label') !== atteso || !immagine) {
                torti.push(`${id}: ${nome} shows ${src} named ${e.getAttribute('aria-label')}`);
            }
        }
        return torti;
    }, { valori: testi.NomiValori, semi: testi.NomiSemi, coperta: testi.CartaCoperta,
        vuoto: testi.PostoVuoto, briscola: testi.PrefissoBriscola });
}

test(`a random run of ${EVENTI} events keeps the rules, the names and a clean console`, { timeout: 1200000 }, async () => {
    const copertura = Object.fromEntries(Parti.map((p) => [p, 0]));
    let eventi = 0;
    for (let vita = PRIMA_VITA; eventi < EVENTI; vita++) {
        const d = dado(SEME * 7919 + vita);
        const seme = BigInt(SEME) * 1000n + BigInt(vita);
        const url = `${banco.server.url}?seme=${seme}${vita % 4 === 3 ? '&avversario=esperto' : ''}`;
        const replica = `TRIVANTA_SCIMMIA_SEME=${SEME} TRIVANTA_SCIMMIA_VITA=${vita}`;
        const context = await banco.chromium.newContext({ locale: d.probabile(0.8) ? 'it-IT' : 'en-US' });
        await context.route(`${testi.IndirizzoDonazione}*`, (r) => r.fulfill({ body: 'grazie', contentType: 'text/html' }));
        const { page, errori } = await apri(banco.chromium, url, { context });
        page.on('popup', (p) => {
            copertura.donation += 1;
            p.close().catch(() => {});
        });
        const arbitro = new Arbitro();
        const storia = [];
        const fallisci = (cosa) => assert.fail(`${replica}, event ${storia.length}: ${cosa}\n` +
            `last events: ${storia.slice(-8).join(' | ')}`);
        try {
            let s = await attendi(page, 0, { pausa: false });
            let giudicate = 0; // boxes the referee has seen
            for (let vivo = true; vivo && eventi < EVENTI; eventi++) {
                if (s.stato === 'errore' || errori.length > 0) {
                    fallisci(`${s.stato}: ${errori.join('; ')}`);
                }
                if (s.box) {
                    if (s.aperte > giudicate) {
                        giudicate = s.aperte;
                        arbitro.box(s.box, s.vista);
                    }
                    const fine = s.box.titolo === testi.TitoloFinePartita;
                    const si = s.box.pulsanti === 'ok' || d.probabile(fine ? 0.75 : 0.2);
                    const clic = s.box.pulsanti === 'ok' ? '#box-ok' : '#box-yes';
                    const azione = si ? d.scegli([clic, 'Enter']) : d.scegli(['#box-no', 'Escape', '#box-close']);
                    storia.push(`box "${s.box.testo.slice(0, 24)}": ${azione}`);
                    await (azione.startsWith('#') ? page.click(azione) : page.keyboard.press(azione));
                    copertura['another game: yes'] += fine && si;
                    copertura['another game: no'] += fine && !si;
                    copertura['new game: yes'] += s.box.titolo === testi.TitoloSicuro && si;
                    s = await attendi(page, s.aperte);
                    continue;
                }
                if (s.fine) {
                    vivo = d.probabile(0.7);
                    storia.push(vivo ? 'new game from the end screen' : 'reload at the end');
                    if (vivo) {
                        await page.click('#fine-nuova');
                        s = await attendi(page, s.aperte, { pausa: false });
                    }
                    continue;
                }
                if (s.stato === 'pronto' && arbitro.inGioco) {
                    arbitro.pausa(s.vista);
                    const torti = await controllaPosti(page);
                    if (torti.length > 0) {
                        fallisci(torti.join('; '));
                    }
                }
                if (arbitro.errori.length > 0) {
                    fallisci(arbitro.errori.join('; '));
                }
                const r = d.sotto(1000);
                let inerte = false;
                if (r < 550) {
                    const id = r < 250 ? 'giocatautente' : r < 330 ? `user${r % 3}` : d.scegli([...Inerti, ...Attivi]);
                    const b = await page.locator(`#${id}`).boundingBox();
                    if (b) {
                        // The click lands on whatever lies on top there.
                        const [x, y] = [b.x + b.width / 2, b.y + b.height / 2];
                        const sopra = await page.evaluate(([x, y]) =>
                            document.elementFromPoint(x, y)?.closest('[id]')?.id, [x, y]);
                        inerte = Inerti.includes(sopra);
                        storia.push(`click ${id}, on ${sopra}`);
                        await page.mouse.click(x, y);
                    } else {
                        // A hidden control gets a click only as a synthetic event.
                        inerte = Inerti.includes(id);
                        storia.push(`click ${id} (hidden)`);
                        await page.dispatchEvent(`#${id}`, 'click');
                    }
                } else if (r < 950) {
                    const tasto = d.scegli(Tasti);
                    storia.push(`key ${tasto}`);
                    await page.keyboard.press(tasto);
                } else if (r < 995) {
                    const [menu, voce] = d.scegli([['file', 'newpart'], ['helpami', 'Info'], ['helpami', 'cmdDonazione'],
                        ...(d.probabile(0.1) ? [['file', 'esci']] : [])]);
                    storia.push(`menu ${voce}`);
                    // With the other menu open, pointing at this title opens
                    // it and the click closes it again, as on the desktop.
                    for (let i = 0; i < 2 && !(await page.isVisible(`#${voce}`)); i++) {
                        await page.click(`#${menu}`);
                    }
                    await page.click(`#${voce}`);
                } else {
                    storia.push('reload');
                    copertura.reload += 1;
                    vivo = false;
                    continue;
                }
                const prima = s;
                s = await attendi(page, s.aperte);
                if (inerte && !s.box && JSON.stringify(s.vista) !== JSON.stringify(prima.vista)) {
                    fallisci(`${storia.at(-1)}, inert, changed the table`);
                }
                if (s.box && /^Le carte/.test(s.box.testo)) {
                    copertura[storia.at(-1).startsWith('key') ? 'trick by keyboard' : 'trick by mouse'] += 1;
                }
                // Only Esci ends the game without a box.
                copertura.Esci += s.fine && !s.box;
            }
            if (arbitro.errori.length > 0 || errori.length > 0) {
                fallisci([...arbitro.errori, ...errori].join('; '));
            }
        } finally {
            await context.close();
        }
    }
    console.log(`random run ${SEME}: ${JSON.stringify(copertura)}`);
    if (EVENTI >= 600) {
        assert.deepEqual(Parti.filter((p) => copertura[p] === 0), [], JSON.stringify(copertura));
    }
});

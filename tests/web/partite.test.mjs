// Whole games in the page, by mouse and by keyboard, to the score box, "No"
// and the end screen: the referee judges every box and every moment the user
// plays, and a seeded run shows, box by box and table by table, what the
// desktop shows for the same seed played the same way.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { Arbitro } from './arbitro.mjs';
import { apri, giocaFinoAllaFine, leggi, preparaBanco, riferimento } from './pagina.mjs';
import { testi } from './testi.mjs';

const banco = preparaBanco();

const quante = (vista) => vista.user.filter(Boolean).length;

// Yes to "another game?" until the last game, then No; OK to the rest.
function risposte(partite, tastiera) {
    let finite = 0;
    return async (page, box) => {
        const si = box.pulsanti === 'ok' || ++finite < partite;
        if (tastiera) {
            // The default button, Yes or OK, has the keyboard; Escape is No.
            await page.keyboard.press(si ? 'Enter' : 'Escape');
        } else {
            await page.click(box.pulsanti === 'ok' ? '#box-ok' : si ? '#box-yes' : '#box-no');
        }
    };
}

// The mouse chooses the first card (prima) or at the n-th press the card in
// place n modulo the hand (giro), and plays it with "Gioca".
function colMouse(modo) {
    let premute = 0;
    return {
        async scegli(page, s) {
            const k = modo === 'giro' ? premute % quante(s.vista) : 0;
            premute += 1;
            await page.click(`#user${k}`);
            return k;
        },
        gioca: (page) => page.click('#giocatautente'),
    };
}

// The keyboard chooses as the giro above: Left, Right, the digit of a place
// with no card, then the digit of the card; the marker and the keyboard
// follow each choice. Enter and Space in turn play it.
function colTastiera() {
    let premute = 0;
    const dove = (page) => page.evaluate(() => [
        [0, 1, 2].find((k) => !document.getElementById(`Shape2_${k}`).hidden),
        document.activeElement?.id,
    ]);
    return {
        async scegli(page, s) {
            const n = quante(s.vista);
            const k = premute % n;
            let scelta = s.vista.shape.indexOf(true);
            const tasti = [['ArrowLeft', (c) => c - 1], ['ArrowRight', (c) => c + 1], ['3', () => 2],
                [String(k + 1), () => k]];
            for (const [tasto, dopo] of tasti) {
                await page.keyboard.press(tasto);
                const meta = dopo(scelta);
                scelta = meta >= 0 && meta < n ? meta : scelta;
                assert.deepEqual(await dove(page), [scelta, `user${scelta}`],
                    `press ${premute + 1}, key ${tasto}, ${n} cards`);
            }
            premute += 1;
            return k;
        },
        gioca: (page) => page.keyboard.press(premute % 2 ? 'Enter' : 'Space'),
    };
}

async function giocaSeme({ seme, avversario, partite, modo, tastiera }) {
    const { context, page, errori } = await apri(banco.chromium,
        `${banco.server.url}?seme=${seme}&avversario=${avversario}`);
    try {
        const arbitro = new Arbitro();
        const { eventi, ultimo } = await giocaFinoAllaFine(page, arbitro, {
            ...(tastiera ? colTastiera() : colMouse(modo)),
            rispondi: risposte(partite, tastiera),
        });
        assert.deepEqual(arbitro.errori, []);
        assert.equal(arbitro.partite, partite);
        assert.deepEqual(eventi, riferimento(seme, avversario, partite, modo));
        assert.equal(await page.title(), avversario === 'esperto'
            ? testi.TitoloFinestraEsperto : testi.TitoloFinestra);

        // Where the desktop program ends: the table and the menus go, one
        // line and one button stay, and the button starts the seeded run
        // again from its first deal.
        assert.equal(ultimo.stato, 'fine');
        assert.deepEqual(await Promise.all(['#main', '#menubar', '#fine-testo', '#fine-nuova']
            .map((s) => page.isVisible(s))), [false, false, true, true]);
        assert.equal(await page.textContent('#fine-testo'), testi.ProgrammaFinito);
        await (tastiera ? page.keyboard.press('Enter') : page.click('#fine-nuova'));
        await page.waitForFunction(() => window.sonda.aperte > 0 && document.getElementById('box').open);
        assert.deepEqual((await leggi(page)).box, eventi[0].box);
        assert.deepEqual(errori, []);
    } finally {
        await context.close();
    }
}

test('two seeded games by mouse, the first card each time, are the desktop\'s', () =>
    giocaSeme({ seme: 20261208, avversario: 'casuale', partite: 2, modo: 'prima' }));

test('a seeded game against the expert by mouse, every place played in turn, is the desktop\'s', () =>
    giocaSeme({ seme: 42, avversario: 'esperto', partite: 1, modo: 'giro' }));

test('a seeded game by keyboard alone, boxes answered with Enter and Escape, is the desktop\'s', () =>
    giocaSeme({ seme: 7, avversario: 'casuale', partite: 1, modo: 'giro', tastiera: true }));

// Without a seed each tab deals its own game and plays it alone: a whole
// game in one leaves the other as it was, and the rules hold.
test('two tabs without a seed play two games of their own', async () => {
    const context = await banco.chromium.newContext({ locale: 'it-IT' });
    try {
        const [a, b] = [await apri(banco.chromium, banco.server.url, { context }), await apri(banco.chromium, banco.server.url, { context })];
        await b.page.click('#box-ok');
        await b.page.waitForFunction(() => window.sonda.inVolo === 0 && !document.getElementById('box').open);
        const pausaB = (await leggi(b.page)).vista;
        await a.page.bringToFront();
        const arbitro = new Arbitro();
        const { eventi } = await giocaFinoAllaFine(a.page, arbitro,
            { ...colMouse('giro'), rispondi: risposte(1, false) });
        assert.deepEqual(arbitro.errori, []);
        assert.equal(arbitro.partite, 1);
        const pausaA = eventi.find((e) => e.pausa).pausa;
        assert.notDeepEqual([pausaA.user, pausaA.cartabriscola], [pausaB.user, pausaB.cartabriscola]);
        assert.deepEqual((await leggi(b.page)).vista, pausaB);
        assert.deepEqual([...a.errori, ...b.errori], []);
    } finally {
        await context.close();
    }
});

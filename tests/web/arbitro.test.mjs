// The referee of the page's tests, against games the desktop played: it finds
// nothing wrong in them, and it finds each fault planted in one of them.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { Arbitro } from './arbitro.mjs';
import { riferimento } from './pagina.mjs';
import { testi } from './testi.mjs';

function giudica(eventi) {
    const a = new Arbitro();
    for (const e of eventi) {
        e.box ? a.box(e.box, e.vista) : a.pausa(e.pausa, e.scelta);
    }
    return a;
}

test('the desktop\'s own games, by both computers and ways of choosing, break no rule', () => {
    for (const [seme, avversario, modo] of [[1, 'casuale', 'prima'], [2, 'casuale', 'giro'],
        [3, 'esperto', 'giro'], [4, 'casuale', 'giro']]) {
        const a = giudica(riferimento(seme, avversario, 3, modo));
        assert.deepEqual(a.errori, [], `seed ${seme}`);
        assert.equal(a.partite, 3);
    }
});

test('each fault planted in a desktop game is found', () => {
    const eventi = riferimento(5, 'casuale', 1, 'giro');
    const indici = (f) => eventi.flatMap((e, i) => (f(e) ? [i] : []));
    const prese = indici((e) => e.box && /^Le carte/.test(e.box.testo));
    const pause = indici((e) => e.pausa);
    const copia = () => structuredClone(eventi);
    const guasti = {
        'the other side named as taker': (ev) => {
            const b = ev[prese[6]].box;
            b.testo = b.testo === testi.PrendeUtente ? testi.PrendePc : testi.PrendeUtente;
        },
        'a trick left out': (ev) => ev.splice(pause[9], 2),
        'the score swapped': (ev) => {
            const b = ev.at(-2).box;
            b.testo = b.testo.replace(/PC=(\d+)(.*)USER=(\d+)/s, 'PC=$3$2USER=$1');
        },
        'a status bar a trick behind': (ev) => {
            ev[pause[12]].pausa.status = ev[pause[11]].pausa.status;
        },
        'a card of a pile back in the hand': (ev) => {
            ev[pause[15]].pausa.user[0] = ev[prese[3]].vista.terrauser;
        },
        'another card than the marked one played': (ev) => {
            const v = ev[prese[4]].vista;
            [v.terrauser, v.user[0]] = [v.user[0], v.terrauser];
        },
        'the hand unsorted': (ev) => ev[pause[2]].pausa.user.reverse(),
        'the marker beside the chosen card': (ev) => {
            const p = ev[pause[1]];
            p.pausa.shape = p.pausa.shape.map((s, i) => i === (p.scelta + 1) % 3);
        },
        'the computer changes its led card': (ev) => {
            const i = indici((e) => e.pausa && e.pausa.terrapc !== '')[0];
            const j = prese.find((p) => p > i);
            ev[j].vista.terrapc = ev[pause[0]].pausa.cartabriscola === 'o1' ? 'o2' : 'o1';
        },
        'the turned-up card left on the table after the last draw': (ev) => {
            ev[pause[18]].pausa.cartabriscola = ev[pause[0]].pausa.cartabriscola;
        },
    };
    for (const [nome, guasto] of Object.entries(guasti)) {
        const ev = copia();
        guasto(ev);
        assert.notDeepEqual(giudica(ev).errori, [], nome);
    }
});

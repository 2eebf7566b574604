// A referee at the page's table. It knows the rules of briscola as players
// say them, and nothing of the game's code: it sees what the page shows (the
// table at each box and each time the user is about to play) and follows the
// game from that alone: who leads from the dealer's box and from each trick's
// taker, the trump suit from the turned-up card, the piles from the tricks it
// watched. What breaks the rules goes to `errori`.
import { testi } from './testi.mjs';

const Semi = 'oscb'; // ori, spade, coppe, bastoni: the pictures' first letter
// From the weakest card of a suit to the strongest.
const Forza = [2, 4, 5, 6, 7, 8, 9, 10, 3, 1];
const PuntiPerValore = { 1: 11, 3: 10, 10: 4, 9: 3, 8: 2 };

// A card from its picture's name ("o1", "s0" is the 10 of spade); null for
// anything else ("", "vuota", a hidden place).
export function carta(nome) {
    if (typeof nome !== 'string' || !/^[oscb][0-9]$/.test(nome)) {
        return null;
    }
    return { nome, seme: Semi.indexOf(nome[0]) + 1, valore: nome[1] === '0' ? 10 : Number(nome[1]) };
}

export const punti = (c) => PuntiPerValore[c.valore] ?? 0;

// Whether the card played second takes the trick from the card led.
export function secondaPrende(guida, seconda, semeBriscola) {
    if (seconda.seme !== guida.seme) {
        return seconda.seme === semeBriscola;
    }
    return Forza.indexOf(seconda.valore) > Forza.indexOf(guida.valore);
}

const status = (pc, user) => `${testi.CartePresePc}${pc}${testi.CartePreseUser}${user}`;

export class Arbitro {
    constructor() {
        this.errori = [];
        this.partite = 0; // games seen to their score
        this.prese = 0;
        this.inGioco = false;
    }

    atteso(ok, cosa) {
        if (!ok) {
            this.errori.push(`trick ${this.prese + 1}: ${cosa}`);
        }
        return ok;
    }

    nuovaPartita(guida) {
        this.inGioco = true;
        this.guida = guida;
        this.prese = 0;
        this.pile = { user: [], pc: [] };
        this.briscola = null; // the turned-up card
        this.semeBriscola = 0;
        this.scelta = null; // the card the user marked at the last pause
        this.terrapc = null; // the card the computer led
        this.presaUltimaPescata = null; // who took the trick of the last draw
    }

    // Every card the table shows in the view, with those in the piles, must
    // be a card, and none twice.
    distinte(v, nomi) {
        const tutte = [...nomi, ...this.pile.user, ...this.pile.pc].filter((n) => n !== null);
        this.atteso(tutte.every((n) => carta(n)) && new Set(tutte).size === tutte.length,
            `a card twice, or no card, among ${tutte.join(' ')}`);
    }

    // The places in `posti` show k from the left, none after; returns k.
    daSinistra(posti, cosa) {
        const k = posti.filter((p) => p).length;
        this.atteso(posti.every((p, i) => Boolean(p) === i < k), `${cosa} has gaps`);
        return k;
    }

    // The user is about to play the card of place `scelta` (if known).
    pausa(v, scelta) {
        if (!this.atteso(this.inGioco, 'the user is asked to play outside a game')) {
            return;
        }
        const mano = Math.min(3, 20 - this.prese);
        const user = this.daSinistra(v.user, "the user's hand");
        const pc = this.daSinistra(v.pc, "the computer's hand");
        const led = this.guida === 'pc' ? 1 : 0;
        this.atteso(user === mano && pc === mano - led,
            `hands of ${user} and ${pc} cards, ${mano} each due, the computer having led ${led}`);
        const carte = v.user.slice(0, user).map(carta);
        this.atteso(carte.every((c, i) => i === 0 || (c && carte[i - 1] &&
                (carte[i - 1].valore < c.valore ||
                 (carte[i - 1].valore === c.valore && carte[i - 1].seme < c.seme)))),
            `the hand ${v.user.join(' ')} is not sorted by value, then suit`);
        this.atteso(v.terrauser === '', `the user's table place shows "${v.terrauser}"`);
        this.atteso(led ? carta(v.terrapc) !== null : v.terrapc === '',
            `the computer's table place shows "${v.terrapc}" with the ${this.guida} to lead`);
        this.terrapc = led ? v.terrapc : null;
        if (this.prese <= 16) {
            const b = carta(v.cartabriscola);
            this.atteso(b && (this.briscola === null || b.nome === this.briscola),
                `the turned-up card is "${v.cartabriscola}", was ${this.briscola}`);
            if (b && this.briscola === null) {
                this.briscola = b.nome;
                this.semeBriscola = b.seme;
            }
        } else {
            this.atteso(v.cartabriscola === '', 'the turned-up card stays after the last draw');
            // The last draw gives the turned-up card to that trick's taker.
            const tiene = v.user.includes(this.briscola);
            if (this.presaUltimaPescata === 'user' && this.prese === 17) {
                this.atteso(tiene, "the turned-up card did not reach the user, the last draw's taker");
            } else if (this.presaUltimaPescata === 'pc') {
                this.atteso(!tiene, "the turned-up card reached the user, not the last draw's taker");
            }
        }
        this.distinte(v, [...v.user.slice(0, user), led ? v.terrapc : null,
            this.prese <= 16 ? v.cartabriscola : null]);
        const segnati = v.shape.map((s, i) => (s ? i : -1)).filter((i) => i >= 0);
        this.atteso(segnati.length === 1 && segnati[0] < user &&
                (scelta === undefined || segnati[0] === scelta),
            `markers on places ${segnati.join(',')}, place ${scelta} chosen`);
        this.scelta = segnati.length === 1 ? v.user[segnati[0]] : null;
        this.atteso(v.status === status(this.pile.pc.length, this.pile.user.length),
            `the status bar reads "${v.status}"`);
    }

    // A box, with the table as it shows while the box is open.
    box(b, v) {
        const annuncio = b.pulsanti === 'ok' && b.icona === 'none' && b.titolo === testi.TitoloFinestra;
        if (b.testo === testi.DaraCarteUser || b.testo === testi.DaraCartePc) {
            this.atteso(annuncio, "the dealer's box is not a plain announcement");
            // Whoever does not deal leads the first trick.
            this.nuovaPartita(b.testo === testi.DaraCarteUser ? 'pc' : 'user');
        } else if (b.testo === testi.PrendeUtente || b.testo === testi.PrendePc) {
            this.presa(b, v, annuncio);
        } else if (b.titolo === testi.TitoloFinePartita) {
            this.punteggio(b, v);
        } else if (b.testo === testi.Saluto) {
            this.atteso(annuncio && !this.inGioco, 'the farewell box, or not after the score');
        } else if (b.testo === testi.ErroreVincitore) {
            this.atteso(false, 'a trick had no winner');
        }
    }

    presa(b, v, annuncio) {
        if (!this.atteso(this.inGioco && annuncio, "a taker's box outside a game, or not plain")) {
            return;
        }
        const user = carta(v.terrauser), pc = carta(v.terrapc);
        if (!this.atteso(user && pc, `the taker named with "${v.terrauser}" and "${v.terrapc}" on the table`)) {
            return;
        }
        this.atteso(this.scelta === null || user.nome === this.scelta,
            `the user played ${user.nome}, having marked ${this.scelta}`);
        this.atteso(this.terrapc === null || pc.nome === this.terrapc,
            `the computer's card turned from ${this.terrapc} to ${pc.nome} on the table`);
        const mano = Math.min(3, 20 - this.prese) - 1;
        this.atteso(this.daSinistra(v.user, "the user's hand") === mano &&
                this.daSinistra(v.pc, "the computer's hand") === mano,
            `hands of ${v.user} and ${v.pc} while the taker is named, ${mano} each due`);
        this.distinte(v, [...v.user, user.nome, pc.nome,
            this.prese <= 16 ? v.cartabriscola : null]);
        this.atteso(v.status === status(this.pile.pc.length, this.pile.user.length),
            `the status bar reads "${v.status}" before the cards are taken`);
        if (this.semeBriscola === 0 && carta(v.cartabriscola)) {
            this.briscola = v.cartabriscola;
            this.semeBriscola = carta(v.cartabriscola).seme;
        }
        const pcGuida = this.guida === 'pc';
        const seconda = secondaPrende(pcGuida ? pc : user, pcGuida ? user : pc, this.semeBriscola);
        const presa = seconda === pcGuida ? 'user' : 'pc';
        this.atteso(b.testo === (presa === 'user' ? testi.PrendeUtente : testi.PrendePc),
            `"${b.testo}" for ${user.nome} against ${pc.nome}, the ${this.guida} leading, ` +
            `trumps ${Semi[this.semeBriscola - 1]}`);
        // The taker as named, right or wrong, gets the cards and leads.
        this.guida = b.testo === testi.PrendeUtente ? 'user' : 'pc';
        this.pile[this.guida].push(user.nome, pc.nome);
        this.prese += 1;
        if (this.prese === 17) {
            this.presaUltimaPescata = this.guida;
        }
        this.scelta = null;
        this.terrapc = null;
    }

    punteggio(b, v) {
        if (!this.atteso(this.inGioco && this.prese === 20, `a score after ${this.prese} tricks`)) {
            return;
        }
        const pc = this.pile.pc.map(carta).reduce((s, c) => s + punti(c), 0);
        const user = this.pile.user.map(carta).reduce((s, c) => s + punti(c), 0);
        const a = testi.FineRiga;
        const verdetto = pc > user ? testi.VincePc : pc < user ? testi.VinceUtente : testi.Patta;
        this.atteso(b.testo === `${testi.Punteggio}${a}${a}${testi.PuntiPc}${pc}${a}` +
            `${testi.PuntiUser}${user}${a}${a}${verdetto}${a}${a}${testi.AltraPartita}`,
        `the score box reads ${JSON.stringify(b.testo)}, the piles hold ${pc} and ${user}`);
        this.atteso(pc + user === 120 && b.pulsanti === 'yesno' && b.icona === 'none',
            'the score is not of the whole deck, or not a question');
        this.atteso(v.status === status(this.pile.pc.length, this.pile.user.length),
            `the status bar reads "${v.status}" at the score`);
        this.atteso(!v.shape.some((s) => s) && !v.user.some((p) => p) && !v.pc.some((p) => p),
            'a card or a marker on an empty hand');
        this.partite += 1;
        this.inGioco = false;
    }
}

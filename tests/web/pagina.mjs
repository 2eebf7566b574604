// What the page's tests share: the desktop's record of a seeded game, the
// page served by its own server, Chromium driven by playwright-core, and the
// page read as a user and a screen reader meet it.
import { execFileSync, spawn } from 'node:child_process';
import path from 'node:path';
import readline from 'node:readline';
import { after, before } from 'node:test';

import { radice } from './testi.mjs';

// The desktop's record of `trivanta --seme N`, played as the page's tests play
// it: every box and every moment the user is about to play, with the table.
export function riferimento(seme, avversario = 'casuale', partite = 1, modo = 'prima') {
    const programma = process.env.TRIVANTA_RIFERIMENTO ??
        path.join(radice, 'build/ci/tests/web/web_riferimento');
    return JSON.parse(execFileSync(programma, [String(seme), avversario, String(partite), modo],
        { encoding: 'utf8' }));
}

// The page that scripts/web.sh --build-only built.
export const cartellaPagina = () => process.env.TRIVANTA_WEB_DIR ?? path.join(radice, 'build/web');

// Serves a folder with the page's own server, on a free port or the one
// given; `chiudi` stops it, as a network that went away.
export async function servi(cartella = cartellaPagina(), porta = 0) {
    const server = spawn(process.execPath, [path.join(radice, 'web/serve.mjs'), '--dir', cartella,
        '--port', String(porta)], { stdio: ['ignore', 'pipe', 'inherit'] });
    const righe = readline.createInterface({ input: server.stdout });
    const url = await new Promise((resolve, reject) => {
        righe.once('line', resolve);
        server.once('exit', (code) => reject(new Error(`serve.mjs ended with ${code}`)));
    });
    return {
        url: url.trim(),
        chiudi: () => new Promise((resolve) => {
            if (server.exitCode !== null || server.signalCode !== null) {
                resolve();
                return;
            }
            server.once('exit', resolve);
            server.kill();
        }),
    };
}

// Debian's Chromium, headless, in a new empty profile, with none of the
// background connections that a closed network refuses.
export async function avviaChromium() {
    const { chromium } = await import('playwright-core');
    return chromium.launch({
        executablePath: process.env.TRIVANTA_CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
}

// The page's server and one Chromium for all the tests of a file, started
// before the first and stopped after the last.
export function preparaBanco() {
    const banco = {};
    before(async () => {
        banco.server = await servi();
        banco.chromium = await avviaChromium();
    });
    after(async () => {
        await banco.chromium?.close();
        await banco.server?.chiudi();
    });
    return banco;
}

// Counts every box opened, keeps every text the live region was given (with
// the number of boxes opened before it) and counts the calls into the game
// still running, a box's wait included; set up before any of the page's code.
function sonda() {
    const sonda = { aperte: 0, annunci: [], inVolo: 0, agganciata: false };
    window.sonda = sonda;
    const showModal = HTMLDialogElement.prototype.showModal;
    HTMLDialogElement.prototype.showModal = function (...a) {
        sonda.aperte += 1;
        return showModal.apply(this, a);
    };
    // The page's factory of the compiled game, as emscripten defines it: the
    // module it makes counts its calls in flight.
    let crea;
    Object.defineProperty(window, 'CreaTrivanta', {
        configurable: true,
        set(f) {
            crea = f;
        },
        get() {
            return crea && ((opzioni) => crea(opzioni).then((m) => {
                const ccall = m.ccall;
                m.ccall = function (...a) {
                    // A test's stand-in for an exception out of the game.
                    if (sonda.guasto && a[0] === 'trivanta_evento') {
                        throw new Error(sonda.guasto);
                    }
                    sonda.inVolo += 1;
                    let r;
                    try {
                        r = ccall.apply(this, a);
                    } catch (e) {
                        sonda.inVolo -= 1;
                        throw e;
                    }
                    if (r && typeof r.then === 'function') {
                        return r.finally(() => { sonda.inVolo -= 1; });
                    }
                    sonda.inVolo -= 1;
                    return r;
                };
                sonda.agganciata = true;
                return m;
            }));
        },
    });
    document.addEventListener('DOMContentLoaded', () => {
        const annuncio = document.getElementById('annuncio');
        new MutationObserver(() => {
            if (annuncio.textContent !== '') {
                sonda.annunci.push({ testo: annuncio.textContent, aperte: sonda.aperte });
            }
        }).observe(annuncio, { childList: true, characterData: true, subtree: true });
    });
}

// A tab on the page, in Italian unless asked otherwise; what the console
// reports as an error and every exception that nothing caught go to `errori`.
// With `context`, the tab opens there, beside others.
export async function apri(browser, url, { context: gia, ...opzioni } = {}) {
    const context = gia ?? await browser.newContext({ locale: 'it-IT',
        viewport: { width: 1024, height: 700 }, ...opzioni });
    const page = await context.newPage();
    const errori = [];
    page.on('console', (m) => m.type() === 'error' && errori.push(`console: ${m.text()}`));
    page.on('pageerror', (e) => errori.push(`exception: ${e.message}`));
    await page.addInitScript(sonda);
    await page.goto(url);
    await attendiCaricata(page);
    return { context, page, errori };
}

export const attendiCaricata = (page) => page.waitForFunction(
    () => ['pronto', 'errore', 'fine'].includes(document.documentElement.dataset.stato));

// What the page shows: the box if one is open, the table as the referee
// reads it, and the state the page gives for its tests.
export function leggi(page) {
    return page.evaluate(() => {
        const $ = (id) => document.getElementById(id);
        const posto = (id) => ($(id).hidden ? null : $(id).dataset.immagine);
        const box = $('box');
        return {
            stato: document.documentElement.dataset.stato,
            aperte: window.sonda.aperte,
            // The game runs an event (a box may be on its way) or waits for one.
            occupata: window.sonda.inVolo > 0 || !window.sonda.agganciata,
            box: box.open ? {
                // The box shows the core's lines; they come joined the Windows way.
                testo: $('box-text').textContent.replace(/\r?\n/g, '\r\n'),
                titolo: $('box-title').textContent,
                pulsanti: $('box-yes').hidden ? 'ok' : 'yesno',
                icona: $('box-icon').dataset.icon,
            } : null,
            vista: {
                user: [0, 1, 2].map((k) => posto(`user${k}`)),
                pc: [0, 1, 2].map((k) => !$(`pc${k}`).hidden),
                terrauser: posto('terrauser'),
                terrapc: posto('terrapc'),
                cartabriscola: posto('cartabriscola'),
                shape: [0, 1, 2].map((k) => !$(`Shape2_${k}`).hidden),
                status: $('StatusBar1').textContent,
            },
            fine: !$('fine').hidden,
        };
    });
}

// Waits for the next thing the user meets after an action: a box opened
// after the `aperte` boxes seen so far, the end screen, a failure, or, with
// `pausa`, the game waiting for the user with no box open.
export async function attendi(page, aperte, { pausa = true } = {}) {
    const limite = Date.now() + 15000;
    for (;;) {
        const s = await leggi(page);
        if ((s.box && s.aperte > aperte) || s.fine || s.stato === 'errore' ||
            (pausa && !s.box && !s.occupata && s.stato === 'pronto')) {
            return s;
        }
        if (Date.now() > limite) {
            throw new Error(`the page stays at ${JSON.stringify(s)}`);
        }
        await page.waitForTimeout(5);
    }
}

// Plays on from the page's first box to the end screen, as the desktop's
// record was made: at each pause `scegli` chooses a card and returns its
// place, and `gioca` plays it; each box is answered by `rispondi`. The
// referee sees everything; returns every box and pause in order, as the
// record has them.
export async function giocaFinoAllaFine(page, arbitro, { scegli, gioca, rispondi }) {
    const eventi = [];
    let s = await attendi(page, 0, { pausa: false });
    for (let passi = 0; passi < 500 && !s.fine && s.stato !== 'errore'; passi++) {
        if (s.box) {
            eventi.push({ box: s.box, vista: s.vista });
            arbitro.box(s.box, s.vista);
            await rispondi(page, s.box);
            s = await attendi(page, s.aperte);
        } else {
            const scelta = await scegli(page, s);
            const dopo = await leggi(page);
            eventi.push({ pausa: dopo.vista, scelta });
            arbitro.pausa(dopo.vista, scelta);
            await gioca(page);
            s = await attendi(page, s.aperte, { pausa: false });
        }
    }
    return { eventi, ultimo: s };
}


// The page: a view over the game compiled to WebAssembly. It renders the
// table value that the core hands over after each event, forwards clicks and
// keys as the desktop window does, and shows the core's boxes as modal
// dialogs. Every word of the game comes from the core; the only sentences
// kept here are those for when the core cannot run at all, and the buttons'
// words, which on the desktop are the system's own.
'use strict';

(() => {
    const $ = (id) => document.getElementById(id);
    const radice = document.documentElement;

    // The window as the desktop lays it out: a 794 x 512 client area under an
    // 18-pixel menu bar.
    const LARGHEZZA = 794;
    const ALTEZZA = 530;

    // The core's events, numbered as the binding reads them.
    const Evento = { FormLoad: 0, UserClick: 1, Gioca: 2, Newpart: 3, Esci: 4, Info: 5, Donazione: 6 };

    const POSTI = ['user0', 'user1', 'user2', 'pc0', 'pc1', 'pc2', 'terrauser', 'terrapc', 'cartabriscola'];
    // What the live region reads first: the table, then the hands, then the counts.
    const ORDINE_ANNUNCI = ['terrauser', 'terrapc', 'cartabriscola', 'user0', 'user1', 'user2', 'pc0', 'pc1', 'pc2'];

    // When the core cannot run, no text of it can be shown: these say why.
    const FRASI = {
        senzaWasm: 'Questo browser non sa eseguire WebAssembly: per giocare a Trivanta serve un browser più recente.',
        scaricamento: 'Impossibile scaricare il gioco: senza rete la pagina si apre solo dopo una prima visita. Controlla la connessione e ricarica la pagina.',
        risposta: 'Il server non ha inviato il gioco (trivanta.wasm): ha risposto',
        tipo: 'Il server invia trivanta.wasm come «%» invece che come application/wasm: chi pubblica la pagina deve dare ai file .wasm questo tipo.',
        compilazione: 'Il gioco (trivanta.wasm) è danneggiato o questo browser non sa eseguirlo.',
        interno: 'Errore interno del gioco. Ricarica la pagina per ricominciare.',
    };

    // The words on the boxes' buttons, in the browser's language as the
    // desktop's are in the system's.
    const italiano = (navigator.language || '').toLowerCase().startsWith('it');
    const PAROLE = italiano
        ? { si: 'Sì', no: 'No', ok: 'OK', chiudi: 'Chiudi' }
        : { si: 'Yes', no: 'No', ok: 'OK', chiudi: 'Close' };

    let core = null; // the compiled game
    let testi = null; // its words
    let tavolo = null; // the table value last rendered
    let occupato = false; // an event is running in the core; a box may be open
    let annunciati = null; // what the live region last said of each place
    let scala = 1; // the stage's fit to the viewport
    let tastieraSullaMano = true; // the keyboard follows the chosen card
    let parcheggiata = false; // on "Gioca" only because the hand is empty
    let daTab = false; // the focus is moving because of Tab
    let fallito = false;

    // ------------------------------------------------------------ failures

    function errore(frase, dettaglio) {
        if (fallito) return;
        fallito = true;
        const e = $('errore');
        e.textContent = dettaglio ? `${frase} (${dettaglio})` : frase;
        e.hidden = false;
        $('finestra').hidden = true;
        $('fine').hidden = true;
        if ($('box').open) $('box').close();
        radice.dataset.stato = 'errore';
    }

    // An exception in the core ends the game where everyone sees it, and in
    // the console for whoever reports it.
    function erroreCore(causa) {
        const testo = causa instanceof Error ? causa.message : String(causa);
        console.error('trivanta:', causa);
        errore(FRASI.interno, testo);
    }

    // ------------------------------------------------------------ loading

    // The game's code, fetched and compiled as it arrives. A host that sends
    // it with another type is named, never worked around, so that whoever
    // publishes the page learns the one setting it needs.
    async function caricaWasm(imports) {
        let risposta;
        try {
            risposta = await fetch('trivanta.wasm', { credentials: 'same-origin' });
        } catch (e) {
            throw [FRASI.scaricamento, e.message];
        }
        if (!risposta.ok) {
            throw [`${FRASI.risposta} ${risposta.status} ${risposta.statusText}`.trim() + '.'];
        }
        const tipo = (risposta.headers.get('Content-Type') || '').split(';')[0].trim();
        if (tipo !== 'application/wasm') {
            throw [FRASI.tipo.replace('%', tipo || '?')];
        }
        try {
            return await WebAssembly.instantiateStreaming(risposta, imports);
        } catch (e) {
            throw [FRASI.compilazione, e.message];
        }
    }

    // Every value of `nome` in the page's address, as written: a "+" stays a
    // plus, as "--seme +5" would on the command line, where a form would
    // read a blank.
    function valoriDi(nome) {
        const decodifica = (t) => {
            try {
                return decodeURIComponent(t);
            } catch {
                return t;
            }
        };
        return location.search.slice(1).split('&').filter((p) => p !== '').map((p) => {
            const uguale = p.indexOf('=');
            return uguale < 0 ? [decodifica(p), ''] : [decodifica(p.slice(0, uguale)), decodifica(p.slice(uguale + 1))];
        }).filter(([chiave]) => chiave === nome).map(([, valore]) => valore);
    }

    async function avvia() {
        if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiateStreaming !== 'function') {
            errore(FRASI.senzaWasm);
            return;
        }
        if (typeof CreaTrivanta !== 'function') {
            errore(FRASI.scaricamento, 'trivanta.js');
            return;
        }
        try {
            core = await CreaTrivanta({
                instantiateWasm(imports, ricevi) {
                    caricaWasm(imports).then(
                        (r) => ricevi(r.instance, r.module),
                        (e) => (Array.isArray(e) ? errore(...e) : erroreCore(e)));
                    return {};
                },
                mostraBox,
                apriScheda,
                onAbort: erroreCore,
                print: (t) => console.log(t),
                printErr: (t) => console.warn(t),
            });
        } catch (e) {
            erroreCore(e);
            return;
        }
        testi = JSON.parse(core.ccall('trivanta_testi', 'string', [], []));
        preparaControlli();
        adatta();
        radice.dataset.stato = 'pronto';

        // The address's values, read as the desktop reads its command line.
        const avversari = valoriDi('avversario');
        const semi = valoriDi('seme');
        let valide;
        try {
            valide = await core.ccall('trivanta_opzioni', 'number', ['number', 'string', 'number', 'string'],
                [avversari.length, avversari[0] ?? '', semi.length, semi[0] ?? ''], { async: true });
        } catch (e) {
            erroreCore(e);
            return;
        }
        if (!valide) {
            // Nothing starts, as the desktop program ends before its window.
            $('fine-testo').textContent = $('box-text').textContent;
            $('fine-nuova').hidden = true;
            $('fine').hidden = false;
            radice.dataset.stato = 'fine';
            return;
        }
        document.title = core.ccall('trivanta_esperto', 'number', [], [])
            ? testi.TitoloFinestraEsperto : testi.TitoloFinestra;
        nuovaPartita();
    }

    // A fresh run of the program: the table as it is before the first deal,
    // then Form_Load.
    function nuovaPartita() {
        core.ccall('trivanta_nuova', null, [], []);
        annunciati = null;
        tastieraSullaMano = true;
        $('fine').hidden = true;
        $('finestra').hidden = false;
        radice.dataset.stato = 'pronto';
        aggiorna(leggiTavolo());
        evento(Evento.FormLoad);
    }

    // ------------------------------------------------------------ events

    function leggiTavolo() {
        return JSON.parse(core.ccall('trivanta_tavolo', 'string', [], []));
    }

    // One event to its end, boxes included; the window takes no other input
    // meanwhile, as on the desktop.
    async function evento(e, indice = 0) {
        if (occupato || !core || fallito) return;
        occupato = true;
        try {
            await core.ccall('trivanta_evento', null, ['number', 'number'], [e, indice], { async: true });
        } catch (err) {
            erroreCore(err);
            return;
        } finally {
            occupato = false;
        }
        const t = leggiTavolo();
        aggiorna(t);
        if (t.chiusura) {
            fine();
        } else {
            tastieraAllaScelta();
        }
    }

    function scegliSeMostrata(indice) {
        if (tavolo && indice >= 0 && indice < 3 && tavolo[`user${indice}`].visibile) {
            evento(Evento.UserClick, indice);
        }
    }

    // Where the desktop program would end: the table goes, one line and one
    // button stay; an installed app's window closes, a tab cannot.
    function fine() {
        chiudiMenu(false);
        $('finestra').hidden = true;
        $('fine-nuova').hidden = false;
        $('fine').hidden = false;
        $('fine-nuova').focus();
        radice.dataset.stato = 'fine';
        if (matchMedia('(display-mode: standalone), (display-mode: minimal-ui), (display-mode: window-controls-overlay)').matches) {
            window.close();
        }
    }

    // ------------------------------------------------------------ drawing

    // One device pixel per picture pixel: the GIF; two: the large picture;
    // any other ratio: the large picture, smoothly scaled by the browser.
    function sorgente(immagine) {
        if (!immagine) return null;
        const rapporto = window.devicePixelRatio * scala;
        return Math.abs(rapporto - 1) < 1e-3 ? `cards/${immagine}.gif` : `cards/${immagine}@2x.png`;
    }

    function disegnaImmagine(el, immagine) {
        const img = el.firstElementChild;
        const src = sorgente(immagine);
        if (src === null) {
            img.removeAttribute('src');
        } else if (img.getAttribute('src') !== src) {
            img.setAttribute('src', src);
        }
    }

    // Renders a table value; true when the live region has news.
    function aggiorna(t) {
        if (!t.user0) return false;
        tavolo = t;
        for (const id of POSTI) {
            const p = t[id];
            const el = $(id);
            el.hidden = !p.visibile;
            el.dataset.immagine = p.immagine;
            disegnaImmagine(el, p.immagine);
            el.setAttribute('aria-label', p.nome);
            if (p.descrizione) {
                el.setAttribute('aria-description', p.descrizione);
            } else {
                el.removeAttribute('aria-description');
            }
        }
        t.Shape2.forEach((mostrato, k) => { $(`Shape2_${k}`).hidden = !mostrato; });
        const barra = $('StatusBar1');
        barra.textContent = t.StatusBar1;
        barra.setAttribute('aria-label', t.nomeStatusBar1);
        return annuncia(t);
    }

    // Each change of a place or of the counts, said once: the place's name
    // and what it is. The first table of a run is what the screen starts
    // with, not a change.
    function annuncia(t) {
        const ora = {};
        const frasi = [];
        for (const id of ORDINE_ANNUNCI) {
            const p = t[id];
            ora[id] = p.visibile ? p.nome : '';
            if (annunciati && ora[id] && ora[id] !== annunciati[id]) {
                frasi.push(p.descrizione ? `${p.descrizione}: ${p.nome}` : p.nome);
            }
        }
        ora.StatusBar1 = t.nomeStatusBar1;
        if (annunciati && ora.StatusBar1 !== annunciati.StatusBar1 && t.StatusBar1) {
            frasi.push(t.nomeStatusBar1);
        }
        annunciati = ora;
        if (frasi.length === 0) return false;
        $('annuncio').textContent = frasi.join('. ');
        return true;
    }

    // The stage keeps the window's proportions and fills what it can of the
    // viewport; its corner sits on a whole device pixel, so that at a ratio
    // of 1 or 2 every picture pixel lands on device pixels.
    function adatta() {
        const w = document.documentElement.clientWidth;
        const h = document.documentElement.clientHeight;
        scala = Math.min(w / LARGHEZZA, h / ALTEZZA);
        const dpr = window.devicePixelRatio;
        const x = Math.round(((w - LARGHEZZA * scala) / 2) * dpr) / dpr;
        const y = Math.round(((h - ALTEZZA * scala) / 2) * dpr) / dpr;
        $('finestra').style.transform = `translate(${x}px, ${y}px) scale(${scala})`;
        // The boxes grow with the window, and never shrink below their own
        // size, where their text would be too small to read.
        $('box').style.transform = scala > 1 ? `scale(${scala})` : '';
        if (tavolo) {
            for (const id of POSTI) disegnaImmagine($(id), tavolo[id].immagine);
        }
    }

    function seguiRapporto() {
        // A change of the device pixel ratio (zoom, another screen) comes
        // as a change of this query.
        matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`)
            .addEventListener('change', () => { adatta(); seguiRapporto(); }, { once: true });
    }

    // ------------------------------------------------------------ keyboard focus

    // The keyboard stays on the chosen card as the hand is sorted again,
    // shrinks and is refilled; with no card in the hand it waits on "Gioca"
    // and comes back with the next deal.
    function tastieraAllaScelta() {
        if (!tastieraSullaMano || !tavolo || $('box').open || menuAperto) return;
        let meta = $('giocatautente');
        for (let k = 0; k < 3; k++) {
            if (tavolo.Shape2[k] && tavolo[`user${k}`].visibile) {
                meta = $(`user${k}`);
                break;
            }
        }
        parcheggiata = meta.id === 'giocatautente';
        if (document.activeElement !== meta) meta.focus({ preventScroll: true });
    }

    function sullaMano(el) {
        return el && /^user[0-2]$/.test(el.id);
    }

    // ------------------------------------------------------------ boxes

    async function mostraBox(tavoloJson, testo, titolo, siNo, icona) {
        const t = JSON.parse(tavoloJson);
        // The table behind the box is current, and what changed on it is
        // said before the box hides the rest of the page from screen readers.
        if (t.user0 && aggiorna(t)) {
            await new Promise((r) => setTimeout(r, 50));
        }
        return apriBox(testo, titolo, siNo, icona);
    }

    function apriBox(testo, titolo, siNo, icona) {
        return new Promise((risolvi) => {
            const box = $('box');
            chiudiMenu(false);
            $('box-title').textContent = titolo;
            $('box-text').textContent = testo.replace(/\r\n/g, '\n');
            $('box-icon').dataset.icon = ['none', 'information', 'exclamation'][icona] || 'none';
            $('box-ok').hidden = !!siNo;
            $('box-yes').hidden = !siNo;
            $('box-no').hidden = !siNo;
            const prima = document.activeElement;
            const ascolto = new AbortController();
            const rifiuto = siNo ? 2 : 0; // Escape and the close button
            let risposto = false;
            const rispondi = (risposta) => {
                if (risposto) return;
                risposto = true;
                ascolto.abort();
                if (box.open) box.close();
                if (prima && prima !== document.body && prima.isConnected && !prima.closest('[hidden]')) {
                    prima.focus({ preventScroll: true });
                }
                risolvi(risposta);
            };
            const su = (el, tipo, f) => el.addEventListener(tipo, f, { signal: ascolto.signal });
            su($('box-ok'), 'click', () => rispondi(0));
            su($('box-yes'), 'click', () => rispondi(1));
            su($('box-no'), 'click', () => rispondi(2));
            su($('box-close'), 'click', () => rispondi(rifiuto));
            su(box, 'cancel', (e) => { e.preventDefault(); rispondi(rifiuto); });
            // Closed some other way (the browser's own Escape handling). A
            // close event of the box before this one may still arrive.
            su(box, 'close', () => { if (!box.open) rispondi(rifiuto); });
            box.showModal();
            (siNo ? $('box-yes') : $('box-ok')).focus();
        });
    }

    // ------------------------------------------------------------ donation

    // A new tab with the address, which cannot reach back to this page;
    // false when the browser blocked it. "noopener" itself would hide the
    // tab from us, blocked or not, so the link back is cut by hand before
    // the donation page loads.
    function apriScheda(indirizzo) {
        const scheda = window.open(indirizzo, '_blank');
        if (!scheda) return false;
        try {
            scheda.opener = null;
        } catch {
            // Already cut.
        }
        return true;
    }

    // ------------------------------------------------------------ menus

    let menuAperto = null;
    let primaDelMenu = null;

    // "&Nuova partita": the letter after "&" underlined, and the key that
    // chooses the entry in its open menu.
    function etichetta(el, testo) {
        const i = testo.indexOf('&');
        el.textContent = '';
        if (i < 0 || i + 1 >= testo.length) {
            el.textContent = testo;
            return;
        }
        const u = document.createElement('u');
        u.textContent = testo[i + 1];
        el.append(testo.slice(0, i), u, testo.slice(i + 2));
        el.dataset.tasto = testo[i + 1].toLowerCase();
    }

    function voci(id) {
        return [...$(`menu-${id}`).querySelectorAll('[role="menuitem"]')];
    }

    function apriMenu(id, primaVoce) {
        if (menuAperto !== id) chiudiMenu(false);
        if (!menuAperto) {
            const attivo = document.activeElement;
            primaDelMenu = attivo && !attivo.closest('#menubar') ? attivo : primaDelMenu;
        }
        menuAperto = id;
        $(`menu-${id}`).hidden = false;
        $(id).setAttribute('aria-expanded', 'true');
        (primaVoce ? voci(id)[0] : $(id)).focus({ preventScroll: true });
    }

    function chiudiMenu(ripristina) {
        if (!menuAperto) return;
        $(`menu-${menuAperto}`).hidden = true;
        $(menuAperto).setAttribute('aria-expanded', 'false');
        menuAperto = null;
        if (ripristina && primaDelMenu && primaDelMenu.isConnected) {
            primaDelMenu.focus({ preventScroll: true });
        }
    }

    function tastiMenu(e) {
        const tutte = voci(menuAperto);
        const i = tutte.indexOf(document.activeElement);
        const altro = menuAperto === 'file' ? 'helpami' : 'file';
        if (e.key === 'Escape' || e.key === 'Tab') {
            chiudiMenu(true);
        } else if (e.key === 'ArrowDown') {
            tutte[(i + 1) % tutte.length].focus();
        } else if (e.key === 'ArrowUp') {
            tutte[(i - 1 + tutte.length) % tutte.length].focus();
        } else if (e.key === 'ArrowLeft' || e.key === 'ArrowRight') {
            apriMenu(altro, true);
        } else if ((e.key === 'Enter' || e.key === ' ') && i < 0) {
            tutte[0].focus();
        } else {
            const voce = tutte.find((v) => v.dataset.tasto === e.key.toLowerCase());
            if (!voce) return e.key === 'Enter' || e.key === ' ' ? undefined : e.preventDefault();
            voce.click();
        }
        e.preventDefault();
    }

    // ------------------------------------------------------------ wiring

    function preparaControlli() {
        etichetta($('file'), testi.MenuFile);
        etichetta($('newpart'), testi.VoceNuovaPartita);
        etichetta($('esci'), testi.VoceEsci);
        etichetta($('helpami'), testi.MenuAiuto);
        etichetta($('Info'), testi.VoceInformazioni);
        etichetta($('cmdDonazione'), testi.VoceDonazione);
        etichetta($('fine-nuova'), testi.VoceNuovaPartita);
        $('Label1').textContent = testi.EtichettaUtente;
        $('Label2').textContent = testi.EtichettaPc;
        $('Label4').textContent = testi.EtichettaBriscola;
        $('giocatautente').textContent = testi.Gioca;
        $('Command1').textContent = testi.InvitoDonazione;
        $('Command2').textContent = testi.InvitoDonazione;
        $('box-ok').textContent = PAROLE.ok;
        $('box-yes').textContent = PAROLE.si;
        $('box-no').textContent = PAROLE.no;
        $('box-close').setAttribute('aria-label', PAROLE.chiudi);
        $('fine-testo').textContent = testi.ProgrammaFinito;

        for (let k = 0; k < 3; k++) {
            const carta = $(`user${k}`);
            // A click chooses the card without taking the keyboard from a
            // button, as on the desktop; Tab reaching it chooses it too.
            carta.addEventListener('mousedown', (e) => e.preventDefault());
            // Only a place that shows a card, as on the desktop, where a
            // hidden place gets no click (a script's click may reach it here).
            carta.addEventListener('click', () => scegliSeMostrata(k));
            carta.addEventListener('focus', () => { if (daTab) evento(Evento.UserClick, k); });
        }
        $('giocatautente').addEventListener('click', () => evento(Evento.Gioca));
        $('Command1').addEventListener('click', () => evento(Evento.Donazione));
        $('Command2').addEventListener('click', () => evento(Evento.Donazione));
        $('fine-nuova').addEventListener('click', nuovaPartita);

        const scelte = { newpart: Evento.Newpart, esci: Evento.Esci, Info: Evento.Info, cmdDonazione: Evento.Donazione };
        for (const [id, ev] of Object.entries(scelte)) {
            $(id).addEventListener('click', () => {
                chiudiMenu(true);
                evento(ev);
            });
        }
        for (const id of ['file', 'helpami']) {
            $(id).addEventListener('click', () => (menuAperto === id ? chiudiMenu(true) : apriMenu(id, false)));
            $(id).addEventListener('mouseenter', () => { if (menuAperto && menuAperto !== id) apriMenu(id, false); });
        }
        document.addEventListener('pointerdown', (e) => {
            if (menuAperto && !e.target.closest('#menubar')) chiudiMenu(false);
        });

        // Who has the keyboard: the hand, or a button the user went to.
        document.addEventListener('focusin', (e) => {
            const el = e.target;
            if (sullaMano(el)) {
                tastieraSullaMano = true;
            } else if (el.closest('#main') && !(parcheggiata && el.id === 'giocatautente')) {
                tastieraSullaMano = false;
            }
            if (el.id !== 'giocatautente') parcheggiata = false;
        });

        document.addEventListener('keydown', tasti);
        window.addEventListener('resize', adatta);
        seguiRapporto();
    }

    function tasti(e) {
        if (fallito || $('box').open) return;
        if (menuAperto) {
            tastiMenu(e);
            return;
        }
        // The menus' keys: Alt+Shift and the underlined letter, since the
        // browser keeps Alt and a letter for its own menus.
        if (e.altKey && e.shiftKey && !e.ctrlKey && !e.metaKey && !$('finestra').hidden) {
            const menu = e.key === '?' || e.code === 'Slash' ? 'helpami'
                : e.key.toLowerCase() === $('file').dataset.tasto || e.code === 'KeyF' ? 'file' : null;
            if (menu) {
                e.preventDefault();
                apriMenu(menu, true);
            }
            return;
        }
        if (e.key === 'Tab') {
            daTab = true;
            setTimeout(() => { daTab = false; }, 0);
            return;
        }
        if (e.altKey || e.ctrlKey || e.metaKey || $('finestra').hidden || !tavolo) return;
        const attivo = document.activeElement;
        switch (e.key) {
        case 'ArrowLeft':
        case 'ArrowRight':
            e.preventDefault();
            scegliSeMostrata(tavolo.currentindex + (e.key === 'ArrowLeft' ? -1 : 1));
            break;
        case '1':
        case '2':
        case '3':
            scegliSeMostrata(Number(e.key) - 1);
            break;
        case 'Enter':
        case ' ':
            // A focused button takes them as its own click; anywhere else
            // they play the chosen card.
            if (attivo && attivo.tagName === 'BUTTON') return;
            e.preventDefault();
            evento(Evento.Gioca);
            break;
        default:
            break;
        }
    }

    // For whoever measures the page: the expert's decisions so far, in
    // milliseconds, and the bytes of the game's memory.
    window.trivanta = {
        tempiEsperto: () => (core ? JSON.parse(core.ccall('trivanta_tempi', 'string', [], [])) : []),
        memoriaWasm: () => (core ? core.HEAP8.buffer.byteLength : 0),
    };

    window.addEventListener('error', (e) => erroreCore(e.error || e.message));
    window.addEventListener('unhandledrejection', (e) => erroreCore(e.reason));

    // Offline play and installation; a browser without them plays online.
    if ('serviceWorker' in navigator && window.isSecureContext) {
        const aggiornamento = !!navigator.serviceWorker.controller;
        navigator.serviceWorker.addEventListener('controllerchange', () => {
            // A new version took over: its files, not a mix with the old ones.
            if (aggiornamento) location.reload();
        });
        window.addEventListener('load', () => {
            navigator.serviceWorker.register('sw.js').catch((e) => console.warn('trivanta: service worker', e));
        });
    }

    avvia();
})();

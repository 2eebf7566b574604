// The program's texts, read from the one header that holds them all, so that
// the tests expect what the desktop says without a copy of their own.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const radice = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

function leggi() {
    const versione = /project\(Trivanta VERSION ([0-9.]+)/.exec(
        fs.readFileSync(path.join(radice, 'CMakeLists.txt'), 'utf8'))[1];
    const sorgente = fs.readFileSync(path.join(radice, 'game/Testi.h'), 'utf8');
    const letterale = (pezzi) => [...pezzi.matchAll(/"((?:[^"\\]|\\.)*)"|TRIVANTA_VERSIONE/g)]
        .map((m) => (m[0] === 'TRIVANTA_VERSIONE' ? versione : JSON.parse(`"${m[1]}"`)))
        .join('');
    const testi = {};
    for (const m of sorgente.matchAll(
        /inline constexpr const char\* (\w+)(\[\])? =\s*([^;]*);/g)) {
        testi[m[1]] = m[2]
            ? [...m[3].matchAll(/"((?:[^"\\]|\\.)*)"/g)].map((x) => JSON.parse(`"${x[1]}"`))
            : letterale(m[3]);
    }
    return testi;
}

export const testi = leggi();

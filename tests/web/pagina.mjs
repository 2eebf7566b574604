// What the page's tests share: the desktop's record of a seeded game, the
// page served by its own server, Chromium driven by playwright-core, and the
// page read as a user and a screen reader meet it.
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';

import { radice } from './testi.mjs';

// The desktop's record of `trivanta --seme N`, played as the page's tests play
// it: every box and every moment the user is about to play, with the table.
export function riferimento(seme, avversario = 'casuale', partite = 1, modo = 'prima') {
    const programma = process.env.TRIVANTA_RIFERIMENTO ??
        path.join(radice, 'build/ci/tests/web/web_riferimento');
    return JSON.parse(execFileSync(programma, [String(seme), avversario, String(partite), modo],
        { encoding: 'utf8' }));
}

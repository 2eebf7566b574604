// Serves the page's folder on this machine only, as any static host would,
// with the one type a host must know: .wasm as application/wasm. Prints the
// address once it listens.
//
// usage: node serve.mjs [--dir DIR] [--port N]    (default: build/web, 8080;
//                                                  port 0: any free port)
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';

const args = { dir: 'build/web', port: '8080' };
for (let i = 2; i < process.argv.length; i += 2) {
    const name = process.argv[i].replace(/^--/, '');
    if (!(name in args) || process.argv[i + 1] === undefined) {
        console.error('usage: node serve.mjs [--dir DIR] [--port N]');
        process.exit(2);
    }
    args[name] = process.argv[i + 1];
}
const root = path.resolve(args.dir);
const port = Number(args.port);
if (!Number.isInteger(port) || port < 0 || port > 65535) {
    console.error(`serve.mjs: not a port: ${args.port}`);
    process.exit(2);
}

const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json',
    '.json': 'application/json',
    '.gif': 'image/gif',
    '.png': 'image/png',
    '.svg': 'image/svg+xml',
    '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8',
};

const server = http.createServer((req, res) => {
    if (req.method !== 'GET' && req.method !== 'HEAD') {
        res.writeHead(405, { Allow: 'GET, HEAD' }).end();
        return;
    }
    let name;
    try {
        name = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    } catch {
        res.writeHead(400).end();
        return;
    }
    if (name.endsWith('/')) name += 'index.html';
    // Nothing outside the folder, whatever the address says.
    const file = path.join(root, path.normalize(name));
    if (file !== root && !file.startsWith(root + path.sep)) {
        res.writeHead(403).end();
        return;
    }
    fs.stat(file, (err, stat) => {
        if (err || !stat.isFile()) {
            res.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('404\n');
            return;
        }
        res.writeHead(200, {
            'Content-Type': TYPES[path.extname(file).toLowerCase()] || 'application/octet-stream',
            'Content-Length': stat.size,
            // Always asked again: a rebuilt page is never hidden behind the
            // browser's cache (offline play is the service worker's).
            'Cache-Control': 'no-cache',
        });
        if (req.method === 'HEAD') {
            res.end();
            return;
        }
        fs.createReadStream(file).pipe(res);
    });
});

server.on('error', (err) => {
    console.error(`serve.mjs: ${err.message}`);
    process.exit(1);
});
server.listen(port, '127.0.0.1', () => {
    console.log(`http://127.0.0.1:${server.address().port}/`);
});

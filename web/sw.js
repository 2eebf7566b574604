// Keeps the page's files so that, after one visit, the game starts without a
// network and installs as an app. The build writes the cache's name (the
// project's version and the files' fingerprint) and the list of files.
const CACHE = '@CACHE@';
const FILES = '@FILES@';

self.addEventListener('install', (event) => {
    // All of a version or nothing: addAll fails whole if one file is missing.
    // The files come from the network, never from the browser's HTTP cache,
    // so nothing of the old version slips into the new cache.
    event.waitUntil(
        caches.open(CACHE)
            .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: 'reload' }))))
            .then(() => self.skipWaiting()),
    );
});

self.addEventListener('activate', (event) => {
    // A new version replaces the old one at once: its cache goes, and the
    // open pages pass to this worker (and reload themselves).
    event.waitUntil(
        caches.keys()
            .then((keys) => Promise.all(
                keys.filter((k) => k.startsWith('trivanta-') && k !== CACHE).map((k) => caches.delete(k)),
            ))
            .then(() => self.clients.claim()),
    );
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) {
        return;
    }
    // The page under any address of its own (?seme=5, index.html) is the
    // one page; every other file is looked up as it is.
    const url = new URL(request.url);
    const scope = new URL('./', self.location).pathname;
    const page = request.mode === 'navigate' &&
        (url.pathname === scope || url.pathname === `${scope}index.html`);
    event.respondWith(
        caches.open(CACHE).then((cache) =>
            cache.match(page ? './' : request, { ignoreSearch: page })
                .then((kept) => kept || fetch(request))),
    );
});

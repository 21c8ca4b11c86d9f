// The page's service worker: it keeps every file of the page in the browser's cache when it is
// installed, so that the game opens and plays with no network after the first visit. Each build
// names its cache after a hash of its files (written in by the build), so a new build installs
// beside the old one, takes over once all its files are in, and drops the old cache. Cache first:
// a player on a slow train never waits for the network to start a game.
'use strict';
const VERSION = '@SINKAWAY_SITE_VERSION@';
const FILES = [@SINKAWAY_SITE_FILES@];
const CACHE = 'sinkaway-' + VERSION;

self.addEventListener('install', (event) => {
  // Checked with the host rather than taken from the browser's own HTTP cache, so that a new
  // build never keeps a file of the old one, yet an unchanged file is not downloaded twice.
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(['./', ...FILES].map((f) => new Request(f, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('sinkaway-') && k !== CACHE)
                                    .map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

// The leaderboard's answers are the network's alone, never the cache's: a /health answered from
// here would tell the game a server is there when the player is offline, a board or a verdict
// would be an old one, and a request that is left alone goes from the page to the server with
// nothing in between to hold it up. So they are not even looked up.
function forTheBoards(request) {
  const url = new URL(request.url);
  return url.origin === self.location.origin &&
         (url.pathname === '/health' || url.pathname.startsWith('/api/'));
}

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || forTheBoards(event.request))
    return;
  // The address may carry a run's options (?args=...): the page is the same file.
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((hit) => hit ?? fetch(event.request)));
});

// The page's service worker: keeps the page's files so that it opens and runs with no network
// after the first visit (a classroom tablet offline), and lets the page be installed.
//
// At installation it stores every file of the site in a cache named after the site's version.
// The build (cmake/site_worker.cmake) writes the site's files into FILES and the version, a
// digest of them, into SITE_VERSION, so any change to the site makes a new worker, which stores
// the new files and, once it is in charge, deletes the old caches. Requests are answered from
// the cache and go to the network only for what the cache lacks, so one visit always gets one
// version of every file. The address's parameters (?program=...) are ignored when a file is
// looked up.
'use strict';

const SITE_VERSION = 'unversioned';
const FILES = ['./'];
const CACHE = 'zorvan-site-' + SITE_VERSION;

// The files come from the server, past the browser's HTTP cache ('reload'): a server that lets
// browsers keep files for a while would otherwise hand the new version the old one's files, and
// the page would be a mix of two versions until the cache let them go.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith('zorvan-site-') && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((stored) => stored || fetch(event.request)));
});

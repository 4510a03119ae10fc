// Shared by the web tests: a static file server for the built page on the loopback address, and
// Debian's Chromium or Firefox, headless, driven through puppeteer-core (which downloads no
// browser).
import { createServer } from 'node:http';
import { readFile, mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
                '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json' };

// Serves `folder` on 127.0.0.1 at a free port; resolves to { url, close, serve }. serve(folder)
// serves another folder from then on. With `cacheSeconds` every file but the service worker is
// sent with "Cache-Control: max-age=<cacheSeconds>", as a server tuned for speed sends it.
export async function serveFolder(folder, { cacheSeconds = 0 } = {}) {
  let served = folder;
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    const file = join(served, path.endsWith('/') ? path + 'index.html' : path);
    try {
      const body = await readFile(file);
      const headers = { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream' };
      if (cacheSeconds > 0 && !file.endsWith('service-worker.js')) headers['Cache-Control'] = `max-age=${cacheSeconds}`;
      response.writeHead(200, headers);
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  // Closing also drops the connections the browser keeps open for reuse.
  const close = () => new Promise((resolve) => { server.close(resolve); server.closeAllConnections(); });
  return { url: `http://127.0.0.1:${server.address().port}/`, close, serve: (next) => { served = next; } };
}

// The browser the tests drive: ZORVAN_BROWSER, "chromium" (the default) or "firefox".
export const browserName = process.env.ZORVAN_BROWSER || 'chromium';

// Starts the browser headless with a fresh profile: Debian's Chromium (CHROMIUM, or
// /usr/bin/chromium) through the DevTools protocol, or Debian's Firefox ESR (FIREFOX, or
// /usr/bin/firefox-esr) through WebDriver BiDi.
export async function launchBrowser() {
  if (browserName === 'firefox') {
    return puppeteer.launch({
      browser: 'firefox',
      executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
      headless: true,
      // No updates, telemetry or first-run pages: the machine may have no network.
      extraPrefsFirefox: { 'app.update.enabled': false, 'browser.shell.checkDefaultBrowser': false,
                           'datareporting.policy.dataSubmissionEnabled': false,
                           'toolkit.telemetry.enabled': false,
                           // Touch events, for the tests on a touchscreen.
                           'dom.w3c_touch_events.enabled': 1 },
    });
  }
  const profile = await mkdtemp(join(tmpdir(), 'zorvan-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${profile}`],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => { await close(); await rm(profile, { recursive: true, force: true }); };
  return browser;
}

// Shared by the web tests: a static file server for the built page on the loopback address, and
// Debian's Chromium, headless, driven through puppeteer-core (which downloads no browser).
import { createServer } from 'node:http';
import { readFile, mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
                '.svg': 'image/svg+xml', '.webmanifest': 'application/manifest+json' };

// Serves `folder` on 127.0.0.1 at a free port; resolves to { url, close }.
export async function serveFolder(folder) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)).replace(/^(\.\.[/\\])+/, '');
    const file = join(folder, path.endsWith('/') ? path + 'index.html' : path);
    try {
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  // Closing also drops the connections the browser keeps open for reuse.
  const close = () => new Promise((resolve) => { server.close(resolve); server.closeAllConnections(); });
  return { url: `http://127.0.0.1:${server.address().port}/`, close };
}

// Starts headless Chromium (CHROMIUM, or Debian's /usr/bin/chromium) with a fresh profile.
export async function launchBrowser() {
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
